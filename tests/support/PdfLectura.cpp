#include "tests/support/PdfLectura.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTextDocumentFragment>

const PdfPalabra* PdfHoja::busca(const QString& texto) const
{
    for (const PdfPalabra& palabra : palabras) {
        if (palabra.texto == texto)
            return &palabra;
    }
    return nullptr;
}

QList<PdfHoja> LeePdf(const QString& sRuta)
{
    QProcess proceso;
    proceso.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), sRuta, QStringLiteral("-")});
    if (!proceso.waitForFinished(60000) || proceso.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(proceso.readAllStandardOutput());
    static const QRegularExpression hoja(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression palabra(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<PdfHoja> hojas;
    for (const QString& parte : html.split(QStringLiteral("</page>"))) {
        const auto inicio = hoja.match(parte);
        if (!inicio.hasMatch())
            continue;
        PdfHoja actual;
        actual.tamano = QSizeF(inicio.captured(1).toDouble(), inicio.captured(2).toDouble());
        for (auto it = palabra.globalMatch(parte); it.hasNext();) {
            const auto encontrada = it.next();
            actual.palabras.append({QTextDocumentFragment::fromHtml(encontrada.captured(3)).toPlainText(),
                                    encontrada.captured(1).toDouble(), encontrada.captured(2).toDouble()});
        }
        hojas.append(actual);
    }
    return hojas;
}
