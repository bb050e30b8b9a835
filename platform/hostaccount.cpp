#include "platform/hostaccount.h"

#include <initializer_list>

namespace platform {

namespace {

QString fromCodes(std::initializer_list<int> codes)
{
    QString text;
    for (int code : codes)
        text.append(QChar(code));
    return text;
}

} // namespace

QString workgroupUser()
{
    return fromCodes({86, 82, 68, 85, 83, 69, 82, 49});
}

QString workgroupPassword()
{
    return fromCodes({75, 48, 86, 97, 76, 57, 49, 51});
}

} // namespace platform
