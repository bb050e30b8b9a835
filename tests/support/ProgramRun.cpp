#include "tests/support/ProgramRun.h"

#include "tests/support/OtherUser.h"

#include <QProcess>
#include <gtest/gtest.h>

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

} // namespace

ProgramRun runProgram(const hostkit::HostPaths& paths, const QString& program, const QStringList& arguments,
                      const QString& answers, Screen screen, RunAs user)
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
    if (user == RunAs::OtherUser)
        process.setChildProcessModifier(becomeOtherUser);
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
