#include "tests/support/ProgramRun.h"

#include "tests/support/OtherUser.h"

#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

constexpr int kTimeoutMs = 120000;

// MSGBOX|title|text|buttons|icon
RunBox readBox(const QString& line)
{
    const QStringList parts = line.split(u'|');
    RunBox box;
    box.title = parts.value(1);
    box.text = parts.mid(2, parts.size() - 4).join(u'|');
    box.buttons = parts.value(parts.size() - 2).toInt();
    box.icon = parts.value(parts.size() - 1).toInt();
    return box;
}

// In the child, before the program starts. The test program ignores
// SIGXFSZ, and an ignored signal stays ignored across exec.
void startAsTheHostDoes(RunAs user, std::optional<qint64> fileSizeLimit)
{
    ::signal(SIGXFSZ, SIG_DFL);
    if (fileSizeLimit) {
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(*fileSizeLimit);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (user == RunAs::OtherUser)
        becomeOtherUser();
}

} // namespace

ProgramRun runProgram(const hostkit::HostPaths& paths, const QString& program, const QStringList& arguments,
                      const QString& answers, Screen screen, RunAs user, std::optional<qint64> fileSizeLimit)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINDIR"), paths.windowsDir);
    if (screen == Screen::Offscreen) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MSGBOX_ANSWERS"), answers);
    } else {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "MSGBOX_ANSWERS"})
            environment.remove(QString::fromLatin1(name));
    }

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(paths.sysPath);
    process.setChildProcessModifier([user, fileSizeLimit] { startAsTheHostDoes(user, fileSizeLimit); });
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted() || !process.waitForFinished(kTimeoutMs)) {
        ADD_FAILURE() << program.toStdString() << " did not run: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split(u'\n')) {
        if (line.startsWith(QLatin1String("MSGBOX|")))
            run.boxes.append(readBox(line));
    }
    return run;
}
