#include "formulario/core/Fileproc.h"

#include "platform/textfile.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>

using namespace platform::mb;

namespace {

class Archivos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        script.onUnexpected = [](const platform::ShownMessage& box) {
            ADD_FAILURE() << "Unexpected box " << box.text.toStdString();
        };
        FijaCarpetaPrograma(dir.path());
    }
    void TearDown() override
    {
        for (int n = 1; n <= 255; ++n)
            CierraArchivo(n);
        FijaCarpetaPrograma(QString());
    }

    QString Ruta(const QString& sNombre) const { return dir.filePath(sNombre); }
    QByteArray Contenido(const QString& sNombre) const
    {
        QFile archivo(Ruta(sNombre));
        return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
    }
    void Escribe(const QString& sNombre, const QByteArray& bytes) const
    {
        QFile archivo(Ruta(sNombre));
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(bytes);
    }
    // The records of the error log: four lines each, ended by CR LF.
    QList<QStringList> Registros() const
    {
        QStringList lineas = platform::fromCp1252(Contenido(QStringLiteral("errorlog.txt"))).split(QStringLiteral("\r\n"));
        EXPECT_EQ(lineas.takeLast(), QString());
        QList<QStringList> registros;
        for (qsizetype i = 0; i + 4 <= lineas.size(); i += 4)
            registros.append(lineas.mid(i, 4));
        EXPECT_EQ(lineas.size() % 4, 0);
        return registros;
    }

    QTemporaryDir dir;
    platform::DialogScript script;
};

const QString kTituloArchivo = QStringLiteral("Error de Archivo");

} // namespace

// --- File messages -----------------------------------------------------------

TEST_F(Archivos, EveryFileErrorHasItsMessageWithRetryAndCancel)
{
    const QList<QPair<int, QString>> mensajes = {
        {52, QStringLiteral("El nombre de archivo es inválido.")},
        {53, QStringLiteral("El archivo no se encuentra.")},
        {54, QStringLiteral("No es posible abrir el archivo para el tipo de acceso.")},
        {55, QStringLiteral("El archivo ya está abierto.")},
        {57, QStringLiteral("El diskette está lleno.")},
        {62, QStringLiteral("Este archivo no tiene un marcador standard de fin-de-archivo,o fué hecho un intento de "
                            "leer después de la marca de fin-de-archivo.")},
        {64, QStringLiteral("El nombre de archivo es inválido.")},
        {68, QStringLiteral("El dispositivo no está disponible.")},
        {71, QStringLiteral("La disketera no está lista.")},
        {76, QStringLiteral("El path no existe.")},
    };
    for (const auto& [nError, sTexto] : mensajes) {
        script.answer(Retry);
        EXPECT_EQ(MensajeErrorArchivo(nError), 0) << nError;
        script.answer(Cancel);
        EXPECT_EQ(MensajeErrorArchivo(nError), 2) << nError;
        ASSERT_EQ(script.shown().size(), 2);
        for (const platform::ShownMessage& box : script.shown()) {
            EXPECT_EQ(box.text, sTexto) << nError;
            EXPECT_EQ(box.title, kTituloArchivo);
            EXPECT_EQ(box.style, RetryCancel | Exclamation);
        }
        script.clear();
    }
}

TEST_F(Archivos, OtherErrorNumbersShowNothing)
{
    EXPECT_EQ(MensajeErrorArchivo(61), 3);
    EXPECT_EQ(MensajeErrorArchivo(58), 3);
    EXPECT_EQ(MensajeErrorArchivo(75), 3);
    EXPECT_TRUE(script.shown().isEmpty());
}

// --- AbreArchivo ---------------------------------------------------------------

TEST_F(Archivos, AbreArchivoRefusesBadNamesUntilCancel)
{
    for (const char* nombre : {"a b.txt", "a;b.txt", "a<b", "a=b", "a>b", "a?b", "a[b", "a]b", "a*b"}) {
        script.answer(Retry);
        script.answer(Cancel);
        EXPECT_EQ(AbreArchivo(Ruta(QString::fromLatin1(nombre)), modoArchivo::Salida, 0, false), 0) << nombre;
        ASSERT_EQ(script.shown().size(), 2) << nombre;
        EXPECT_EQ(script.lastText(), QStringLiteral("El nombre de archivo es inválido."));
        EXPECT_FALSE(QFile::exists(Ruta(QString::fromLatin1(nombre))));
        script.clear();
    }
    const int n = AbreArchivo(Ruta(QStringLiteral("C:.archivo.v1.txt")), modoArchivo::Salida, 0, false);
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Archivos, AbreArchivoMissingFileForBinaryReadingMustExist)
{
    const QString sRuta = Ruta(QStringLiteral("falta.bin"));
    script.answer(Ok);
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::BinarioLectura, 0, true), 0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existe archivo: ") + sRuta);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("ERROR!"));
    EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
    EXPECT_EQ(FreeFile(), 1);
}

TEST_F(Archivos, AbreArchivoMissingFileForInputOffersRetry)
{
    const QString sRuta = Ruta(QStringLiteral("extraido.txt"));
    script.answer(Cancel);
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Entrada, 0, true), 0);
    EXPECT_EQ(script.lastText(), QStringLiteral("El archivo no se encuentra."));

    // The user puts the file in place and retries.
    script.clear();
    script.onUnexpected = [this](const platform::ShownMessage&) { Escribe(QStringLiteral("extraido.txt"), "uno\r\n"); };
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Entrada, 0, true), 1);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().last().answer, Retry);
}

TEST_F(Archivos, AbreArchivoMissingFolderIsAPathError)
{
    script.answer(Cancel);
    EXPECT_EQ(AbreArchivo(Ruta(QStringLiteral("no/hay/a.txt")), modoArchivo::Agregar, 0, true), 0);
    EXPECT_EQ(script.lastText(), QStringLiteral("El path no existe."));
}

TEST_F(Archivos, AbreArchivoCreatesForAppendAndIgnoresOtherModes)
{
    const QString sRuta = Ruta(QStringLiteral("nuevo.txt"));
    EXPECT_EQ(AbreArchivo(sRuta, 0, 0, false), 0);
    EXPECT_EQ(AbreArchivo(sRuta, 7, 0, false), 0);
    EXPECT_FALSE(QFile::exists(sRuta));
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Agregar, 0, true), 1);
    EXPECT_TRUE(QFile::exists(sRuta));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Archivos, AbreArchivoOnAFolderFailsWithoutMessage)
{
    EXPECT_EQ(AbreArchivo(dir.path(), modoArchivo::Entrada, 0, false), 0);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Archivos, AbreArchivoTwiceForWritingIsAlreadyOpen)
{
    const QString sRuta = Ruta(QStringLiteral("uno.txt"));
    ASSERT_EQ(AbreArchivo(sRuta, modoArchivo::Salida, 0, false), 1);
    script.answer(Cancel);
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Agregar, 0, false), 0);
    EXPECT_EQ(script.lastText(), QStringLiteral("El archivo ya está abierto."));
    CierraArchivo(1);
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Entrada, 0, false), 1);
    EXPECT_EQ(AbreArchivo(sRuta, modoArchivo::Entrada, 0, false), 2);
}

// --- Numbered files --------------------------------------------------------------

TEST_F(Archivos, NumbersAreTheLowestFree)
{
    EXPECT_EQ(FreeFile(), 1);
    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("a")), modoArchivo::Salida), 0);
    ASSERT_EQ(AbreNumero(2, Ruta(QStringLiteral("b")), modoArchivo::Salida), 0);
    EXPECT_EQ(FreeFile(), 3);
    CierraArchivo(1);
    EXPECT_EQ(FreeFile(), 1);
    EXPECT_EQ(AbreNumero(2, Ruta(QStringLiteral("c")), modoArchivo::Salida), errorArchivo::YaAbierto);
    EXPECT_EQ(AbreNumero(0, Ruta(QStringLiteral("c")), modoArchivo::Salida), errorArchivo::NumeroInvalido);
    EXPECT_EQ(AbreNumero(256, Ruta(QStringLiteral("c")), modoArchivo::Salida), errorArchivo::NumeroInvalido);
    EXPECT_EQ(AbreNumero(3, QString(), modoArchivo::Salida), errorArchivo::NumeroInvalido);
    EXPECT_EQ(AbreNumero(3, Ruta(QStringLiteral("c")), 9), errorArchivo::ModoInvalido);
    for (int n = 1; n <= 255; ++n)
        AbreNumero(n, Ruta(QStringLiteral("f%1").arg(n)), modoArchivo::Salida);
    EXPECT_EQ(FreeFile(), 0);
}

TEST_F(Archivos, LinesAreWindows1252WithCrLf)
{
    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("t.txt")), modoArchivo::Salida), 0);
    EXPECT_TRUE(EscribeLinea(1, QStringLiteral("Año €")));
    EXPECT_TRUE(EscribeLinea(1, QString()));
    CierraArchivo(1);
    EXPECT_EQ(Contenido(QStringLiteral("t.txt")), QByteArray("A\xF1o \x80\r\n\r\n"));

    Escribe(QStringLiteral("l.txt"), "uno\r\nD\xED" "a\ndos\rtres\r\rfin");
    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("l.txt")), modoArchivo::Entrada), 0);
    QString sLinea;
    QStringList lineas;
    while (!FinArchivo(1) && LeeLinea(1, sLinea))
        lineas.append(sLinea);
    // A carriage return alone ends a line too: nothing after it is lost.
    EXPECT_EQ(lineas, (QStringList{QStringLiteral("uno"), QStringLiteral("Día"), QStringLiteral("dos"),
                                   QStringLiteral("tres"), QString(), QStringLiteral("fin")}));
    EXPECT_FALSE(LeeLinea(1, sLinea));
    EXPECT_FALSE(EscribeLinea(1, QStringLiteral("x")));
    EXPECT_FALSE(LeeLinea(9, sLinea));
    EXPECT_TRUE(FinArchivo(9));
}

TEST_F(Archivos, OutputReplacesAppendAddsBinaryWriteKeeps)
{
    Escribe(QStringLiteral("m.txt"), "viejo\r\n");
    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("m.txt")), modoArchivo::Agregar), 0);
    EscribeLinea(1, QStringLiteral("nuevo"));
    CierraArchivo(1);
    EXPECT_EQ(Contenido(QStringLiteral("m.txt")), QByteArray("viejo\r\nnuevo\r\n"));

    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("m.txt")), modoArchivo::BinarioEscritura), 0);
    ArchivoAbierto(1)->write("VI");
    CierraArchivo(1);
    EXPECT_EQ(Contenido(QStringLiteral("m.txt")), QByteArray("VIejo\r\nnuevo\r\n"));

    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("m.txt")), modoArchivo::Salida), 0);
    CierraArchivo(1);
    EXPECT_EQ(Contenido(QStringLiteral("m.txt")), QByteArray());
}

TEST_F(Archivos, RandomAndBinaryAccessThroughTheOpenFile)
{
    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("r.dat")), modoArchivo::Aleatorio), 0);
    QFile* archivo = ArchivoAbierto(1);
    ASSERT_NE(archivo, nullptr);
    archivo->write("0123456789");
    archivo->seek(4);
    EXPECT_EQ(archivo->read(2), QByteArray("45"));
    CierraArchivo(1);
    EXPECT_EQ(ArchivoAbierto(1), nullptr);

    ASSERT_EQ(AbreNumero(1, Ruta(QStringLiteral("r.dat")), modoArchivo::BinarioLectura), 0);
    EXPECT_EQ(ArchivoAbierto(1)->readAll(), QByteArray("0123456789"));
    EXPECT_EQ(AbreNumero(2, Ruta(QStringLiteral("falta.dat")), modoArchivo::BinarioLectura), errorArchivo::NoEncontrado);
    EXPECT_EQ(AbreNumero(2, Ruta(QStringLiteral("no/falta.dat")), modoArchivo::Entrada), errorArchivo::RutaNoExiste);
    EXPECT_EQ(AbreNumero(2, Ruta(QStringLiteral("r.dat/x")), modoArchivo::Salida), errorArchivo::RutaNoExiste);
}

TEST_F(Archivos, ExisteArchivoFindsOrdinaryFilesOnly)
{
    Escribe(QStringLiteral("00000001.PRN"), "x");
    Escribe(QStringLiteral(".oculto"), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("carpeta")));
    EXPECT_TRUE(ExisteArchivo(Ruta(QStringLiteral("00000001.PRN"))));
    EXPECT_TRUE(ExisteArchivo(Ruta(QStringLiteral("*.PRN"))));
    EXPECT_TRUE(ExisteArchivo(Ruta(QStringLiteral("00000001.prn"))));
    EXPECT_FALSE(ExisteArchivo(Ruta(QStringLiteral("00000002.PRN"))));
    EXPECT_FALSE(ExisteArchivo(Ruta(QStringLiteral(".oculto"))));
    EXPECT_FALSE(ExisteArchivo(Ruta(QStringLiteral("carpeta"))));
    EXPECT_FALSE(ExisteArchivo(Ruta(QStringLiteral("no/00000001.PRN"))));
    EXPECT_FALSE(ExisteArchivo(QString()));
}

// --- Central error handler ------------------------------------------------------

namespace {

const QString kTextoBloqueo = QStringLiteral(
    "Se ha excedido del número máximo de reintentos de acceso a una tabla. Posibles causas:\n"
    "1. Puede deberse a que un usuario este actualizando la misma tabla en este momento(BLOQUEOS).\n"
    "2. El usuario no tiene permisos de accesos sobre la tabla (PERMISOS).\n"
    "Si desea continuar reintentando esta operación presione REINTENTAR de\n"
    "lo contrario presione CANCELAR para la cancelación de esta operación.");

platform::DbError Bloqueo()
{
    return platform::DbError(platform::dberr::TableLocked,
                             QStringLiteral("S1000 No se pudo bloquear la tabla; está en uso por otro usuario o proceso."));
}

platform::DbError Duplicado()
{
    return platform::DbError(3022, QStringLiteral("Valores duplicados"), {},
                             QStringLiteral("UNIQUE constraint failed: CONT.doc_id_d"));
}

const QString kMensajeDuplicado = QStringLiteral("\n\nDescripción del error : [3022] Valores duplicados. No se puede "
                                                 "continuar con la ejecución del módulo\n\nValores duplicados\n");

} // namespace

TEST_F(Archivos, LockedTableOffersRetry)
{
    script.answer(Retry);
    EXPECT_EQ(ManejaErrorBD(QStringLiteral("GrabaDatos"), Bloqueo()), kReintentar);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), kTextoBloqueo);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Reintentos de acceso S1000"));
    EXPECT_EQ(script.shown().last().style, RetryCancel | Exclamation);
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("errorlog.txt"))));
}

TEST_F(Archivos, LockedTableCancelWarnsAndEnds)
{
    script.answer(Cancel);
    script.answer(Ok);
    EXPECT_EQ(ManejaErrorBD(QStringLiteral("GrabaDatos"), Bloqueo()), kTerminar);
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Proceso de recepción cancelado por el usuario.\nReintente la recepción del disquete nuevamente."));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("AVISO!"));
    EXPECT_EQ(script.shown().last().style, Exclamation | OkOnly);
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("errorlog.txt"))));
}

TEST_F(Archivos, FatalErrorIsShownInSpanishAndLoggedInFourLinesWithTheEnginesOwnText)
{
    script.answer(Ok);
    EXPECT_EQ(ManejaErrorBD(QStringLiteral("GrabaDatos"), Duplicado()), kTerminar);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), kMensajeDuplicado);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error crítico: 3022 (Rutina: GrabaDatos) "));
    EXPECT_EQ(script.shown().last().style, Critical | OkOnly);

    const QList<QStringList> registros = Registros();
    ASSERT_EQ(registros.size(), 1);
    const QStringList& registro = registros.first();
    static const QRegularExpression fechaHora(
        QStringLiteral("^Fecha y Hora del error: \\d\\d/\\d\\d/\\d{4} \\d\\d?:\\d\\d:\\d\\d"));
    EXPECT_TRUE(fechaHora.match(registro[0]).hasMatch()) << registro[0].toStdString();
    EXPECT_EQ(registro[1], QStringLiteral("Error producido en    : GrabaDatos"));
    EXPECT_EQ(registro[2], QStringLiteral("Descripción del error : [3022] Valores duplicados (SQLite: UNIQUE "
                                          "constraint failed: CONT.doc_id_d)"));
    EXPECT_EQ(registro[3], kMensajeDuplicado);
    EXPECT_TRUE(Contenido(QStringLiteral("errorlog.txt")).contains("Descripci\xF3n"));
}

TEST_F(Archivos, LockWithAnotherStateIsFatalAndRecordsAppend)
{
    script.answer(Ok);
    script.answer(Ok);
    ManejaErrorBD(QStringLiteral("CargaTabIndex"), Duplicado());
    const platform::DbError otroEstado(platform::dberr::TableLocked, QStringLiteral("23000 Violación"));
    EXPECT_EQ(ManejaErrorBD(QStringLiteral("CmdGrabar_Click"), otroEstado), kTerminar);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error crítico: 40002 (Rutina: CmdGrabar_Click) "));

    const QList<QStringList> registros = Registros();
    ASSERT_EQ(registros.size(), 2);
    EXPECT_EQ(registros[0][1], QStringLiteral("Error producido en    : CargaTabIndex"));
    EXPECT_EQ(registros[1][1], QStringLiteral("Error producido en    : CmdGrabar_Click"));
    EXPECT_EQ(registros[1][2], QStringLiteral("Descripción del error : [40002] 23000 Violación"));
}

TEST_F(Archivos, FatalErrorIsShownWhenTheLogCannotBeOpened)
{
    FijaCarpetaPrograma(Ruta(QStringLiteral("falta")));
    script.answer(Cancel);
    script.answer(Ok);
    EXPECT_EQ(ManejaErrorBD(QStringLiteral("GrabaDatos"), Duplicado()), kTerminar);
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("El path no existe."));
    EXPECT_EQ(script.shown()[1].title, QStringLiteral("Error crítico: 3022 (Rutina: GrabaDatos) "));
    EXPECT_EQ(FreeFile(), 1);
}

TEST_F(Archivos, ConReintentoRunsAgainOnRetryAndEndsOnEnd)
{
    int nIntentos = 0;
    script.answer(Retry);
    const int nResultado = EjecutaConReintento(QStringLiteral("Prueba"), [&nIntentos] {
        if (++nIntentos == 1)
            throw Bloqueo();
        return 7;
    });
    EXPECT_EQ(nResultado, 7);
    EXPECT_EQ(nIntentos, 2);

    script.answer(Ok);
    EXPECT_THROW(EjecutaConReintento(QStringLiteral("Prueba"), [] { throw Duplicado(); }), platform::ProgramEnded);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error crítico: 3022 (Rutina: Prueba) "));
}

struct CasoGrabacion {
    const char* sCaso;
    platform::DbError error; // what the first try throws
    QList<int> respuestas;
    int nResultado;        // 7 saved at the second try, -1 given up
    QStringList mensajes;
};

void PrintTo(const CasoGrabacion& c, std::ostream* os)
{
    *os << c.sCaso;
}

class Grabaciones : public Archivos, public ::testing::WithParamInterface<CasoGrabacion> {};

TEST_P(Grabaciones, AFailedSaveIsRetriedOnlyForALockAndOtherwiseSaysNothingWasSaved)
{
    const CasoGrabacion& c = GetParam();
    for (int nRespuesta : c.respuestas)
        script.answer(nRespuesta);
    int nIntentos = 0;
    const int nResultado = EjecutaGrabacion(
        QStringLiteral("GrabaDatos"), QStringLiteral("Otras Resoluciones"),
        [&] {
            if (++nIntentos == 1)
                throw c.error;
            return 7;
        },
        [] { return -1; });
    EXPECT_EQ(nResultado, c.nResultado);
    QStringList mensajes;
    for (const platform::ShownMessage& caja : script.shown())
        mensajes << caja.text;
    EXPECT_EQ(mensajes, c.mensajes);
    if (c.error.number() == 3022) {
        EXPECT_EQ(script.shown().last().title, QStringLiteral("Otras Resoluciones"));
        EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
        ASSERT_EQ(Registros().size(), 1);
        EXPECT_EQ(Registros()[0][1], QStringLiteral("Error producido en    : GrabaDatos"));
        EXPECT_EQ(Registros()[0][3], c.mensajes.last());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fallas, Grabaciones,
    ::testing::Values(
        CasoGrabacion{"LockRetried", Bloqueo(), {Retry}, 7, {kTextoBloqueo}},
        CasoGrabacion{"LockGivenUp",
                      Bloqueo(),
                      {Cancel, Ok},
                      -1,
                      {kTextoBloqueo, QStringLiteral("Proceso de recepción cancelado por el usuario.\nReintente la "
                                                     "recepción del disquete nuevamente.")}},
        CasoGrabacion{"OtherError",
                      Duplicado(),
                      {Ok},
                      -1,
                      {QStringLiteral("Error Número : 3022\nValores duplicados\n\nNo se ha grabado ningún cambio.")}}));

TEST_F(Archivos, ARunTimeOrFileErrorShowsNoEngineErrorList)
{
    const QList<platform::DbError> errores = {
        platform::DbError(6, QStringLiteral("Desbordamiento")),
        platform::DbError(13, QStringLiteral("No coinciden los tipos")),
        platform::DbError(53, QStringLiteral("No se encontró el archivo")),
    };
    for (const platform::DbError& err : errores) {
        SCOPED_TRACE(err.number());
        script.clear();
        script.answer(Ok);
        EXPECT_EQ(ManejaErrorBD(QStringLiteral("CalculaCasillas"), err), kTerminar);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].text, QStringLiteral("\n\nDescripción del error : [%1] %2. No se puede "
                                                         "continuar con la ejecución del módulo\n\n")
                                              .arg(err.number())
                                              .arg(err.description()));
    }
}

TEST_F(Archivos, AbreArchivoTakesABlankInAFolderButNotInTheFileName)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Archivos de programa")));
    const int n = AbreArchivo(Ruta(QStringLiteral("Archivos de programa/errorlog.txt")), modoArchivo::Agregar, 0, true);
    EXPECT_NE(n, 0);
    CierraArchivo(n);

    script.answer(Cancel);
    EXPECT_EQ(AbreArchivo(Ruta(QStringLiteral("Archivos de programa/error log.txt")), modoArchivo::Agregar, 0, true), 0);
    EXPECT_EQ(script.lastText(), QStringLiteral("El nombre de archivo es inválido."));
}

// --- Errors no handler caught ----------------------------------------------------

namespace {

// Fails the test when Qt reports an exception that went through its event loop.
class SinExcepcionEnQt {
public:
    SinExcepcionEnQt() : anterior_(qInstallMessageHandler(&Revisa)) {}
    ~SinExcepcionEnQt() { qInstallMessageHandler(anterior_); }

private:
    static void Revisa(QtMsgType, const QMessageLogContext&, const QString& sMensaje)
    {
        if (sMensaje.contains(QLatin1String("Qt has caught an exception")))
            ADD_FAILURE() << sMensaje.toStdString();
    }
    QtMessageHandler anterior_;
};

// A modal dialog whose button fails with `falla` when its own event loop
// delivers a mouse click to it. Returns the dialog's result: 7 when the
// loop went on after the failure.
int FallaEnDialogoModal(const std::function<void()>& falla)
{
    QDialog dialogo;
    dialogo.setObjectName(QStringLiteral("frmPrueba"));
    QPushButton boton(&dialogo);
    boton.setObjectName(QStringLiteral("cmdFalla"));
    QObject::connect(&boton, &QPushButton::clicked, &dialogo, [&dialogo, &falla] {
        QTimer::singleShot(0, &dialogo, [&dialogo] { dialogo.done(7); });
        falla();
    });
    for (const QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons botones = tipo == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(&boton, new QMouseEvent(tipo, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                                                            botones, Qt::NoModifier));
    }
    return dialogo.exec();
}

struct CasoNoCapturado {
    const char* sCaso;
    std::function<void()> falla;
    QList<int> respuestas;
    const char* sTitulo; // of the last box
    std::optional<int> nSalida;
};

} // namespace

TEST_F(Archivos, AnErrorLeftByAnEventHandlerGoesToTheCentralHandlerAndItsLoopGoesOn)
{
    const SinExcepcionEnQt guardia;
    const CasoNoCapturado casos[] = {
        {"run-time error", [] { platform::throwTypeMismatch(); }, {Ok},
         "Error crítico: 13 (Rutina: frmPrueba.cmdFalla) ", 0},
        {"locked table, retried", [] { throw Bloqueo(); }, {Retry}, "Reintentos de acceso S1000", std::nullopt},
        {"internal error", [] { throw std::out_of_range("fuera de rango"); }, {Ok},
         "Error crítico: 51 (Rutina: frmPrueba.cmdFalla) ", 0},
    };
    for (const CasoNoCapturado& c : casos) {
        SCOPED_TRACE(c.sCaso);
        platform::DialogScript propio;
        propio.onUnexpected = script.onUnexpected;
        for (int nRespuesta : c.respuestas)
            propio.answer(nRespuesta);
        EXPECT_EQ(FallaEnDialogoModal(c.falla), 7);
        ASSERT_EQ(propio.shown().size(), c.respuestas.size());
        EXPECT_EQ(propio.shown().last().title, QString::fromUtf8(c.sTitulo));
        EXPECT_EQ(propio.exitCode(), c.nSalida);
    }
    const QList<QStringList> registros = Registros();
    ASSERT_EQ(registros.size(), 2);
    EXPECT_EQ(registros[0][1], QStringLiteral("Error producido en    : frmPrueba.cmdFalla"));
    EXPECT_EQ(registros[1][2], QStringLiteral("Descripción del error : [51] fuera de rango"));
}
