#include "formulario/subsystems/import/Hash.h"

#include <QCryptographicHash>
#include <QFile>

QString CalculaHashArchivo(const QString& sRuta)
{
    QFile archivo(sRuta);
    if (!archivo.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&archivo))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}
