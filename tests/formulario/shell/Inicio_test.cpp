// Start-up of Tarvel: the refusals, run as a real process whose message
// boxes are written to standard error, and the regional-settings check.

#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "formulario/core/ConfiguracionRegional.h"
#include "platform/dialogs.h"
#include "platform/hostwindows.h"
#include "platform/profile.h"
#include "tests/support/HostTest.h"
#include "tests/support/x11window.h"
#include "tools/hostkit/hostkit.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kHostTitle = QStringLiteral("Sistema Vardeno");

struct Outcome {
    int exitCode = -1;
    QStringList boxes; // "MSGBOX|title|text|buttons|icon"
    bool stillRunning = false;
};

// How the program is run: its boxes written to standard error (drawn off
// screen), or really shown on the X display.
enum class Boxes { Written, OnScreen };

class TarvelProcess {
public:
    explicit TarvelProcess(const hostkit::HostPaths& host, bool withDisplay = true, Boxes boxes = Boxes::Written,
                           const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINDIR"), host.windowsDir);
        if (boxes == Boxes::Written) {
            env.insert(QStringLiteral("MSGBOX_ANSWERS"), QString());
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            env.remove(QStringLiteral("MSGBOX_ANSWERS"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        }
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), host.root);
        if (!withDisplay)
            env.remove(QStringLiteral("DISPLAY"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(TARVEL_BIN), arguments);
    }
    ~TarvelProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // Waits for the program to end; a program still running after `ms` is
    // taken to have started normally. A minute is long enough for any start
    // on a busy machine to end in a refusal.
    Outcome wait(int ms = 60000)
    {
        Outcome run;
        run.stillRunning = !process_.waitForFinished(ms);
        if (!run.stillRunning)
            run.exitCode = process_.exitCode();
        const QString err = QString::fromUtf8(process_.readAllStandardError());
        for (const QString& line : err.split(QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("MSGBOX|")))
                run.boxes << line;
        return run;
    }

private:
    QProcess process_;
};

// Polls `condition` until it holds, for at most a minute; whether it held.
bool withinAMinute(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

// The title of a visible top-level window that starts with `prefix`, once
// one is up; empty when none comes within a minute.
QString shownWindow(const QString& prefix)
{
    QString shown;
    withinAMinute([&] {
        const QStringList titles = platform::visibleTopLevelWindowTitles();
        const auto found = std::find_if(titles.begin(), titles.end(),
                                        [&](const QString& title) { return title.startsWith(prefix); });
        shown = found != titles.end() ? *found : QString();
        return !shown.isEmpty();
    });
    return shown;
}

QString box(const QString& title, const QString& text, int buttons, int icon)
{
    return QStringLiteral("MSGBOX|%1|%2|%3|%4").arg(title, text).arg(buttons).arg(icon);
}

class StartupProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display_.installed())
            GTEST_SKIP() << "no X server (Xvfb) to run on";
        ASSERT_TRUE(display_.valid()) << "Xvfb gave no display within a minute";
        ASSERT_TRUE(dir_.isValid());
        host_ = hostkit::prepareHost(dir_.path());
    }
    void setOption(const QString& key, const QString& value)
    {
        ASSERT_TRUE(platform::writeProfileString(QStringLiteral("Options"), key, value,
                                                 host_.iniFile));
    }

    PrivateDisplay display_;
    QTemporaryDir dir_;
    hostkit::HostPaths host_;
};

TEST_F(StartupProcessTest, WithoutTheHostWindowRefusesToRun)
{
    const Outcome run = TarvelProcess(host_, /*withDisplay=*/false).wait();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.boxes, QStringList{box(QStringLiteral("Error al ejecutar el módulo"),
                                         QStringLiteral("Debe ejecutar este módulo desde el Integrador del VRD"),
                                         0, 16)});
}

TEST_F(StartupProcessTest, TheCommandLineIsIgnored)
{
    // A toolkit option that would abort the start if it were read.
    const Outcome run = TarvelProcess(host_, /*withDisplay=*/false, Boxes::Written,
                                      {QStringLiteral("-platform"), QStringLiteral("ninguna")})
                            .wait();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(run.boxes[0].contains(QStringLiteral("Debe ejecutar este módulo")));
}

TEST_F(StartupProcessTest, HiddenOrDifferentlyTitledWindowsDoNotCount)
{
    X11Window hidden(kHostTitle, /*mapped=*/false);
    X11Window lower(QStringLiteral("sistema vardeno"));
    X11Window blank(kHostTitle + QLatin1Char(' '));
    const Outcome run = TarvelProcess(host_).wait();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(run.boxes[0].contains(QStringLiteral("Debe ejecutar este módulo")));
}

TEST_F(StartupProcessTest, BesideTheHostWindowItStartsAndASecondCopyIsRefused)
{
    X11Window hostWindow(kHostTitle);
    TarvelProcess first(host_, /*withDisplay=*/true, Boxes::OnScreen);
    const QString sCaption = QStringLiteral("0913 - Régimen de Reprogramación de Deudas");
    ASSERT_EQ(shownWindow(sCaption), sCaption) << "the main window is shown";

    const Outcome second = TarvelProcess(host_).wait();
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.boxes, QStringList{box(QStringLiteral("Régimen de Reprogramación de Deudas "),
                                            QStringLiteral("La Aplicación ya se encuentra en ejecución"), 0, 64)});
    EXPECT_TRUE(first.wait(0).stillRunning);
}

// Started from the host, with no window manager to hand the keyboard on,
// the main window takes it from the host window as it first shows.
TEST_F(StartupProcessTest, TheMainWindowTakesTheKeyboardWhenItFirstShows)
{
    X11Window hostWindow(kHostTitle);
    hostWindow.takeKeyboard();
    ASSERT_EQ(x11InputFocus(), hostWindow.id());
    TarvelProcess tarvel(host_, /*withDisplay=*/true, Boxes::OnScreen);
    const QString sCaption = QStringLiteral("0913 - Régimen de Reprogramación de Deudas");
    ASSERT_EQ(shownWindow(sCaption), sCaption);
    EXPECT_TRUE(withinAMinute([&] { return x11InputFocusTitle() == sCaption; }))
        << x11InputFocusTitle().toStdString();
}

TEST_F(StartupProcessTest, WrongRegionalSettingsAreListedAndEndTheProgram)
{
    X11Window hostWindow(kHostTitle);
    platform::writeProfileString(QStringLiteral("intl"), QStringLiteral("sDecimal"), QStringLiteral(","),
                                 host_.windowsDir + QStringLiteral("/WIN.INI"));
    const Outcome run = TarvelProcess(host_).wait();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(run.boxes[0].startsWith(QStringLiteral("MSGBOX|Error de configuración|- Debe configurar como "
                                                       "símbolo decimal para Número : ( . ) \\nIngrese")));
}

TEST_F(StartupProcessTest, ABoxOnScreenBearsExactlyItsTitle)
{
    X11Window hostWindow(kHostTitle);
    platform::writeProfileString(QStringLiteral("intl"), QStringLiteral("iDigits"), QStringLiteral("3"),
                                 host_.windowsDir + QStringLiteral("/WIN.INI"));
    TarvelProcess tarvel(host_, /*withDisplay=*/true, Boxes::OnScreen);
    const QString sTitulo = QStringLiteral("Error de configuración");
    EXPECT_EQ(shownWindow(sTitulo), sTitulo) << "nothing may be added to a window's title";
}

TEST_F(StartupProcessTest, MissingSysPathEndsWithTheInstallMessage)
{
    X11Window hostWindow(kHostTitle);
    setOption(QStringLiteral("SysPath"), QString());
    const Outcome run = TarvelProcess(host_).wait();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.boxes, QStringList{box(QStringLiteral("Mensaje"), QStringLiteral("Debe instalar primero el VRD "),
                                         0, 64)});
}

TEST_F(StartupProcessTest, ADatabaseThatCannotBeOpenedEndsTheProgram)
{
    X11Window hostWindow(kHostTitle);
    setOption(QStringLiteral("DBName"), QStringLiteral("noexiste.mdb"));
    const Outcome run = TarvelProcess(host_).wait();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(run.boxes[0].startsWith(QStringLiteral("MSGBOX|Error de Conección|")));
    EXPECT_TRUE(run.boxes[0].endsWith(QStringLiteral("\\n 3024|0|0")));
}

TEST_F(StartupProcessTest, ADatabaseHeldExclusivelyReportsItIsLocked)
{
    X11Window hostWindow(kHostTitle);
    platform::OpenOptions exclusive;
    exclusive.exclusive = true;
    auto holder = platform::Database::open(host_.dbFile, exclusive);
    const Outcome run = TarvelProcess(host_).wait();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.boxes, QStringList{box(QStringLiteral("Error de Conección"),
                                         QStringLiteral(" 3051- Base esta bloqueda"), 0, 0)});
}

// In-process: the regional check and the statement runner.
class RegionalTest : public HostTest {
protected:
    void setIntl(const QString& key, const QString& value)
    {
        ASSERT_TRUE(platform::writeWinIni(QStringLiteral("intl"), key, value));
    }
};

TEST_F(RegionalTest, AFreshMachinePasses)
{
    EXPECT_TRUE(VerificaConfiguracionRegional());
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(RegionalTest, EveryDeviationIsListedInOrderInOneBox)
{
    setIntl(QStringLiteral("iNegCurr"), QStringLiteral("1"));
    setIntl(QStringLiteral("sDate"), QStringLiteral("//"));
    setIntl(QStringLiteral("sTimeFormat"), QStringLiteral("HH:mm:ss"));
    setIntl(QStringLiteral("iDigits"), QStringLiteral("dos"));
    setIntl(QStringLiteral("sShortDate"), QStringLiteral("DD/MM/YYYY"));
    script.answer(platform::mb::Ok);
    EXPECT_FALSE(VerificaConfiguracionRegional());
    ASSERT_EQ(script.shown().size(), 1);
    const platform::ShownMessage& shown = script.shown().first();
    EXPECT_EQ(shown.title, QStringLiteral("Error de configuración"));
    EXPECT_EQ(shown.style, platform::mb::Critical);
    EXPECT_EQ(shown.text,
              QStringLiteral("- Debe configurar como separador de Fechas : ( / ) \n"
                             "- Debe configurar como formato de fecha corta : ( dd/MM/aaaa ) \n"
                             "- Debe configurar como formato de Hora : ( hh:mm:ss tt) \n"
                             "- Debe configurar como número de Decimales para Número : ( 2 ) \n"
                             "- Debe configurar como Formato de Moneda Negativo : ( *-1,1 ) \n"
                             "Ingrese a la opción :Configuración/Panel de control/Configuración Regional y "
                             "verificar las secciones Número, Moneda, Hora y Fecha.\n"
                             "Esto es necesario para el correcto funcionamiento del Sistema Vardeno. "));
}

TEST_F(RegionalTest, ContainmentTestsAcceptLongerFormats)
{
    setIntl(QStringLiteral("sShortDate"), QStringLiteral("dd/MM/yyyy HH"));
    setIntl(QStringLiteral("sTimeFormat"), QStringLiteral(" hh:mm:ss tt "));
    EXPECT_TRUE(VerificaConfiguracionRegional());
}

TEST_F(RegionalTest, AnUnreadableSettingIsReportedAlone)
{
    const QString winIni = platform::winIniPath();
    QFile::remove(winIni);
    ASSERT_TRUE(QDir().mkdir(winIni));
    script.answer(platform::mb::Ok);
    EXPECT_FALSE(VerificaConfiguracionRegional());
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Error al leer la configuración del sistema"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(script.shown()[0].style, platform::mb::Critical);
}

// The settings reader and the connection, in process: each refusal shows
// its box and ends the program.
class ConnectionTest : public HostTest {
protected:
    ConnectionTest() { withFormTables = false; }

    void setOption(const QString& key, const QString& value)
    {
        ASSERT_TRUE(platform::writeProfileString(QStringLiteral("Options"), key, value, paths().iniFile));
    }
    // The one box the routine showed before it ended the program.
    platform::ShownMessage endsWithBox(const std::function<void()>& routine)
    {
        script.answer(platform::mb::Ok);
        EXPECT_THROW(routine(), platform::ProgramEnded);
        EXPECT_EQ(script.shown().size(), 1);
        return script.shown().value(0);
    }
};

TEST_F(ConnectionTest, ASysPathThatNamesNoFolderEndsWithTheInstallMessage)
{
    QFile file(paths().root + QStringLiteral("/archivo"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& sysPath : {QString(), paths().root + QStringLiteral("/falta/"), file.fileName()}) {
        SCOPED_TRACE(sysPath.toStdString());
        setOption(QStringLiteral("SysPath"), sysPath);
        script.clear();
        const platform::ShownMessage shown = endsWithBox(LeeConfiguracion);
        EXPECT_EQ(shown.text, QStringLiteral("Debe instalar primero el VRD "));
        EXPECT_EQ(shown.title, QStringLiteral("Mensaje"));
        EXPECT_EQ(shown.style, platform::mb::Information | platform::mb::OkOnly);
    }
}

TEST_F(ConnectionTest, SettingsAreReadAndTheDatabaseOpened)
{
    oBaseDatos.reset();
    setOption(QStringLiteral("SysUser"), QStringLiteral("  CONTADOR1  "));
    QDir::setCurrent(QDir::rootPath());
    LeeConfiguracion();
    EXPECT_EQ(sSysPath, paths().sysPath);
    EXPECT_EQ(QDir::currentPath(), QDir(paths().sysPath).canonicalPath());
    EXPECT_EQ(sRutaRpt, paths().sysPath + QStringLiteral("RPT/"));
    EXPECT_EQ(sRutaBD, paths().dbFile);
    EXPECT_EQ(sArchivoAyuda, paths().sysPath + QStringLiteral("0913/Tarvel.hlp"));
    EXPECT_EQ(sSysUser, QStringLiteral("CONTADOR1"));
    ASSERT_NE(oBaseDatos, nullptr);
    EXPECT_TRUE(oBaseDatos->tableExists(QStringLiteral("CAB")));
}

TEST_F(ConnectionTest, AFailedOpenShowsTheEngineTextAndNumber)
{
    sSysPath = paths().sysPath;
    sRutaBD = paths().sysPath + QStringLiteral("base%1.mdb");
    platform::ShownMessage shown = endsWithBox(AbreBaseDatos);
    EXPECT_EQ(shown.text, QStringLiteral("No se encuentra el archivo '") + sRutaBD + QStringLiteral("'.\n 3024"));
    EXPECT_EQ(shown.title, QStringLiteral("Error de Conección"));
    EXPECT_EQ(shown.style, platform::mb::OkOnly);

    ASSERT_TRUE(QFile::remove(paths().workgroupFile));
    sRutaBD = paths().dbFile;
    script.clear();
    shown = endsWithBox(AbreBaseDatos);
    EXPECT_TRUE(shown.text.endsWith(QStringLiteral("\n 3028"))) << shown.text.toStdString();
}

TEST_F(RegionalTest, FailedStatementIsShownOnceAndChangesNothing)
{
    oBaseDatos->execute(QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES (?, ?)"),
                        {QStringLiteral("O'BRIEN"), QStringLiteral("1")});
    const QVariant before = oBaseDatos->scalar(QStringLiteral("SELECT COUNT(*) FROM CLAVES"));
    script.answer(platform::mb::Ok);
    EjecutaSQL(QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES (?, ?)"),
               {QStringLiteral("O'BRIEN"), QStringLiteral("1")});
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error al Ejecutar Sentencia SQL"));
    EXPECT_TRUE(script.shown()[0].text.startsWith(QStringLiteral("Error Número : 3022\n")));
    EXPECT_EQ(oBaseDatos->scalar(QStringLiteral("SELECT COUNT(*) FROM CLAVES")), before);

    // A statement that fails on one of its rows leaves the others as they were.
    const QString sNombres = QStringLiteral("SELECT group_concat(nombre, '|') FROM CONT");
    const QVariant nombres = oBaseDatos->scalar(sNombres);
    script.answer(platform::mb::Ok);
    EjecutaSQL(QStringLiteral("UPDATE CONT SET nombre = nombre || ?"), {QStringLiteral(" - DECLARANTE REGISTRADO")});
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_TRUE(script.shown()[1].text.startsWith(QStringLiteral("Error Número : 3163\n"))) << script.lastText().toStdString();
    EXPECT_EQ(oBaseDatos->scalar(sNombres), nombres);
}

} // namespace
