#pragma once

// What the benchmark programs share: the off-screen application with the
// sizes given on its command line, a fresh installed host that the main
// program's state points at, timing one step, and the rows of times set
// beside their baselines.

#include "formulario/core/ModGen00.h"
#include "inserta/Instalacion.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/utility.h"
#include "tools/hostkit/hostkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <initializer_list>

namespace bench {

// Off screen unless the caller chose a platform.
struct OffscreenPlatform {
    OffscreenPlatform()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

// A benchmark's application; the platform is chosen before Qt starts.
class Application : private OffscreenPlatform, public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}

    // The sizes named on the command line, or `byDefault` when none is.
    QList<int> sizes(const QList<int>& byDefault = {1000, 10000, 100000}) const
    {
        QList<int> result;
        for (const QString& argument : arguments().mid(1))
            result.append(argument.toInt());
        return result.isEmpty() ? byDefault : result;
    }
};

template <class Step>
double seconds(Step&& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e9;
}

// A fresh host in `folder` with the form's tables, opened as the main
// program opens it (oBaseDatos, oUtil, sSysPath, sSysUser); exits when the
// installer fails.
inline hostkit::HostPaths installHost(const QString& folder)
{
    const hostkit::HostPaths paths = hostkit::prepareHost(folder);
    hostkit::setWindowsDirectory(paths);
    {
        platform::DialogScript script; // the installer's run shows nothing when it goes well
        if (inserta::Main() != inserta::SalidaCompleta || !script.shown().isEmpty()) {
            std::fprintf(stderr, "the installer failed: %s\n", qPrintable(script.lastText()));
            std::exit(1);
        }
    }
    sSysPath = paths.sysPath;
    sSysUser = QStringLiteral("ADMIN");
    oUtil = std::make_unique<platform::Utility>();
    platform::OpenOptions options;
    options.workgroupFile = paths.workgroupFile;
    oBaseDatos = platform::Database::open(paths.dbFile, options);
    return paths;
}

// One time of ours beside the baseline it is measured against.
struct Comparison {
    double ours;
    double baseline;
};

// The names of a comparison's two times.
struct Heading {
    const char* ours;
    const char* baseline;
};

// The head of a table of comparisons: the first column, then for each
// comparison its time, its baseline's and their ratio.
inline void printHeader(const char* first, std::initializer_list<Heading> headings)
{
    std::printf("%-10s", first);
    for (const Heading& h : headings)
        std::printf(" %12s %12s %8s", h.ours, h.baseline, "ratio");
    std::printf("\n");
}

// One row of that table, printed at once.
inline void printRow(const QString& first, std::initializer_list<Comparison> comparisons)
{
    std::printf("%-10s", qPrintable(first));
    for (const Comparison& c : comparisons)
        std::printf(" %12.3f %12.3f %8.2f", c.ours, c.baseline, c.ours / c.baseline);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace bench
