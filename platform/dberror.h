#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace platform {

// Every failure of the database layer: the old engine's error number and the
// Spanish description the user is shown. `errors` is the old engine's error
// list, Spanish texts the user may be shown too (most specific first); it
// always holds at least the description. `engineText` is SQLite's own
// message, in English: it is for the error log, never for a box.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description, const QStringList& errors = {}, const QString& engineText = {});

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const QStringList& errors() const { return errors_; }
    const QString& engineText() const { return engineText_; }

private:
    int number_;
    QString description_;
    QStringList errors_;
    QString engineText_;
};

// Engine error numbers the programs look at.
namespace dberr {
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int WorkgroupFile = 3028;
constexpr int AlreadyExclusive = 3051; // database held exclusively by another process
constexpr int TableExists = 3010;
constexpr int ItemNotFound = 3265;     // no such field / item in a collection
constexpr int NoSuchTable = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int UpdateWithoutEdit = 3020;
constexpr int PrimaryKeyExists = 3283;
constexpr int NotUpdatable = 3027;
constexpr int FieldRequired = 3314;
constexpr int ZeroLength = 3315;
constexpr int NumericOverflow = 3349;
constexpr int SyntaxError = 3075;
constexpr int TypeMismatch = 3464;
constexpr int TableNotFoundDrop = 3376;
constexpr int NoTransaction = 3034;
constexpr int TableLocked = 40002;     // description starts with "S1000"
constexpr int Generic = 3000;

// Run-time errors of the language that reach the same error handlers.
constexpr int Overflow = 6;
constexpr int RuntimeTypeMismatch = 13;
constexpr int InternalError = 51; // a failure that is none of the above
} // namespace dberr

// Raise the run-time errors above with their usual texts.
[[noreturn]] void throwOverflow();
[[noreturn]] void throwTypeMismatch();

} // namespace platform
