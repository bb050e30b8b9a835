#include "platform/textfile.h"

#include "platform/plainfile.h"

namespace platform {

namespace {

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves
// undefined keep their own code point, as Windows converts them, so they
// survive a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

char encodeChar(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray toCp1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t c : text.toUcs4())
        bytes.append(encodeChar(c));
    return bytes;
}

QString fromCp1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.append(u >= 0x80 && u <= 0x9F ? QChar(kHighControls[u - 0x80]) : QChar(u));
    }
    return text;
}

QStringList textLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        else if (end > start && bytes.at(end - 1) == '\r')
            --end;
        lines.append(fromCp1252(bytes.mid(start, end - start)));
        start = next;
    }
    return lines;
}

QByteArray textBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toCp1252(line) + "\r\n";
    return bytes;
}

bool readTextLines(const QString& path, QStringList* lines)
{
    QByteArray bytes;
    if (readPlainFile(path, &bytes) != ReadFailure::None)
        return false;
    *lines = textLines(bytes);
    return true;
}

bool writeTextLines(const QString& path, const QStringList& lines, bool append)
{
    const QByteArray bytes = textBytes(lines);
    return append ? appendPlainFile(path, bytes) : writePlainFile(path, bytes);
}

} // namespace platform
