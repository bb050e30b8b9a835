// A program that writes one key of a profile file again and again, as the
// programs sharing KOVAL.INI do: ProfileWriter <file> <section> <key>
// <times>. The value written is the count so far; the exit code is the
// number of writes refused (at most 255).

#include "platform/profile.h"

#include <QString>
#include <algorithm>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 255;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString section = QString::fromLocal8Bit(argv[2]);
    const QString key = QString::fromLocal8Bit(argv[3]);
    const int times = std::atoi(argv[4]);
    int refused = 0;
    for (int i = 1; i <= times; ++i) {
        if (!platform::writeProfileString(section, key, QString::number(i), file))
            ++refused;
    }
    return std::min(refused, 255);
}
