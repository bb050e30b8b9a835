// Functions of the old engine's SQL dialect that the programs' statements use,
// with Visual Basic's meanings. Trim, LTrim, RTrim and IIf are SQLite's own,
// which already behave so.

#include "platform/dberror.h"
#include "platform/dbinternal.h"

#include <QList>
#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace platform {

namespace {

bool isNull(sqlite3_value* value)
{
    return sqlite3_value_type(value) == SQLITE_NULL;
}

// The value as Visual Basic's CStr writes it.
QString textOf(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(value));
    case SQLITE_FLOAT:
        return vbNumberText(sqlite3_value_double(value));
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                                 sqlite3_value_bytes(value));
    }
}

void resultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* context, int number)
{
    sqlite3_result_error(context, functionErrorMessage(number).constData(), -1);
}

// True when any argument is Null; the result is then Null.
bool nullArgument(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i])) {
            sqlite3_result_null(context);
            return true;
        }
    }
    return false;
}

// The value as a number, or false (with the engine's type error) when it is not one.
bool numberOf(sqlite3_context* context, sqlite3_value* value, double* number)
{
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        *number = sqlite3_value_double(value);
        return true;
    }
    if (parseVbNumber(textOf(value), number))
        return true;
    resultError(context, dberr::TypeMismatch);
    return false;
}

// A count or position argument; false (invalid argument) below `minimum`.
bool countOf(sqlite3_context* context, sqlite3_value* value, int minimum, qint64* count)
{
    double number = 0;
    if (!numberOf(context, value, &number))
        return false;
    *count = qint64(bankersRound(number));
    if (*count < minimum) {
        resultError(context, dberr::InvalidArgument);
        return false;
    }
    return true;
}

void sqlVal(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        sqlite3_result_double(context, vbVal(textOf(argv[0])));
}

void sqlMid(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    qint64 start = 0;
    qint64 length = -1;
    if (nullArgument(context, argc, argv) || !countOf(context, argv[1], 1, &start)
        || (argc == 3 && !countOf(context, argv[2], 0, &length)))
        return;
    resultText(context, textOf(argv[0]).mid(start - 1, length));
}

void sqlLeft(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    qint64 length = 0;
    if (!nullArgument(context, argc, argv) && countOf(context, argv[1], 0, &length))
        resultText(context, textOf(argv[0]).left(length));
}

void sqlRight(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    qint64 length = 0;
    if (!nullArgument(context, argc, argv) && countOf(context, argv[1], 0, &length))
        resultText(context, textOf(argv[0]).right(length));
}

void sqlLen(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        sqlite3_result_int64(context, textOf(argv[0]).size());
}

void sqlUCase(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        resultText(context, textOf(argv[0]).toUpper());
}

void sqlLCase(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        resultText(context, textOf(argv[0]).toLower());
}

void sqlNz(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!isNull(argv[0]))
        sqlite3_result_value(context, argv[0]);
    else if (argc == 2)
        sqlite3_result_value(context, argv[1]);
    else
        resultText(context, {});
}

// InStr([start,] text, sought): 1-based position, 0 when absent; compares
// without regard to case, as the engine's text comparison does.
void sqlInStr(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    qint64 start = 1;
    if (nullArgument(context, argc, argv) || (argc == 3 && !countOf(context, argv[0], 1, &start)))
        return;
    const QString text = textOf(argv[argc - 2]);
    const QString sought = textOf(argv[argc - 1]);
    if (start > text.size())
        sqlite3_result_int64(context, 0);
    else
        sqlite3_result_int64(context, text.indexOf(sought, start - 1, Qt::CaseInsensitive) + 1);
}

void sqlCStr(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        resultText(context, textOf(argv[0]));
}

void integerConversion(sqlite3_context* context, sqlite3_value* value, qint64 lowest, qint64 highest)
{
    double number = 0;
    if (!numberOf(context, value, &number))
        return;
    const double rounded = bankersRound(number);
    if (rounded < double(lowest) || rounded > double(highest))
        resultError(context, dberr::NumericOverflow);
    else
        sqlite3_result_int64(context, qint64(rounded));
}

void sqlCInt(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        integerConversion(context, argv[0], -32768, 32767);
}

void sqlCLng(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        integerConversion(context, argv[0], -2147483648LL, 2147483647LL);
}

void sqlCDbl(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    double number = 0;
    if (!nullArgument(context, argc, argv) && numberOf(context, argv[0], &number))
        sqlite3_result_double(context, number);
}

// One element of a Like pattern.
struct PatternToken {
    enum Kind { AnyRun, AnyChar, Digit, CharList, Literal } kind;
    QList<QPair<QChar, QChar>> ranges; // CharList: case-folded ranges
    bool negated = false;               // CharList: [!...]
    QChar literal;                      // Literal: case-folded
};

QList<PatternToken> parsePattern(const QString& pattern)
{
    QList<PatternToken> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('*')) {
            tokens.append({PatternToken::AnyRun, {}, false, {}});
        } else if (c == QLatin1Char('?')) {
            tokens.append({PatternToken::AnyChar, {}, false, {}});
        } else if (c == QLatin1Char('#')) {
            tokens.append({PatternToken::Digit, {}, false, {}});
        } else if (c == QLatin1Char('[') && pattern.indexOf(QLatin1Char(']'), i + 1) > i) {
            PatternToken token{PatternToken::CharList, {}, false, {}};
            qsizetype k = i + 1;
            if (pattern.at(k) == QLatin1Char('!') && pattern.indexOf(QLatin1Char(']'), k + 1) > k) {
                token.negated = true;
                ++k;
            }
            const qsizetype end = pattern.indexOf(QLatin1Char(']'), k);
            const QString list = pattern.mid(k, end - k);
            for (qsizetype j = 0; j < list.size(); ++j) {
                const QChar from = list.at(j).toCaseFolded();
                if (j + 2 < list.size() && list.at(j + 1) == QLatin1Char('-')) {
                    token.ranges.append({from, list.at(j + 2).toCaseFolded()});
                    j += 2;
                } else {
                    token.ranges.append({from, from});
                }
            }
            if (!token.ranges.isEmpty() || token.negated) // "[]" matches the empty text
                tokens.append(token);
            i = end;
        } else {
            tokens.append({PatternToken::Literal, {}, false, c.toCaseFolded()});
        }
    }
    return tokens;
}

bool matchesOne(const PatternToken& token, QChar c)
{
    switch (token.kind) {
    case PatternToken::AnyChar:
        return true;
    case PatternToken::Digit:
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case PatternToken::Literal:
        return c.toCaseFolded() == token.literal;
    case PatternToken::CharList: {
        const QChar folded = c.toCaseFolded();
        bool inside = false;
        for (const auto& [from, to] : token.ranges)
            inside = inside || (folded >= from && folded <= to);
        return inside != token.negated;
    }
    case PatternToken::AnyRun:
        break;
    }
    return false;
}

bool likeJet(const QString& text, const QList<PatternToken>& tokens)
{
    qsizetype t = 0, s = 0, runToken = -1, runStart = 0;
    while (s < text.size()) {
        if (t < tokens.size() && tokens.at(t).kind == PatternToken::AnyRun) {
            runToken = t++;
            runStart = s;
        } else if (t < tokens.size() && matchesOne(tokens.at(t), text.at(s))) {
            ++t;
            ++s;
        } else if (runToken >= 0) {
            t = runToken + 1;
            s = ++runStart;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens.at(t).kind == PatternToken::AnyRun)
        ++t;
    return t == tokens.size();
}

// LIKEJET(text, pattern): the old engine's Like (* ? # [list] [!list]),
// without regard to case.
void sqlLikeJet(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        sqlite3_result_int(context, likeJet(textOf(argv[0]), parsePattern(textOf(argv[1]))) ? 1 : 0);
}

} // namespace

QString adaptToEngine(const QString& sql)
{
    // LEFT and RIGHT are join keywords to SQLite; quoted they name the functions.
    if (!sql.contains(QLatin1String("left"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("right"), Qt::CaseInsensitive))
        return sql;
    static const QRegularExpression pattern(
        QStringLiteral("('(?:[^']|'')*'|\"(?:[^\"]|\"\")*\"|\\[[^\\]]*\\])|\\b(left|right)(?=\\s*\\()"),
        QRegularExpression::CaseInsensitiveOption);
    QString adapted;
    qsizetype done = 0;
    for (auto it = pattern.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(2) == 0)
            continue; // a literal or a quoted name
        adapted += sql.mid(done, m.capturedStart(2) - done) + QLatin1Char('"') + m.captured(2) + QLatin1Char('"');
        done = m.capturedEnd(2);
    }
    return adapted + sql.mid(done);
}

void registerSqlFunctions(sqlite3* db)
{
    using Function = void (*)(sqlite3_context*, int, sqlite3_value**);
    struct Definition {
        const char* name;
        int arguments;
        Function function;
    };
    static const Definition definitions[] = {
        {"Val", 1, sqlVal},       {"Mid", 2, sqlMid},       {"Mid", 3, sqlMid},
        {"Left", 2, sqlLeft},     {"Right", 2, sqlRight},   {"Len", 1, sqlLen},
        {"UCase", 1, sqlUCase},   {"LCase", 1, sqlLCase},   {"Nz", 1, sqlNz},
        {"Nz", 2, sqlNz},         {"InStr", 2, sqlInStr},   {"InStr", 3, sqlInStr},
        {"CStr", 1, sqlCStr},     {"CInt", 1, sqlCInt},     {"CLng", 1, sqlCLng},
        {"CDbl", 1, sqlCDbl},     {"LIKEJET", 2, sqlLikeJet},
    };
    for (const Definition& d : definitions) {
        sqlite3_create_function_v2(db, d.name, d.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   d.function, nullptr, nullptr, nullptr);
    }
}

} // namespace platform
