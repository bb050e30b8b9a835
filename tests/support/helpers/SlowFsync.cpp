// A disk or share where every sync is slow, for a program run with this
// library preloaded (LD_PRELOAD): fsync(2) and fdatasync(2) take
// FSYNC_DELAY_MS milliseconds (50 when unset) before they run.

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

template <class Call>
Call next(const char* name)
{
    return reinterpret_cast<Call>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    static const auto call = next<int (*)(int)>("fsync");
    waitAsTheDiskDoes();
    return call(fd);
}

extern "C" int fdatasync(int fd)
{
    static const auto call = next<int (*)(int)>("fdatasync");
    waitAsTheDiskDoes();
    return call(fd);
}
