#include "tests/support/OnDisplay.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kWaitMs = 5000;
constexpr int kChildMs = 120000;

// An X server of the test's own: on one that other tests share, their
// windows would take the input focus from the test's.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (server.isEmpty())
            return;
        // -displayfd: the server writes its display number once it takes clients.
        server_.start(server, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")});
        while (server_.waitForReadyRead(kWaitMs) && !server_.canReadLine()) {
        }
        if (server_.canReadLine())
            name_ = u':' + QString::fromLatin1(server_.readLine()).trimmed();
    }
    ~PrivateDisplay()
    {
        server_.terminate();
        if (!server_.waitForFinished(kWaitMs))
            server_.kill();
    }
    const QString& name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

} // namespace

DisplayRun runTestOnDisplay()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return DisplayRun::Here;
    const PrivateDisplay display;
    if (display.name().isEmpty())
        return DisplayRun::NoDisplay;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display.name());
    environment.insert(QStringLiteral("TEST_USE_X11"), QStringLiteral("1"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    const bool ended = child.waitForFinished(kChildMs);
    if (!ended)
        child.kill();
    child.waitForFinished();
    if (!ended)
        ADD_FAILURE() << "On the display, still running after " << kChildMs / 1000 << " s:\n"
                      << child.readAll().toStdString();
    else if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        ADD_FAILURE() << "On the display:\n" << child.readAll().toStdString();
    return DisplayRun::RanThere;
}

bool waitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kWaitMs);
}

void whenBoxActive(std::function<void(QMessageBox*)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        QMessageBox* box = nullptr;
        if (waitUntil([&box] {
                box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                return box && box->isActiveWindow();
            }))
            act(box);
        else
            ADD_FAILURE() << "no message box became active";
    });
}

void answerShownBox(const QString& caption)
{
    whenBoxActive([caption](QMessageBox* box) {
        const QList<QAbstractButton*> buttons = box->buttons();
        const auto button = std::find_if(buttons.begin(), buttons.end(),
                                         [&caption](QAbstractButton* b) { return b->text() == caption; });
        if (button == buttons.end()) {
            ADD_FAILURE() << "no button " << caption.toStdString();
            box->reject();
        } else {
            QTest::mouseClick(*button, Qt::LeftButton);
        }
    });
}
