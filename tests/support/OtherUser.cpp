#include "tests/support/OtherUser.h"

#include "tests/support/ChildProcess.h"

#include <QDirIterator>
#include <QFile>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

} // namespace

bool runsAsRoot()
{
    return ::geteuid() == 0;
}

void becomeOtherUser()
{
    if (runsAsRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        ::_exit(127);
}

bool asOtherUser(const std::function<bool()>& step)
{
    const pid_t child = ::fork();
    if (child == 0) {
        becomeOtherUser();
        ::_exit(step() ? 0 : 1);
    }
    if (child < 0)
        return false;
    const int status = waitForChild(child);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openToEveryone(const QString& folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        if (!entry.isSymLink())
            ::chmod(QFile::encodeName(entry.filePath()).constData(), entry.isDir() ? 0777 : 0666);
    }
}
