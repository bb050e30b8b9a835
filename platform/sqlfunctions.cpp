// Functions of the old engine's SQL dialect that the programs' statements use,
// with Visual Basic's meanings, and the old engine's text order (the JET
// collation). Trim, LTrim, RTrim and IIf are SQLite's own, which already
// behave so; SQLite's length() is given Len's whole measure of a text.

#include "platform/dberror.h"
#include "platform/dbinternal.h"

#include <QList>
#include <array>
#include <cmath>
#include <sqlite3.h>

namespace platform {

namespace {

// --- Text order ----------------------------------------------------------------

// Weight of a character in the old engine's Spanish order: capitals and small
// letters weigh the same, accents are ignored, and Ñ comes between N and O.
uint jetWeight(char32_t c)
{
    static const auto latin = [] {
        std::array<uint, 256> weights{};
        for (char32_t i = 0; i < 256; ++i) {
            char32_t base = i;
            if (i >= 'a' && i <= 'z')
                base = i - 32;
            else if (i >= 0xC0) {
                const QString decomposed = QString(QChar(i)).normalized(QString::NormalizationForm_D);
                base = decomposed.at(0).toUpper().unicode();
            }
            weights[i] = base * 2;
        }
        weights[0xD1] = weights[0xF1] = 'N' * 2 + 1; // Ñ ñ
        weights[0xD7] = 0xD7 * 2;                    // the multiplication sign stays itself
        weights[0xF7] = 0xF7 * 2;                    // and so does the division sign
        return weights;
    }();
    if (c < 256)
        return latin[c];
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
        return uint(c) * 2; // outside the basic plane nothing is folded
    const QString text = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D).toUpper();
    return uint(text.isEmpty() ? c : text.at(0).unicode()) * 2;
}

// The next character of UTF-8 text; `i` moves past it.
char32_t nextCharacter(const unsigned char* text, int size, int* i)
{
    const unsigned char lead = text[(*i)++];
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra && *i < size; ++k)
        c = (c << 6) | (text[(*i)++] & 0x3F);
    return c;
}

// Weight of the character at `i` of UTF-8 text; `i` moves past it. Plain
// ASCII, nearly all the stored text, weighs its capital without decoding.
uint nextWeight(const unsigned char* text, int size, int* i)
{
    const unsigned char c = text[*i];
    if (c < 0x80) {
        ++*i;
        return uint(c >= 'a' && c <= 'z' ? c - 32 : c) * 2;
    }
    return jetWeight(nextCharacter(text, size, i));
}

int jetCollation(void*, int leftSize, const void* left, int rightSize, const void* right)
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    int i = 0, j = 0;
    while (i < leftSize && j < rightSize) {
        // The same ASCII byte on both sides weighs the same.
        if (a[i] == b[j] && a[i] < 0x80) {
            ++i;
            ++j;
            continue;
        }
        const uint x = nextWeight(a, leftSize, &i);
        const uint y = nextWeight(b, rightSize, &j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return (i < leftSize) - (j < rightSize);
}

// --- Functions -----------------------------------------------------------------

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

// JETCAT(a, b, ...): the old engine's a & b & ...; a Null counts as "", and
// only Nulls throughout give Null.
void sqlJetCat(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    QString text;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        if (!isNull(argv[i])) {
            text += textOf(argv[i]);
            allNull = false;
        }
    }
    if (allNull)
        sqlite3_result_null(context);
    else
        resultText(context, text);
}

// The stored text when it is plain ASCII (one character a byte), else null.
// The table checks and the arithmetic of every copied row meet mostly such
// text, which then needs no conversion.
const unsigned char* asciiText(sqlite3_value* value, int* size)
{
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return nullptr;
    const unsigned char* text = sqlite3_value_text(value);
    *size = sqlite3_value_bytes(value);
    for (int i = 0; i < *size; ++i) {
        if (text[i] >= 0x80)
            return nullptr;
    }
    return text;
}

// Text of digits alone (as amounts are stored) is the whole number it spells;
// true when `value` was such text and is the result.
bool wholeDigits(sqlite3_context* context, sqlite3_value* value)
{
    int size = 0;
    const unsigned char* text = asciiText(value, &size);
    if (!text || size == 0 || size > 18)
        return false;
    qint64 number = 0;
    for (int i = 0; i < size; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        number = number * 10 + (text[i] - '0');
    }
    sqlite3_result_int64(context, number);
    return true;
}

// JETNUM(x): an operand of arithmetic. A text counts as the number it spells
// out whole; any other text is a type mismatch.
void sqlJetNum(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (nullArgument(context, argc, argv))
        return;
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        sqlite3_result_value(context, argv[0]);
        return;
    }
    if (wholeDigits(context, argv[0]))
        return;
    double number = 0;
    if (type == SQLITE_BLOB) {
        resultError(context, dberr::TypeMismatch);
        return;
    }
    if (!numberOf(context, argv[0], &number))
        return;
    bool whole = false;
    const qint64 integer = textOf(argv[0]).trimmed().toLongLong(&whole);
    if (whole)
        sqlite3_result_int64(context, integer);
    else
        sqlite3_result_double(context, number);
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
    if (nullArgument(context, argc, argv))
        return;
    int size = 0;
    if (asciiText(argv[0], &size))
        sqlite3_result_int64(context, size);
    else
        sqlite3_result_int64(context, textOf(argv[0]).size());
}

// length(x), SQLite's own but for text, which it counts only up to a NUL
// character: here a text counts whole, as Len counts it. The size checks of
// the layer's tables call length(), so that any tool can check the file and
// this connection still measures a value with a NUL whole.
void sqlLength(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_TEXT:
        sqlLen(context, argc, argv);
        break;
    case SQLITE_NULL:
        sqlite3_result_null(context);
        break;
    default: // a blob's bytes, the digits of a number
        sqlite3_result_int64(context, sqlite3_value_bytes(argv[0]));
        break;
    }
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
    QList<QPair<uint, uint>> ranges; // CharList: ranges of collation weights
    bool negated = false;            // CharList: [!...]
    uint literal = 0;                // Literal: collation weight
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
                const uint from = jetWeight(list.at(j).unicode());
                if (j + 2 < list.size() && list.at(j + 1) == QLatin1Char('-')) {
                    token.ranges.append({from, jetWeight(list.at(j + 2).unicode())});
                    j += 2;
                } else {
                    token.ranges.append({from, from});
                }
            }
            if (!token.ranges.isEmpty() || token.negated) // "[]" matches the empty text
                tokens.append(token);
            i = end;
        } else {
            tokens.append({PatternToken::Literal, {}, false, jetWeight(c.unicode())});
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
        return jetWeight(c.unicode()) == token.literal;
    case PatternToken::CharList: {
        const uint folded = jetWeight(c.unicode());
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
// letters compared as the JET collation compares them.
void sqlLikeJet(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (!nullArgument(context, argc, argv))
        sqlite3_result_int(context, likeJet(textOf(argv[0]), parsePattern(textOf(argv[1]))) ? 1 : 0);
}

} // namespace

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
        {"CDbl", 1, sqlCDbl},     {"LIKEJET", 2, sqlLikeJet}, {"JETCAT", -1, sqlJetCat},
        {"JETNUM", 1, sqlJetNum}, {"length", 1, sqlLength},
    };
    // Innocuous: the checks of the layer's tables call length (and Len in
    // files made before they kept to SQLite's own functions).
    for (const Definition& d : definitions) {
        sqlite3_create_function_v2(db, d.name, d.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                   nullptr, d.function, nullptr, nullptr, nullptr);
    }
    sqlite3_create_collation_v2(db, "JET", SQLITE_UTF8, nullptr, jetCollation, nullptr);
}

} // namespace platform
