// Start-up of Tarvel: the refusals, run as a real process whose message
// boxes are written to standard error, and the regional-settings check.

#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "formulario/core/Regional.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "tests/support/HostTest.h"
#include "tests/support/x11window.h"
#include "tools/hostkit/hostkit.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kHostTitle = QStringLiteral("Sistema Vardeno");

struct Outcome {
    int exitCode = -1;
    QStringList boxes; // "MSGBOX|title|text|buttons|icon"
    bool stillRunning = false;
};

class TarvelProcess {
public:
    explicit TarvelProcess(const hostkit::HostPaths& host, bool withDisplay = true)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINDIR"), host.windowsDir);
        env.insert(QStringLiteral("MSGBOX_ANSWERS"), QString());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), host.root);
        if (!withDisplay)
            env.remove(QStringLiteral("DISPLAY"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(TARVEL_BIN), {});
    }
    ~TarvelProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // Waits for the program to end; a program still running after `ms` is
    // taken to have started normally.
    Outcome wait(int ms = 10000)
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

QString box(const QString& title, const QString& text, int buttons, int icon)
{
    return QStringLiteral("MSGBOX|%1|%2|%3|%4").arg(title, text).arg(buttons).arg(icon);
}

class StartupProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display_.valid())
            GTEST_SKIP() << "no X server (Xvfb) to run on";
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
    TarvelProcess first(host_);
    const Outcome running = first.wait(2500);
    ASSERT_TRUE(running.stillRunning) << running.boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(running.boxes.isEmpty());

    const Outcome second = TarvelProcess(host_).wait();
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.boxes, QStringList{box(QStringLiteral("Régimen de Reprogramación de Deudas "),
                                            QStringLiteral("La Aplicación ya se encuentra en ejecución"), 0, 64)});
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
}

} // namespace
