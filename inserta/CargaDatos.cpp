#include "inserta/CargaDatos.h"

#include "inserta/Instalacion.h"
#include "platform/textfile.h"
#include "platform/vbnumbers.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace inserta {

namespace {

const QString kFormulario = QStringLiteral("0913");
const QString kTituloFalla = QStringLiteral("Error de Ejecución");

struct FilaParam {
    const char* sNumero;
    const char* sArgumento;
    const char* sFuncion;
    const char* sCorrel;
};

// UIT by year, version record, host setting, table registry, validity dates.
constexpr FilaParam kParametrosFijos[] = {
    {"404", "20060101", "00003400.00", "013"},
    {"404", "20100101", "00003600.00", "000"},
    {"404", "20110101", "00003600.00", "000"},
    {"404", "20120101", "00003650.00", "000"},
    {"404", "20130101", "00003700.00", "000"},
    {"404", "20140101", "00003800.00", "000"},
    {"404", "20150101", "00003850.00", "000"},
    {"404", "20160101", "00003950.00", "000"},
    {"856", "0913", "1.2 05/01/2016     790", "000"},
    {"992", "0913", "2", ""},
    {"996", "497", "F0913DEUDAS    R 1000   9", ""},
    {"996", "498", "F0913MOTIVO    R 1000   8", ""},
    {"996", "499", "F0913SUSTEN    R 1000   9", ""},
    {"996", "500", "HF0913DEUDAS   R 1000  10", ""},
    {"996", "501", "HF0913MOTIVO   R 1000   9", ""},
    {"996", "502", "HF0913SUSTEN   R 1000  10", ""},
    {"996", "701", "F0913GARANTIA  R 1000   5", ""},
    {"880", "0913", "1 20070601 20991231 20070301", "000"},
};

struct Reporte {
    const char* sCodigo;
    const char* sTitulo;
};

constexpr Reporte kReportes[] = {
    {"F36005", "Reporte del formulario - 0913"},
    {"F36006", "Reporte de Anexos - 0913"},
    {"F36007", "Reporte de formulario y anexos - 0913"},
    {"F36008", "Resumen de envio de información - 0913"},
};

constexpr int kCamposEnvio = 13;
constexpr int kCamposParametro = 4;
constexpr int kPrimerCampoByte = 5;   // fields 5 to 7 are whole numbers 0 to 255
constexpr int kUltimoCampoByte = 7;

// Writes the items in order, stopping at the first that fails.
template <class Lista, class Grabar>
bool TodosGrabados(const Lista& lista, Grabar grabar)
{
    return std::all_of(std::begin(lista), std::end(lista), grabar);
}

// Each row on its own: a failing one shows its box and the next is written.
void GrabaParametrosFijos()
{
    for (const FilaParam& fila : kParametrosFijos)
        GrabaParam(QString::fromUtf8(fila.sNumero), QString::fromUtf8(fila.sArgumento),
                   QString::fromUtf8(fila.sFuncion), QString::fromUtf8(fila.sCorrel));
}

bool GrabaReportes()
{
    return EjecutaTransaccion([] {
        return TodosGrabados(kReportes, [](const Reporte& reporte) {
            const QString sCodigo = QString::fromUtf8(reporte.sCodigo);
            return EjecutaSentencia(QStringLiteral("DELETE FROM reportes WHERE codrep = ?"), {sCodigo})
                && EjecutaSentencia(QStringLiteral("INSERT INTO reportes VALUES (?, ?, 1)"),
                                    {sCodigo, QString::fromUtf8(reporte.sTitulo)});
        });
    });
}

bool GrabaEnvio(const DefinicionEnvio& definicion)
{
    const QVariantList valores = QVariantList{definicion.sTablaD, definicion.sTablaExt} + definicion.numeros;
    if (ExisteEnvio(definicion.sTablaO)) {
        return EjecutaSentencia(QStringLiteral("UPDATE envio_t SET tabla_d = ?, tabla_ext = ?, indice = ?, "
                                               "obliga = ?, c_tip_doc_d = ?, c_doc_id_d = ?, c_Formulario = ?, "
                                               "c_periodo = ?, c_estado = ?, c_envio = ?, c_semana = ? "
                                               "WHERE formulario = ? AND tabla_o = ?"),
                                valores + QVariantList{kFormulario, definicion.sTablaO});
    }
    return EjecutaSentencia(QStringLiteral("INSERT INTO envio_t (formulario, tabla_o, tabla_d, tabla_ext, indice, "
                                           "obliga, c_tip_doc_d, c_doc_id_d, c_Formulario, c_periodo, c_estado, "
                                           "c_envio, c_semana) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            QVariantList{kFormulario, definicion.sTablaO} + valores);
}

// Replaces the form's export definitions with those of "env913.txt". The
// whole file is read and checked first: a missing or faulty file keeps the
// definitions already registered.
void CargaEnvios()
{
    const QString sArchivo = sRutaInstalacion + QStringLiteral("tmp/env913.txt");
    const QString sConserva = QStringLiteral("\nSe conservan las definiciones de envío registradas.");
    if (!VerificaArchivo(sArchivo)) {
        AvisaFalla(QStringLiteral("No se encontró el archivo %1").arg(sArchivo) + sConserva, kTituloFalla);
        return;
    }
    QList<DefinicionEnvio> definiciones;
    QString sError;
    if (!LeeDefinicionesEnvio(sArchivo, &definiciones, &sError)) {
        AvisaFalla(QStringLiteral("El archivo %1 no es válido: %2.").arg(sArchivo, sError) + sConserva, kTituloFalla);
        return;
    }
    EjecutaTransaccion([&] {
        return EjecutaSentencia(QStringLiteral("DELETE FROM envio_t WHERE formulario = ?"), {kFormulario})
            && TodosGrabados(definiciones, GrabaEnvio);
    });
}

// Magnitude up to which a number of the files is taken (whole numbers of
// fifteen digits at most stay exact).
constexpr double kMayorNumero = 1e15;

// A number as the file writes it (blanks around it allowed).
bool LeeNumero(const QString& sCampo, double* dValor)
{
    bool bValido = false;
    *dValor = sCampo.trimmed().toDouble(&bValido);
    return bValido && std::isfinite(*dValor);
}

bool FueraDeRango(double dValor)
{
    return std::fabs(dValor) >= kMayorNumero;
}

// Whole numbers are stored as such, others as they are.
QVariant ValorNumerico(double dValor)
{
    if (dValor == std::trunc(dValor))
        return QVariant(qint64(dValor));
    return QVariant(dValor);
}

// Fields 5 to 13 of one line of "env913.txt" (field numbers from 1).
bool LeeNumerosEnvio(const QStringList& campos, int nLinea, QVariantList* numeros, QString* sError)
{
    for (int nCampo = kPrimerCampoByte; nCampo <= kCamposEnvio; ++nCampo) {
        double dValor = 0;
        if (!LeeNumero(campos[nCampo - 1], &dValor)) {
            *sError = QStringLiteral("el campo %1 de la línea %2 no es un número").arg(nCampo).arg(nLinea);
            return false;
        }
        if (FueraDeRango(dValor)) {
            *sError = QStringLiteral("el campo %1 de la línea %2 está fuera de rango").arg(nCampo).arg(nLinea);
            return false;
        }
        if (nCampo <= kUltimoCampoByte) {
            dValor = platform::bankersRound(dValor);
            if (dValor < 0 || dValor > 255) {
                *sError = QStringLiteral("el campo %1 de la línea %2 no es un número de 0 a 255")
                              .arg(nCampo)
                              .arg(nLinea);
                return false;
            }
        }
        numeros->append(ValorNumerico(dValor));
    }
    return true;
}

} // namespace

void CargaDatos()
{
    GrabaParametrosFijos();
    GrabaReportes();
    CargaEnvios();
    CargaParametros();
}

bool GrabaParam(const QString& sNumero, const QString& sArgumento, const QString& sFuncion,
                const QString& sCorrel)
{
    if (ExisteParam(sNumero, sArgumento)) {
        return EjecutaSentencia(
            QStringLiteral("UPDATE Param SET Funcion = ?, Correl_Param = ? WHERE Numero = ? AND Argumento = ?"),
            {sFuncion, sCorrel, sNumero, sArgumento});
    }
    return EjecutaSentencia(
        QStringLiteral("INSERT INTO Param (Numero, Argumento, Funcion, Correl_Param) VALUES (?, ?, ?, ?)"),
        {sNumero, sArgumento, sFuncion, sCorrel});
}

bool ExisteParam(const QString& sNumero, const QString& sArgumento)
{
    return !oBaseInstalacion
                ->openRecordset(QStringLiteral("SELECT * FROM Param WHERE Numero = ? AND Argumento = ?"),
                                {sNumero, sArgumento})
                ->eof();
}

bool ExisteEnvio(const QString& sTablaO)
{
    return !oBaseInstalacion
                ->openRecordset(QStringLiteral("SELECT * FROM envio_t WHERE formulario = ? AND tabla_o = ?"),
                                {kFormulario, sTablaO})
                ->eof();
}

void CargaParametros()
{
    const QString sEnTmp = sRutaInstalacion + QStringLiteral("tmp/Par913.txt");
    const QString sEnRaiz = sRutaInstalacion + QStringLiteral("Par913.txt");
    const QString sArchivo = VerificaArchivo(sEnTmp) ? sEnTmp : sEnRaiz;
    if (!VerificaArchivo(sArchivo)) {
        AvisaFalla(QStringLiteral("No se encontró el archivo de parámetros %1 ni %2").arg(sEnTmp, sEnRaiz),
                   kTituloFalla);
        return;
    }
    QList<LineaParametro> parametros;
    QString sError;
    if (!LeeParametros(sArchivo, &parametros, &sError)) {
        AvisaFalla(QStringLiteral("El archivo %1 no es válido: %2.\nNo se cargaron sus parámetros.")
                       .arg(sArchivo, sError),
                   kTituloFalla);
        return;
    }
    EjecutaTransaccion([&] {
        return TodosGrabados(parametros, [](const LineaParametro& linea) {
            return GrabaParam(linea.sNumero, linea.sArgumento, linea.sFuncion, linea.sCorrel);
        });
    });
}

bool LeeArchivoCampos(const QString& sArchivo, int nCampos, QList<QStringList>* lineas, QString* sError)
{
    QStringList texto;
    if (!platform::readTextLines(sArchivo, &texto)) {
        *sError = QStringLiteral("no se puede leer");
        return false;
    }
    int nLinea = 0;
    for (const QString& sLinea : texto) {
        ++nLinea;
        if (sLinea.trimmed().isEmpty())
            break;
        QStringList campos;
        qsizetype nPosicion = 0;
        for (int nCampo = 0; nCampo < nCampos; ++nCampo) {
            const qsizetype nSeparador = sLinea.indexOf(QLatin1Char('|'), nPosicion);
            if (nSeparador < 0) {
                *sError = QStringLiteral("la línea %1 no tiene sus %2 campos terminados en \"|\"")
                              .arg(nLinea)
                              .arg(nCampos);
                return false;
            }
            campos.append(sLinea.mid(nPosicion, nSeparador - nPosicion));
            nPosicion = nSeparador + 1;
        }
        lineas->append(campos);
    }
    return true;
}

bool LeeDefinicionesEnvio(const QString& sArchivo, QList<DefinicionEnvio>* definiciones, QString* sError)
{
    QList<QStringList> lineas;
    if (!LeeArchivoCampos(sArchivo, kCamposEnvio, &lineas, sError))
        return false;
    if (lineas.isEmpty()) {
        // Taken as it stands it would leave the form without export definitions.
        *sError = QStringLiteral("no contiene definiciones de envío");
        return false;
    }
    for (int i = 0; i < lineas.size(); ++i) {
        const QStringList& campos = lineas[i];
        DefinicionEnvio definicion;
        definicion.sTablaO = campos[1].trimmed();
        definicion.sTablaD = campos[2].isEmpty() ? QStringLiteral(" ") : campos[2];
        definicion.sTablaExt = campos[3].trimmed();
        if (!LeeNumerosEnvio(campos, i + 1, &definicion.numeros, sError))
            return false;
        definiciones->append(definicion);
    }
    return true;
}

bool LeeParametros(const QString& sArchivo, QList<LineaParametro>* parametros, QString* sError)
{
    QList<QStringList> lineas;
    if (!LeeArchivoCampos(sArchivo, kCamposParametro, &lineas, sError))
        return false;
    for (int i = 0; i < lineas.size(); ++i) {
        const QStringList& campos = lineas[i];
        const std::optional<QString> sCorrel = FormatoCorrelativo(campos[3]);
        if (!sCorrel) {
            *sError = QStringLiteral("el campo 4 de la línea %1 está fuera de rango").arg(i + 1);
            return false;
        }
        parametros->append({campos[0], campos[1], campos[2], *sCorrel});
    }
    return true;
}

std::optional<QString> FormatoCorrelativo(const QString& sCampo)
{
    double dValor = 0;
    if (!LeeNumero(sCampo, &dValor))
        return sCampo;
    if (FueraDeRango(dValor))
        return std::nullopt;
    const qint64 nValor = std::llround(dValor);
    const QString sDigitos = QString::number(std::llabs(nValor)).rightJustified(3, QLatin1Char('0'));
    return nValor < 0 ? QStringLiteral("-") + sDigitos : sDigitos;
}

} // namespace inserta
