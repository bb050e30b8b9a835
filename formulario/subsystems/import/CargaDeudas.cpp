#include "formulario/subsystems/import/CargaDeudas.h"

#include "formulario/core/DefinicionTablas.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/modGen02.h"
#include "formulario/subsystems/import/ArchivoEstado.h"
#include "formulario/core/ControlValor.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/textfile.h"
#include "platform/vbnumbers.h"

#include <QDateTime>
#include <QFile>
#include <QWidget>
#include <cmath>
#include <utility>

using namespace platform::mb;

namespace {

constexpr int kLargoMaximoCampo = 254; // positions within a record are bytes

const QString kFechaNula = QStringLiteral("01/01/1901");
const QString kMontoCero = QStringLiteral("0.00");
const QString kCero = QStringLiteral("0");

// A number of exactly `largo` digits at `inicio`; -1 otherwise.
int Digitos(QStringView texto, qsizetype inicio, qsizetype largo)
{
    if (inicio + largo > texto.size())
        return -1;
    int valor = 0;
    for (qsizetype i = inicio; i < inicio + largo; ++i) {
        if (texto[i] < u'0' || texto[i] > u'9')
            return -1;
        valor = valor * 10 + (texto[i].unicode() - u'0');
    }
    return valor;
}

// Dates and times are read digit by digit and kept as calendar fields (no
// time zone): the library's parsers and zone lookups cost more than a row.
QDateTime SinZona(const QDate& fecha, const QTime& hora)
{
    return QDateTime(fecha, hora, Qt::UTC);
}

// "dd/mm/yyyy"; a text that is no date is a type mismatch.
QDate Fecha(QStringView sFecha)
{
    const QDate fecha(Digitos(sFecha, 6, 4), Digitos(sFecha, 3, 2), Digitos(sFecha, 0, 2));
    if (sFecha.size() != 10 || sFecha[2] != u'/' || sFecha[5] != u'/' || !fecha.isValid())
        platform::throwTypeMismatch();
    return fecha;
}

// "dd/mm/yyyy hh:mm:ss".
QDateTime FechaHora(QStringView sFechaHora)
{
    const QDate fecha = Fecha(sFechaHora.left(10));
    const QStringView sHora = sFechaHora.mid(10);
    const QTime hora(Digitos(sHora, 1, 2), Digitos(sHora, 4, 2), Digitos(sHora, 7, 2));
    if (sHora.size() != 9 || sHora[0] != u' ' || sHora[3] != u':' || sHora[6] != u':' || !hora.isValid())
        platform::throwTypeMismatch();
    return SinZona(fecha, hora);
}

// A whole number from 0 to 255, rounded as the old runtime rounds.
int ValorByte(const QString& sTexto)
{
    bool bNumero = false;
    const double dValor = sTexto.toDouble(&bNumero);
    if (!bNumero || std::isnan(dValor))
        platform::throwTypeMismatch();
    const double dRedondeado = platform::bankersRound(dValor);
    if (dRedondeado < 0 || dRedondeado > 255)
        platform::throwOverflow();
    return int(dRedondeado);
}

// A field for a numeric column: plain digits as their number, anything else
// as text for the column to take or refuse.
QVariant Numero(const QString& sCampo)
{
    bool bDigitos = !sCampo.isEmpty() && sCampo.size() <= 9;
    for (const QChar c : sCampo)
        bDigitos = bDigitos && c >= u'0' && c <= u'9';
    return bDigitos ? QVariant(sCampo.toInt()) : QVariant(sCampo);
}

// Columns of F0913DEUDAS in table order (DefinicionTablas.h names them).
enum Columna {
    TipDoc, DocId, Periodo, Formulario, Semana, IndTipDeu, PerDoc, CodTri, NumDoc, CodFor, CodTipDoc, CodTriAso,
    IndVerDeu, FecDesDeu, NumCuo, FecUltCap, NumPro, MtoTributoS, MtoIntCapS, MtoIntS, MtoActS, IndAcog, IndConf,
    MtoTributoC, MtoIntCapC, MtoIntC, MtoActC, CodForDj, NumOrdDj, IndValor, IndDeudaDj, IndImpugnado, CNumero,
    kColumnas
};

// The column of F0913GARANTIA that a guarantee value goes to.
int LargoColumnaGarantia(const char* sColumna)
{
    for (const platform::ColumnDef& columna : DefinicionDe(QStringLiteral("F0913GARANTIA"))->columnas) {
        if (columna.name.compare(QLatin1String(sColumna), Qt::CaseInsensitive) == 0)
            return columna.size;
    }
    return 0;
}

} // namespace

// One statement record split at its "|". A field read from it counts as
// overflowing when a field up to the one after it is longer than a byte
// position can tell, as the old reader found while looking for that field.
class CamposRegistro {
public:
    explicit CamposRegistro(const QString& sRegistro)
        : registro_(sRegistro)
    {
        qsizetype inicio = 0;
        for (qsizetype fin; (fin = registro_.indexOf(u'|', inicio)) >= 0; inicio = fin + 1) {
            if (fin - inicio > kLargoMaximoCampo && primerLargo_ < 0)
                primerLargo_ = campos_.size();
            campos_.append(QStringView(registro_).mid(inicio, fin - inicio));
        }
    }

    QString operator()(int nCampo) const
    {
        if (primerLargo_ >= 0 && primerLargo_ <= qsizetype(nCampo) + 1)
            platform::throwOverflow();
        return nCampo >= 0 && nCampo < campos_.size() ? SinBlancos(campos_[nCampo]) : QString();
    }

private:
    QString registro_;
    QList<QStringView> campos_;
    qsizetype primerLargo_ = -1;
};

namespace {

constexpr int kUltimoCampo = 28;

// The codes and amounts of a record hold no control character: one that does
// fails the record as a value of the wrong type.
void RechazaControles(const CamposRegistro& campos)
{
    for (int nCampo = 0; nCampo <= kUltimoCampo; ++nCampo) {
        if (platform::hasControlCharacter(campos(nCampo)))
            platform::throwTypeMismatch();
    }
}

} // namespace

CargaDeudas::CargaDeudas(const QString& sRuc, int nEntidadImp, const QString& sTitulo)
    : sRuc_(sRuc),
      nEntidad_(nEntidadImp),
      sTitulo_(sTitulo),
      dHoy_(QDate::currentDate())
{
}

CargaDeudas::~CargaDeudas() = default;

QString CargaDeudas::RetornaCampo(const QString& sRegistro, const QString& sCampo)
{
    return CamposRegistro(sRegistro)(sCampo.trimmed().toInt());
}

std::optional<QList<QByteArray>> CargaDeudas::LeeEstado(const QString& sNomarch)
{
    const int nArchivo = AbreArchivo(sNomarch, modoArchivo::Entrada, 0, true);
    if (nArchivo == 0)
        return std::nullopt;
    // Read at once and split: every line end costs the same.
    QFile* archivo = ArchivoAbierto(nArchivo);
    const std::optional<QList<QByteArray>> lineas =
        archivo->size() > kLargoMaximoEstado ? std::nullopt : LineasEstado(archivo->readAll());
    CierraArchivo(nArchivo);
    if (!lineas)
        platform::messageBox(QStringLiteral("El archivo a importar no es válido"), Critical, sTitulo_);
    return lineas;
}

bool CargaDeudas::CargaLineas(const QList<QByteArray>& lineas, QWidget& oForm)
{
    avisos_.clear();
    oForm.setCursor(Qt::WaitCursor);
    bool bDetenido = false;
    for (const QByteArray& linea : lineas) {
        if (!CargaTablaValor(platform::fromCp1252(linea))) {
            bDetenido = true;
            break;
        }
    }
    oForm.unsetCursor();
    rsDeudas_.reset();
    if (!bDetenido && !lineas.isEmpty() && !GarantiaCabe())
        bDetenido = true;
    if (bDetenido) {
        MensajeCarga();
        return false;
    }
    if (lineas.isEmpty()) {
        Avisa(QStringLiteral("El archivo personalizado esta en blanco."), sTitulo_);
        return false;
    }
    return true;
}

void CargaDeudas::MuestraAvisos()
{
    const QList<std::function<void()>> avisos = std::exchange(avisos_, {});
    for (const auto& aviso : avisos)
        aviso();
}

void CargaDeudas::Avisa(const QString& sMensaje, const QString& sTitulo)
{
    avisos_.append([sMensaje, sTitulo] { platform::messageBox(sMensaje, Critical, sTitulo); });
}

void CargaDeudas::MensajeCarga()
{
    Avisa(valores.bArchivoDeHoy ? QStringLiteral("Se han encontrado problemas al momento de cargar la información a "
                                                 "las tablas. Reintente de nuevo la operación")
                                : QStringLiteral("El archivo personalizado no es de hoy día, por favor descargue y "
                                                 "procese nuevamente el archivo"),
          sTitulo_);
}

void CargaDeudas::MensajeTecnico(int nError)
{
    Avisa(QStringLiteral("Se han presentado problemas técnicos al momento de importar su información. Favor de "
                         "comunicarse con ALCOR informando lo sucedido e indicando el número de error técnico."),
          QStringLiteral("Error tecnico : %1").arg(nError));
}

// Opens F0913DEUDAS to add rows (none is read) unless the declaration
// already exists; the loader keeps it open from the first record to the last.
// Inside the transaction a failed read fails the record, as a failed write does.
bool CargaDeudas::AbreDeudas()
{
    rsDeudas_ = oBaseDatos->openRecordset(QStringLiteral("SELECT * FROM F0913DEUDAS WHERE 1 = 0"), {},
                                          platform::RecordsetType::Dynaset);
    if (ExisteDeclaracion(sRuc_)) {
        avisos_.append(AvisaDeclaracionExistente);
        rsDeudas_.reset();
        return false;
    }
    const QList<platform::ColumnDef>& columnas = DefinicionDe(QStringLiteral("F0913DEUDAS"))->columnas;
    static_assert(kColumnas == std::tuple_size_v<decltype(camposDeuda_)>);
    Q_ASSERT(columnas.size() == kColumnas);
    for (int i = 0; i < kColumnas; ++i)
        camposDeuda_[i] = &rsDeudas_->field(columnas[i].name);
    return true;
}

// The guarantee values that are stored (the last record's) must fit the
// columns of F0913GARANTIA; one that does not fails as a record does.
bool CargaDeudas::GarantiaCabe()
{
    const std::pair<const QString&, const char*> guardados[] = {
        {valores.sIndGarantiaImp, "ind_garantia"},
        {valores.sIndPersonaImp, "ind_persona"},
        {valores.sMtoDeudaImp, "mto_deuda"},
        {valores.sMtoDeudaGarantiaImp, "mto_deuda_garantia"},
    };
    for (const auto& [sValor, sColumna] : guardados) {
        if (sValor.size() > LargoColumnaGarantia(sColumna)) {
            MensajeTecnico(platform::dberr::FieldTooSmall);
            return false;
        }
    }
    return true;
}

bool CargaDeudas::CargaTablaValor(const QString& sCadenaNoEncryp)
{
    valores.bArchivoDeHoy = true;
    try {
        const CamposRegistro campos(sCadenaNoEncryp);
        RechazaControles(campos);
        const QString sFechaHora = campos(15);
        const QDate dFecha = Fecha(sFechaHora.left(10));
        if (dFecha.daysTo(dHoy_) >= 1) {
            valores.bArchivoDeHoy = false;
            return false;
        }
        sPeriodo = dFecha.toString(QStringLiteral("yyyyMM"));
        valores.sFechaActualizaImp = dFecha.toString(QStringLiteral("dd/MM/yyyy"));

        if (!rsDeudas_ && !AbreDeudas())
            return false;

        valores.sIndGarantiaImp = campos(24);
        valores.sIndPersonaImp = campos(25);
        valores.sMtoDeudaImp = campos(26);
        valores.sMtoDeudaGarantiaImp = campos(27);

        rsDeudas_->addNew();
        LlenaFila(campos, sFechaHora);
        nBcolibrad = ValorByte(campos(16));
        sBuenContrib = campos(22).left(1).trimmed();
        camposDeuda_[CNumero]->setValue(FormateaCampo(*rsDeudas_, 7));
        rsDeudas_->update();
        return true;
    } catch (const platform::DbError& err) {
        MensajeTecnico(err.number());
        rsDeudas_.reset();
        return false;
    }
}

// Every column of the new row but the control value.
void CargaDeudas::LlenaFila(const CamposRegistro& campos, const QString& sFechaHora)
{
    const auto columna = [this](Columna c) -> platform::Field& { return *camposDeuda_[c]; };
    columna(TipDoc).setValue(6);
    columna(DocId).setValue(sRuc_);
    columna(Periodo).setValue(sPeriodo);
    columna(Formulario).setValue(QStringLiteral("0913"));
    columna(Semana).setValue(nEntidad_);
    columna(FecDesDeu).setValue(FechaHora(sFechaHora.left(10) + sFechaHora.right(9)));
    columna(NumPro).setValue(campos(0));
    columna(MtoTributoS).setValue(campos(7));
    columna(MtoActS).setValue(campos(10));
    if (campos(13).isEmpty()) {
        // The summary of the statement.
        columna(IndTipDeu).setValue(QStringLiteral("06"));
        columna(PerDoc).setValue(QStringLiteral("200508"));
        for (Columna c : {CodTri, NumDoc, CodFor, CodTipDoc, CodTriAso, IndVerDeu})
            columna(c).setValue(kCero);
        columna(NumCuo).setValue(0);
        columna(FecUltCap).setValue(SinZona(Fecha(kFechaNula), QTime(0, 0)));
        columna(MtoIntCapS).setValue(campos(8));
        columna(MtoIntS).setValue(campos(9));
        for (Columna c : {MtoTributoC, MtoIntCapC, MtoIntC, MtoActC})
            columna(c).setValue(kMontoCero);
    } else {
        const QString sCodFor = campos(2);
        columna(NumDoc).setValue(campos(1));
        columna(CodFor).setValue(sCodFor.size() == 3 ? kCero + sCodFor : sCodFor);
        columna(NumCuo).setValue(Numero(campos(3)));
        columna(PerDoc).setValue(campos(4));
        columna(CodTri).setValue(campos(5));
        const QString sUltCap = campos(6);
        columna(FecUltCap).setValue(
            SinZona(Fecha(sUltCap.right(2) + u'/' + sUltCap.mid(5, 2) + u'/' + sUltCap.left(4)), QTime(0, 0)));
        columna(MtoIntS).setValue(campos(8));
        columna(MtoIntCapS).setValue(campos(9));
        columna(CodTipDoc).setValue(campos(11));
        columna(CodTriAso).setValue(campos(12));
        columna(IndTipDeu).setValue(campos(13));
        columna(IndVerDeu).setValue(campos(14));
        columna(IndDeudaDj).setValue(Numero(campos(21)));
        columna(CodForDj).setValue(campos(23));
    }
    const QString sIndValor = campos(28);
    columna(IndValor).setValue(Numero(sIndValor.isEmpty() ? kCero : sIndValor));
    columna(IndImpugnado).setValue(campos(17));
}
