// A disk or share where every sync is slow, for a program run with this
// library preloaded (LD_PRELOAD): fsync(2) takes FSYNC_DELAY_MS
// milliseconds (50 when unset) before it runs.

#include <cstdlib>
#include <dlfcn.h>
#include <time.h>

namespace {

void waitAsTheDiskDoes()
{
    const char* setting = std::getenv("FSYNC_DELAY_MS");
    const long delayMs = setting ? std::atol(setting) : 50;
    struct timespec delay {delayMs / 1000, (delayMs % 1000) * 1000000L};
    while (::nanosleep(&delay, &delay) != 0) {
    }
}

} // namespace

extern "C" int fsync(int fd)
{
    static const auto call = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    waitAsTheDiskDoes();
    return call(fd);
}
