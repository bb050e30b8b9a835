// The programs' statements are written in the old engine's SQL; this file
// rewrites them into the SQL that SQLite reads with the same meaning:
//
//   a & b              JETCAT(a, b): text concatenation, Null counting as ""
//   x Like 'a*'        LIKEJET(x, 'a*'): the old wildcards
//   DELETE * FROM t    DELETE FROM t
//   True, False        -1, 0
//   a * b, a / b, a - b   text operands read as numbers (JETNUM), not as their leading digits
//   x = 'y', f(x) < y, ORDER BY, GROUP BY, Max, Min, count(DISTINCT x)
//                      compared and sorted with the JET collation (the tables
//                      declare SQLite's own NOCASE, which keeps accents apart)
//   UNION (SELECT ...) the parentheses, which SQLite does not take, dropped
//   Semana = 1AND ...  a blank between a number and the word after it
//   Left(...), Right(...)   quoted, since SQLite reads LEFT and RIGHT as join words
//
// Only SELECT, INSERT, UPDATE and DELETE statements are rewritten.

#include "platform/dbinternal.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <algorithm>

namespace platform {

namespace {

struct Piece {
    enum Kind { Space, Word, Name, String, Number, Param, Op, Group, Call, Other };
    Kind kind;
    QString text;
    QString upper; // Word: the word in capitals; Group: its first word in capitals
    int param = -1; // Param: its place among the statement's parameters (see placeParameters)
};

using Pieces = QList<Piece>;

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Words that end an operand: an expression never runs across them.
bool isKeyword(const QString& upper)
{
    static const QSet<QString> keywords = {
        "SELECT", "FROM", "WHERE", "AND", "OR", "NOT", "ON", "AS", "BY", "ORDER", "GROUP", "HAVING",
        "UNION", "ALL", "INTERSECT", "EXCEPT", "DISTINCT", "LIKE", "IS", "IN", "BETWEEN", "CASE", "WHEN",
        "THEN", "ELSE", "END", "SET", "VALUES", "INTO", "ASC", "DESC", "LIMIT", "OFFSET", "JOIN", "INNER",
        "LEFT", "RIGHT", "OUTER", "CROSS", "EXISTS", "ESCAPE", "DELETE", "UPDATE", "INSERT", "TOP", "COLLATE",
    };
    return keywords.contains(upper);
}

bool isComparison(const Piece& piece)
{
    static const QSet<QString> operators = {"=", "==", "<>", "!=", "<", ">", "<=", ">="};
    return piece.kind == Piece::Op && operators.contains(piece.text);
}

// A piece that ends an operand of & or Like or a comparison.
bool isStopper(const Piece& piece)
{
    if (piece.kind == Piece::Word)
        return isKeyword(piece.upper);
    if (piece.kind == Piece::Op)
        return piece.text == QLatin1String(",") || piece.text == QLatin1String(";")
            || piece.text == QLatin1String("&") || isComparison(piece);
    return false;
}

bool isOperand(const Piece& piece)
{
    switch (piece.kind) {
    case Piece::Word:
        return !isKeyword(piece.upper);
    case Piece::Name: case Piece::String: case Piece::Number: case Piece::Param: case Piece::Group: case Piece::Call:
        return true;
    default:
        return false;
    }
}

// --- Reading the statement into pieces ----------------------------------------

qsizetype quotedEnd(const QString& sql, qsizetype start, QChar close)
{
    for (qsizetype i = start + 1; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < sql.size() && sql.at(i + 1) == close) {
            ++i; // a doubled quote stands for itself
            continue;
        }
        return i + 1;
    }
    return -1;
}

qsizetype numberEnd(const QString& sql, qsizetype i)
{
    const auto digits = [&] {
        while (i < sql.size() && sql.at(i).isDigit())
            ++i;
    };
    digits();
    if (i < sql.size() && sql.at(i) == QLatin1Char('.')) {
        ++i;
        digits();
    }
    if (i + 1 < sql.size() && (sql.at(i) == QLatin1Char('e') || sql.at(i) == QLatin1Char('E'))) {
        qsizetype k = i + 1;
        if (sql.at(k) == QLatin1Char('+') || sql.at(k) == QLatin1Char('-'))
            ++k;
        if (k < sql.size() && sql.at(k).isDigit()) {
            i = k;
            digits();
        }
    }
    return i;
}

// The flat pieces of the statement; false when a quote is left open.
bool tokenize(const QString& sql, Pieces* pieces)
{
    static const QStringList twoCharOperators = {"<>", "<=", ">=", "!=", "==", "||", "<<", ">>"};
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        qsizetype end = i + 1;
        Piece::Kind kind = Piece::Other;
        if (c.isSpace()) {
            while (end < sql.size() && sql.at(end).isSpace())
                ++end;
            kind = Piece::Space;
        } else if (c == QLatin1Char('-') && sql.mid(i, 2) == QLatin1String("--")) {
            end = sql.indexOf(QLatin1Char('\n'), i);
            end = end < 0 ? sql.size() : end;
            kind = Piece::Space;
        } else if (c == QLatin1Char('/') && sql.mid(i, 2) == QLatin1String("/*")) {
            end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? sql.size() : end + 2;
            kind = Piece::Space;
        } else if (c == QLatin1Char('\'')) {
            end = quotedEnd(sql, i, c);
            kind = Piece::String;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            end = quotedEnd(sql, i, c == QLatin1Char('[') ? QLatin1Char(']') : c);
            kind = Piece::Name;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < sql.size() && sql.at(i + 1).isDigit())) {
            end = numberEnd(sql, i);
            kind = Piece::Number;
        } else if (isWordStart(c)) {
            while (end < sql.size() && isWordChar(sql.at(end)))
                ++end;
            kind = Piece::Word;
        } else if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@')
                   || (c == QLatin1Char('$') && i + 1 < sql.size() && isWordChar(sql.at(i + 1)))) {
            while (end < sql.size() && isWordChar(sql.at(end)))
                ++end;
            kind = Piece::Param;
        } else {
            if (twoCharOperators.contains(sql.mid(i, 2)))
                end = i + 2;
            kind = Piece::Op;
        }
        if (end < 0)
            return false;
        const QString text = sql.mid(i, end - i);
        pieces->append({kind, text, kind == Piece::Word ? text.toUpper() : QString()});
        i = end;
    }
    return true;
}

// --- Rewriting one level of parentheses ---------------------------------------

const QString kCollate = QStringLiteral(" COLLATE JET");

QString joined(const Pieces& pieces, qsizetype from, qsizetype to)
{
    QString text;
    for (qsizetype i = from; i < to; ++i) {
        // A number run into the word after it ("1AND") is two words to the old engine.
        if (i > from && pieces.at(i).kind == Piece::Word && pieces.at(i - 1).kind == Piece::Number)
            text += QLatin1Char(' ');
        text += pieces.at(i).text;
    }
    return text;
}

qsizetype previousSolid(const Pieces& pieces, qsizetype i)
{
    do {
        --i;
    } while (i >= 0 && pieces.at(i).kind == Piece::Space);
    return i;
}

qsizetype nextSolid(const Pieces& pieces, qsizetype i)
{
    do {
        ++i;
    } while (i < pieces.size() && pieces.at(i).kind == Piece::Space);
    return i;
}

// First piece of the operand that ends at `last` (spaces inside kept).
qsizetype operandStart(const Pieces& pieces, qsizetype last)
{
    qsizetype start = last + 1;
    for (qsizetype i = last; i >= 0; --i) {
        if (pieces.at(i).kind == Piece::Space)
            continue;
        if (isStopper(pieces.at(i)))
            break;
        start = i;
    }
    return start;
}

// One past the last piece of the operand that starts at `first`.
qsizetype operandEnd(const Pieces& pieces, qsizetype first)
{
    qsizetype end = first;
    for (qsizetype i = first; i < pieces.size(); ++i) {
        if (pieces.at(i).kind == Piece::Space)
            continue;
        if (isStopper(pieces.at(i)))
            break;
        end = i + 1;
    }
    return end;
}

void replace(Pieces* pieces, qsizetype from, qsizetype to, const QString& text)
{
    pieces->remove(from, to - from);
    pieces->insert(from, {Piece::Call, text, {}});
}

// Qualified names (a.b, a.*) and calls (name(...)) become single pieces.
void joinNamesAndCalls(Pieces* pieces)
{
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        Piece& piece = (*pieces)[i];
        const bool named = piece.kind == Piece::Name || (piece.kind == Piece::Word && !isKeyword(piece.upper));
        if (named && i + 2 < pieces->size() && pieces->at(i + 1).text == QLatin1String(".")
            && (pieces->at(i + 2).kind == Piece::Word || pieces->at(i + 2).kind == Piece::Name
                || pieces->at(i + 2).text == QLatin1String("*"))) {
            piece = {Piece::Name, piece.text + QLatin1Char('.') + pieces->at(i + 2).text, {}};
            pieces->remove(i + 1, 2);
            --i; // a.b.c
            continue;
        }
        const qsizetype next = nextSolid(*pieces, i);
        const bool callable = piece.kind == Piece::Word
            && (!isKeyword(piece.upper) || piece.upper == QLatin1String("LEFT") || piece.upper == QLatin1String("RIGHT"));
        if (callable && next < pieces->size() && pieces->at(next).kind == Piece::Group) {
            const bool joinWord = piece.upper == QLatin1String("LEFT") || piece.upper == QLatin1String("RIGHT");
            const QString name = joinWord ? QLatin1Char('"') + piece.text + QLatin1Char('"') : piece.text;
            QString arguments = pieces->at(next).text;
            // The largest and smallest text, and the distinct values an
            // aggregate takes, are those of the old engine's order.
            const bool ordered = piece.upper == QLatin1String("MAX") || piece.upper == QLatin1String("MIN")
                || pieces->at(next).upper == QLatin1String("DISTINCT");
            if (ordered && !arguments.contains(QLatin1String("COLLATE"), Qt::CaseInsensitive))
                arguments.insert(arguments.size() - 1, kCollate);
            replace(pieces, i, next + 1, name + arguments);
        }
    }
}

// "UNION (SELECT ...)": the parentheses go.
void unwrapCompoundMembers(Pieces* pieces)
{
    static const QSet<QString> compound = {"UNION", "INTERSECT", "EXCEPT"};
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        Piece& piece = (*pieces)[i];
        if (piece.kind != Piece::Group || piece.upper != QLatin1String("SELECT"))
            continue;
        qsizetype before = previousSolid(*pieces, i);
        if (before >= 0 && pieces->at(before).upper == QLatin1String("ALL"))
            before = previousSolid(*pieces, before);
        const qsizetype after = nextSolid(*pieces, i);
        const bool member = (before >= 0 && compound.contains(pieces->at(before).upper))
            || (before < 0 && after < pieces->size() && compound.contains(pieces->at(after).upper));
        if (member)
            piece = {Piece::Other, QLatin1Char(' ') + piece.text.mid(1, piece.text.size() - 2) + QLatin1Char(' '), {}};
    }
}

void replaceWords(Pieces* pieces)
{
    const qsizetype first = nextSolid(*pieces, -1);
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        Piece& piece = (*pieces)[i];
        if (piece.kind != Piece::Word)
            continue;
        if (piece.upper == QLatin1String("TRUE"))
            piece = {Piece::Number, QStringLiteral("-1"), {}};
        else if (piece.upper == QLatin1String("FALSE"))
            piece = {Piece::Number, QStringLiteral("0"), {}};
        else if (i == first && piece.upper == QLatin1String("DELETE")) {
            const qsizetype star = nextSolid(*pieces, i);
            if (star < pieces->size() && pieces->at(star).text == QLatin1String("*"))
                pieces->remove(star);
        }
    }
}

// Operands of * / and binary - are numbers; a text is read whole, as the old engine read it.
void numericOperands(Pieces* pieces)
{
    const auto wrap = [&](qsizetype i) {
        if (i < 0 || i >= pieces->size())
            return;
        const Piece& piece = pieces->at(i);
        if (isOperand(piece) && piece.kind != Piece::Number)
            replace(pieces, i, i + 1, QStringLiteral("JETNUM(%1)").arg(piece.text));
    };
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        const Piece& piece = pieces->at(i);
        if (piece.kind != Piece::Op
            || (piece.text != QLatin1String("*") && piece.text != QLatin1String("/") && piece.text != QLatin1String("-")))
            continue;
        const qsizetype left = previousSolid(*pieces, i);
        const qsizetype right = nextSolid(*pieces, i);
        if (left < 0 || !isOperand(pieces->at(left)) || right >= pieces->size())
            continue; // unary minus, or the * of SELECT *
        wrap(left);
        wrap(right);
    }
}

// a & b & c -> JETCAT(a, b, c)
void concatenations(Pieces* pieces)
{
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        if (pieces->at(i).text != QLatin1String("&") || pieces->at(i).kind != Piece::Op)
            continue;
        const qsizetype start = operandStart(*pieces, i - 1);
        QStringList operands{joined(*pieces, start, i).trimmed()};
        qsizetype end = i;
        while (end < pieces->size() && pieces->at(end).text == QLatin1String("&")) {
            const qsizetype stop = operandEnd(*pieces, end + 1);
            operands.append(joined(*pieces, end + 1, stop).trimmed());
            end = stop;
            const qsizetype next = nextSolid(*pieces, end - 1);
            if (next < pieces->size() && pieces->at(next).text == QLatin1String("&"))
                end = next;
        }
        if (operands.contains(QString()))
            continue; // an operand is missing: SQLite reports the statement as it stands
        replace(pieces, start, end, QStringLiteral("JETCAT(%1)").arg(operands.join(QStringLiteral(", "))));
        i = start;
    }
}

// x [NOT] Like p -> [NOT] LIKEJET(x, p)
void likes(Pieces* pieces)
{
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        if (pieces->at(i).upper != QLatin1String("LIKE") || pieces->at(i).kind != Piece::Word)
            continue;
        qsizetype before = previousSolid(*pieces, i);
        const bool negated = before >= 0 && pieces->at(before).upper == QLatin1String("NOT");
        const qsizetype leftLast = negated ? previousSolid(*pieces, before) : before;
        const qsizetype start = operandStart(*pieces, leftLast);
        const qsizetype end = operandEnd(*pieces, i + 1);
        const QString text = joined(*pieces, start, leftLast + 1).trimmed();
        const QString pattern = joined(*pieces, i + 1, end).trimmed();
        if (text.isEmpty() || pattern.isEmpty())
            continue;
        replace(pieces, start, end,
                (negated ? QStringLiteral("NOT ") : QString()) + QStringLiteral("LIKEJET(%1, %2)").arg(text, pattern));
        i = start;
    }
}

// True when the piece before `from` or after `to` (the operands of one
// comparison) is COLLATE: the statement chose the comparison's collation.
bool collationChosen(const Pieces& pieces, qsizetype from, qsizetype to)
{
    const qsizetype before = previousSolid(pieces, from);
    const qsizetype after = nextSolid(pieces, to - 1);
    return (before >= 0 && pieces.at(before).upper == QLatin1String("COLLATE"))
        || (after < pieces.size() && pieces.at(after).upper == QLatin1String("COLLATE"));
}

// True when `text` is a text of digits in quotes.
bool isQuotedDigits(QStringView text)
{
    return text.size() >= 2 && text.front() == u'\'' && text.back() == u'\''
        && isDigitsAlone(text.sliced(1, text.size() - 2));
}

// True when the piece is a whole number, a text of digits alone or a list of
// such texts, as codes are written.
bool isDigitsLiteral(const Piece& piece)
{
    switch (piece.kind) {
    case Piece::Number:
        return piece.text.size() <= 18 && isDigitsAlone(piece.text); // longer ones are no whole numbers to SQLite
    case Piece::String:
        return isQuotedDigits(piece.text);
    case Piece::Group: {
        const QStringView items = QStringView(piece.text).sliced(1, piece.text.size() - 2);
        for (const QStringView item : items.tokenize(u','))
            if (!isQuotedDigits(item.trimmed()))
                return false;
        return true;
    }
    default:
        return false;
    }
}

// The parameters of the statement being rewritten.
struct Params {
    quint64 alike = 0;    // bound to values that compare as digits do (see Statement)
    quint64 compared = 0; // found alone on the right side of a comparison
};

// True when the right side of a comparison, from `first` to `end`, is a
// literal of digits alone or a parameter bound to a value that compares as
// one. Any text compares with these alike in SQLite's NOCASE and in the old
// engine's order (see isDigitsAlone), so such a comparison keeps to the
// column's own collation, and to its index.
bool comparesAsDigits(const Pieces& pieces, qsizetype first, qsizetype end, Params* params)
{
    if (end != first + 1)
        return false;
    const Piece& piece = pieces.at(first);
    if (piece.param < 0)
        return isDigitsLiteral(piece);
    const quint64 bit = quint64(1) << piece.param;
    params->compared |= bit;
    return (params->alike & bit) != 0;
}

// True when the = after the operand from `start` to `last` is an
// assignment of an UPDATE's SET: a column name right after SET or a comma.
bool isAssignment(const Pieces& pieces, qsizetype start, qsizetype last)
{
    const qsizetype before = previousSolid(pieces, start);
    return start == last && before >= 0
        && (pieces.at(before).upper == QLatin1String("SET") || pieces.at(before).text == QLatin1String(","));
}

// Every comparison of text takes the old engine's collation, written after
// its left side (whose collation rules in SQLite): the tables' columns
// declare only SQLite's own NOCASE, which keeps accents apart.
void comparisons(Pieces* pieces, Params* params)
{
    bool setClause = false;
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        const Piece& piece = pieces->at(i);
        if (piece.upper == QLatin1String("SET") || piece.upper == QLatin1String("WHERE"))
            setClause = piece.upper == QLatin1String("SET");
        const bool word = piece.kind == Piece::Word
            && (piece.upper == QLatin1String("IN") || piece.upper == QLatin1String("BETWEEN"));
        if (!word && !isComparison(piece))
            continue;
        qsizetype last = previousSolid(*pieces, i);
        if (word && last >= 0 && pieces->at(last).upper == QLatin1String("NOT"))
            last = previousSolid(*pieces, last);
        if (last < 0)
            continue;
        const qsizetype start = operandStart(*pieces, last);
        const qsizetype right = nextSolid(*pieces, i);
        const qsizetype end = operandEnd(*pieces, right);
        if (start > last || (setClause && piece.text == QLatin1String("=") && isAssignment(*pieces, start, last))
            || collationChosen(*pieces, start, end)
            || (piece.upper != QLatin1String("BETWEEN") && comparesAsDigits(*pieces, right, end, params)))
            continue;
        pieces->insert(last + 1, {Piece::Other, kCollate, {}});
        ++i; // the operator moved one place on
    }
}

// A piece that ends an ORDER BY or GROUP BY clause.
bool endsClause(const Piece& piece)
{
    static const QSet<QString> words = {"LIMIT", "OFFSET", "HAVING", "ORDER", "UNION", "INTERSECT", "EXCEPT"};
    return piece.text == QLatin1String(";") || (piece.kind == Piece::Word && words.contains(piece.upper));
}

bool endsTerm(const Piece& piece)
{
    return piece.text == QLatin1String(",") || endsClause(piece)
        || (piece.kind == Piece::Word && (piece.upper == QLatin1String("ASC") || piece.upper == QLatin1String("DESC")));
}

// Every term of ORDER BY and GROUP BY sorts and groups with the old engine's collation.
void orderAndGroupTerms(Pieces* pieces)
{
    for (qsizetype i = 0; i < pieces->size(); ++i) {
        if (pieces->at(i).upper != QLatin1String("ORDER") && pieces->at(i).upper != QLatin1String("GROUP"))
            continue;
        const qsizetype by = nextSolid(*pieces, i);
        if (by >= pieces->size() || pieces->at(by).upper != QLatin1String("BY"))
            continue;
        qsizetype term = by + 1;
        while (term < pieces->size()) {
            qsizetype end = term;
            bool collated = false;
            for (; end < pieces->size() && !endsTerm(pieces->at(end)); ++end)
                collated = collated || pieces->at(end).upper == QLatin1String("COLLATE");
            qsizetype last = previousSolid(*pieces, end);
            if (last >= term && !collated) {
                pieces->insert(last + 1, {Piece::Other, kCollate, {}});
                ++end;
            }
            while (end < pieces->size() && pieces->at(end).text != QLatin1String(",") && !endsClause(pieces->at(end)))
                ++end; // past ASC or DESC
            if (end >= pieces->size() || pieces->at(end).text != QLatin1String(","))
                break;
            term = end + 1;
        }
        i = by;
    }
}

QString rewriteLevel(Pieces pieces, Params* params)
{
    joinNamesAndCalls(&pieces);
    unwrapCompoundMembers(&pieces);
    replaceWords(&pieces);
    numericOperands(&pieces);
    concatenations(&pieces);
    likes(&pieces);
    comparisons(&pieces, params);
    orderAndGroupTerms(&pieces);
    return joined(pieces, 0, pieces.size());
}

// Rewrites each parenthesised group, innermost first; false when the
// parentheses do not pair.
bool rewrite(const Pieces& flat, qsizetype* position, bool nested, Params* params, QString* result)
{
    Pieces level;
    while (*position < flat.size()) {
        const Piece& piece = flat.at((*position)++);
        if (piece.kind == Piece::Op && piece.text == QLatin1String(")")) {
            if (!nested)
                return false;
            *result = rewriteLevel(level, params);
            return true;
        }
        if (piece.kind == Piece::Op && piece.text == QLatin1String("(")) {
            const qsizetype first = nextSolid(flat, *position - 1);
            QString inner;
            if (!rewrite(flat, position, true, params, &inner))
                return false;
            const QString upper = first < flat.size() ? flat.at(first).upper : QString();
            level.append({Piece::Group, QLatin1Char('(') + inner + QLatin1Char(')'), upper});
            continue;
        }
        level.append(piece);
    }
    if (nested)
        return false;
    *result = rewriteLevel(level, params);
    return true;
}

// Gives each ? its place among the statement's parameters, the first 64
// alone (see Params). Numbered and named parameters, which SQLite places
// otherwise, leave every parameter unplaced: their comparisons then always
// take the old engine's collation.
void placeParameters(Pieces* pieces)
{
    const auto numberedOrNamed = [](const Piece& piece) {
        return piece.kind == Piece::Param && piece.text != QLatin1String("?");
    };
    if (std::any_of(pieces->cbegin(), pieces->cend(), numberedOrNamed))
        return;
    int place = 0;
    for (Piece& piece : *pieces) {
        if (piece.kind == Piece::Param)
            piece.param = place < 64 ? place++ : -1;
    }
}

QString translate(const QString& sql, Params* params)
{
    Pieces flat;
    if (!tokenize(sql, &flat))
        return sql;
    const qsizetype first = nextSolid(flat, -1);
    static const QSet<QString> rewritten = {"SELECT", "INSERT", "UPDATE", "DELETE"};
    if (first >= flat.size() || (!rewritten.contains(flat.at(first).upper) && flat.at(first).text != QLatin1String("(")))
        return sql;
    placeParameters(&flat);
    qsizetype position = 0;
    QString result;
    if (rewrite(flat, &position, false, params, &result))
        return result;
    params->compared = 0;
    return sql;
}

} // namespace

// No character but a digit weighs as a digit in SQLite's NOCASE or in the
// old engine's order, and every other character falls on the same side of a
// digit in both (a letter, accented or not, weighs more), so any text
// compares with digits alone alike in the two.
bool isDigitsAlone(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

EngineSql adaptToEngine(const QString& sql, quint64 alikeParams)
{
    // The programs run the same few statements many times over; the rewrites
    // of one statement differ only in the parameters it compares.
    struct Rewrites {
        quint64 compared = 0;
        QHash<quint64, QString> byKept;
    };
    static QHash<QString, Rewrites> cache;
    const auto found = cache.constFind(sql);
    if (found != cache.constEnd()) {
        const quint64 kept = alikeParams & found->compared;
        const auto rewritten = found->byKept.constFind(kept);
        if (rewritten != found->byKept.constEnd())
            return {rewritten.value(), kept};
    }
    if (cache.size() > 500)
        cache.clear();
    Params params{alikeParams};
    const QString adapted = translate(sql, &params);
    const quint64 kept = alikeParams & params.compared;
    Rewrites& rewrites = cache[sql];
    rewrites.compared = params.compared;
    rewrites.byKept.insert(kept, adapted);
    return {adapted, kept};
}

qsizetype topLevelFrom(const QString& sql)
{
    Pieces flat;
    if (!tokenize(sql, &flat))
        return -1;
    int depth = 0;
    qsizetype offset = 0;
    for (const Piece& piece : std::as_const(flat)) {
        if (piece.text == QLatin1String("("))
            ++depth;
        else if (piece.text == QLatin1String(")"))
            --depth;
        else if (depth == 0 && piece.upper == QLatin1String("FROM"))
            return offset;
        offset += piece.text.size();
    }
    return -1;
}

} // namespace platform
