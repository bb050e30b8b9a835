#include "platform/profile.h"

#include "platform/plainfile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QStringList>

namespace platform {

namespace {

const QString kWinIni = QStringLiteral("WIN.INI");

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" gives the name between the brackets, trimmed; a line that is no
// section header gives a null string.
QString sectionHeaderName(const QString& line)
{
    const QString text = line.trimmed();
    const qsizetype close = text.lastIndexOf(u']');
    if (!text.startsWith(u'[') || close < 0)
        return QString();
    return text.mid(1, close - 1).trimmed();
}

// A value written between a pair of equal quotes is given without them.
QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

struct KeyLine {
    QString key;
    QString value;
};

// "key = value" split at the first "=", both sides trimmed; false for a line
// without "=" or without a key.
bool splitKeyLine(const QString& line, KeyLine* entry)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    entry->key = line.left(equals).trimmed();
    entry->value = unquoted(line.mid(equals + 1).trimmed());
    return !entry->key.isEmpty();
}

// Where a key stands in the lines of a profile file. Only the first section
// of the name counts, and the first key of the name in it.
struct Location {
    qsizetype keyLine = -1;      // the key's line, -1 when missing
    qsizetype sectionEnd = -1;   // after the section's last non-blank line, -1 when the section is missing
    KeyLine entry;
};

Location locate(const QStringList& lines, const QString& section, const QString& key)
{
    Location found;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString header = sectionHeaderName(lines.at(i));
        if (!header.isNull()) {
            if (inSection)
                break;
            inSection = sameName(header, section.trimmed());
            if (inSection)
                found.sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!lines.at(i).trimmed().isEmpty())
            found.sectionEnd = i + 1;
        KeyLine entry;
        if (splitKeyLine(lines.at(i), &entry) && sameName(entry.key, key.trimmed())) {
            found.keyLine = i;
            found.entry = entry;
            break;
        }
    }
    return found;
}

// The lines of the profile file; one that is not there has none. False when
// it is there and cannot be read.
bool readProfileLines(const QString& path, QStringList* lines)
{
    QByteArray bytes;
    switch (readPlainFile(path, &bytes)) {
    case ReadFailure::None:
        *lines = textLines(bytes);
        return true;
    case ReadFailure::Missing:
        lines->clear();
        return true;
    default:
        return false;
    }
}

// The profile text with the key set to `value`.
QByteArray withValue(const QByteArray& text, const QString& section, const QString& key, const QString& value)
{
    QStringList lines = textLines(text);
    const Location found = locate(lines, section, key);
    if (found.keyLine >= 0) {
        lines[found.keyLine] = found.entry.key + u'=' + value;
    } else if (found.sectionEnd >= 0) {
        lines.insert(found.sectionEnd, key.trimmed() + u'=' + value);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section.trimmed() + u']');
        lines.append(key.trimmed() + u'=' + value);
    }
    return textBytes(lines);
}

} // namespace

QString windowsDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("WINDIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    return QDir::homePath() + QStringLiteral("/.config/vardeno/windows");
}

QString profilePath(const QString& fileName)
{
    if (fileName.contains(u'/'))
        return fileName;
    return windowsDirectory() + u'/' + fileName;
}

std::optional<QString> readProfileValue(const QString& section, const QString& key, const QString& defaultValue,
                                        const QString& fileName, int maxChars)
{
    QStringList lines;
    if (!readProfileLines(profilePath(fileName), &lines))
        return std::nullopt;
    const Location found = locate(lines, section, key);
    return (found.keyLine < 0 ? defaultValue : found.entry.value).left(maxChars);
}

QString readProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          const QString& fileName, int maxChars)
{
    return readProfileValue(section, key, defaultValue, fileName, maxChars).value_or(defaultValue.left(maxChars));
}

bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName)
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    // The Windows directory always exists on Windows; here it may not yet.
    if (!fileName.contains(u'/'))
        QDir().mkpath(windowsDirectory());
    return updatePlainFile(profilePath(fileName),
                           [&](const QByteArray& text) { return withValue(text, section, key, value); });
}

QString readWinIni(const QString& section, const QString& key, const QString& defaultValue)
{
    return readProfileString(section, key, defaultValue, kWinIni);
}

bool writeWinIni(const QString& section, const QString& key, const QString& value)
{
    return writeProfileString(section, key, value, kWinIni);
}

QString winIniPath()
{
    return profilePath(kWinIni);
}

} // namespace platform
