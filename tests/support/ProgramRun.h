#pragma once

// Runs one of the system's programs as the host suite runs it: a process of
// its own on a prepared host, off screen, with its message boxes written to
// the error output (MSGBOX_ANSWERS) instead of shown.

#include "tools/hostkit/hostkit.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One message box of a run, as the program wrote it.
struct RunBox {
    QString title;
    QString text; // line feeds as "\n"
    int buttons = 0;
    int icon = 0;
};

struct ProgramRun {
    int exitCode = -1; // -1 when it did not end normally
    QList<RunBox> boxes;
    QStringList output; // the lines of its standard output
};

enum class Screen {
    Offscreen, // the boxes take the answers of the list given
    None,      // no display at all, and no answers: the program copes alone
};

enum class RunAs {
    TestUser,
    OtherUser, // see OtherUser.h; the host must be open to him
};

// Runs `program` with `arguments` in the host's SysPath with WINDIR set to
// the host's; the boxes take the answers of the comma-separated list. The
// program starts with SIGXFSZ at its default, as the host starts it, and
// with `fileSizeLimit` bytes as its limit on the size of a file when given.
ProgramRun runProgram(const hostkit::HostPaths& paths, const QString& program, const QStringList& arguments,
                      const QString& answers = QString(), Screen screen = Screen::Offscreen,
                      RunAs user = RunAs::TestUser, std::optional<qint64> fileSizeLimit = std::nullopt);
