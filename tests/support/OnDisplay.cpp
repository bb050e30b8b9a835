#include "tests/support/OnDisplay.h"

#include "tests/support/x11window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

// Each wait returns as soon as what it waits for holds; the bound is for a
// machine busy with much else, where the window system answers late.
constexpr int kWaitMs = 30000;
constexpr int kChildMs = 120000;
constexpr int kBoxPollMs = 10;

} // namespace

DisplayRun runTestOnDisplay()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return DisplayRun::Here;
    const PrivateDisplay display;
    if (!display.installed())
        return DisplayRun::NoDisplay;
    if (!display.valid()) {
        ADD_FAILURE() << "Xvfb gave no display within a minute";
        return DisplayRun::RanThere;
    }
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display.name()));
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

// Looks for the box whenever events are processed, and never holds up the
// program while it is not there yet: the program may let events through
// before it shows the box.
void whenBoxActive(std::function<void(QMessageBox*)> act)
{
    auto* watch = new QTimer(qApp);
    const QDeadlineTimer deadline(kWaitMs);
    QObject::connect(watch, &QTimer::timeout, watch, [watch, act = std::move(act), deadline] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        const bool active = box && box->isActiveWindow();
        if (!active && !deadline.hasExpired())
            return;
        watch->stop();
        watch->deleteLater();
        if (active) {
            act(box);
            return;
        }
        ADD_FAILURE() << "no message box became active";
        if (box)
            box->reject(); // the test goes on to fail, not to wait for good
    });
    watch->start(kBoxPollMs);
}

void clickBoxButton(QMessageBox* box, const QString& caption)
{
    const QList<QAbstractButton*> buttons = box->buttons();
    const auto button = std::find_if(buttons.begin(), buttons.end(),
                                     [&caption](QAbstractButton* b) { return b->text() == caption; });
    if (button == buttons.end()) {
        ADD_FAILURE() << "no button " << caption.toStdString();
        box->reject();
    } else {
        QTest::mouseClick(*button, Qt::LeftButton);
    }
}

void answerShownBox(const QString& caption)
{
    whenBoxActive([caption](QMessageBox* box) { clickBoxButton(box, caption); });
}
