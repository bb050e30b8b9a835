#include "platform/dberror.h"
#include "platform/dbinternal.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <map>
#include <sqlite3.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

DbError::DbError(int number, const QString& description, const QStringList& errors, const QString& engineText)
    : std::runtime_error(description.toStdString()),
      number_(number),
      description_(description),
      errors_(errors.isEmpty() ? QStringList{description} : errors),
      engineText_(engineText)
{
}

void throwOverflow()
{
    throw DbError(dberr::Overflow, QStringLiteral("Desbordamiento"));
}

void throwTypeMismatch()
{
    throw DbError(dberr::RuntimeTypeMismatch, QStringLiteral("No coinciden los tipos"));
}

namespace {

const char* const kFunctionErrorTag = "jet:";

// The engine's texts; "%1" takes the name, path or detail of the failure.
QString messageText(int number)
{
    static const std::map<int, const char*> texts = {
        {7, "Memoria insuficiente"},
        {61, "Disco lleno"},
        {3000, "Error reservado (%1); no hay mensaje para este error."},
        {3001, "Argumento no válido."},
        {3010, "La tabla '%1' ya existe."},
        {3020, "Actualizar o CancelarActualización sin AgregarNuevo o Modificar."},
        {3021, "No hay registro activo."},
        {3022, "No se realizaron los cambios en la tabla porque se crearían valores duplicados en el índice, "
               "clave principal o relación. Cambie los datos en el campo o los campos que contienen datos "
               "duplicados, quite el índice o vuelva a definirlo para permitir entradas duplicadas e "
               "inténtelo de nuevo."},
        {3024, "No se encuentra el archivo '%1'."},
        {3027, "No se puede actualizar. La base de datos o el objeto es de sólo lectura."},
        {3028, "No se puede iniciar la aplicación. Falta el archivo de información de grupo de trabajo o "
               "está abierto exclusivamente por otro usuario."},
        {3034, "Ha intentado confirmar o deshacer una transacción sin comenzar antes una transacción."},
        {3043, "Error de disco o de red."},
        {3049, "No se puede abrir la base de datos '%1'. Puede que no sea una base de datos que su aplicación "
               "reconozca o que el archivo esté dañado."},
        {3051, "El motor de base de datos no puede abrir el archivo '%1'. Ya está abierto en modo exclusivo "
               "por otro usuario o necesita permiso para ver sus datos."},
        {3061, "Pocos parámetros. Se esperaba %1."},
        {3065, "No se puede ejecutar una consulta de selección."},
        {3075, "Error de sintaxis en la expresión de consulta '%1'."},
        {3078, "El motor de base de datos no puede encontrar la tabla o consulta de entrada '%1'. Asegúrese "
               "de que existe y de que su nombre está escrito correctamente."},
        {3085, "Función '%1' no definida en la expresión."},
        {3142, "Caracteres encontrados después del final de la instrucción SQL."},
        {3163, "El campo es demasiado pequeño para aceptar la cantidad de datos que intentó agregar. Intente "
               "insertar o pegar menos datos."},
        {3164, "No se puede actualizar el campo."},
        {3167, "El registro se ha eliminado."},
        {3204, "La base de datos ya existe."},
        {3219, "Operación no válida."},
        {3265, "Elemento no encontrado en esta colección."},
        {3283, "Ya existe una clave principal."},
        {3314, "El campo '%1' no puede contener un valor Null porque la propiedad Requerido para este campo "
               "está establecida a True. Escriba un valor en este campo."},
        {3315, "El campo '%1' no puede ser una cadena de longitud cero."},
        {3343, "Formato de base de datos no reconocido '%1'."},
        {3349, "Desbordamiento del campo numérico."},
        {3376, "La tabla '%1' no existe."},
        {3421, "Error de conversión de tipo de datos."},
        {3464, "No coinciden los tipos de datos en la expresión de criterios."},
        {40002, "S1000 No se pudo bloquear la tabla; está en uso por otro usuario o proceso."},
    };
    const auto found = texts.find(number);
    return QString::fromUtf8(found != texts.end() ? found->second : texts.at(3000));
}

QString describe(int number, const QString& arg)
{
    QString text = messageText(number);
    return text.contains(QLatin1String("%1")) ? text.arg(arg) : text;
}

[[noreturn]] void fail(int number, const QString& arg, const QString& engineMessage)
{
    throw DbError(number, describe(number, arg), {}, engineMessage);
}

QString unquoted(QString name)
{
    static const QRegularExpression quotes(QStringLiteral("[\"`\\[\\]]"));
    name.remove(quotes);
    return name.startsWith(QLatin1String("main.")) ? name.mid(5) : name;
}

// The name after "<prefix>" in an engine message, without quotes or schema.
QString nameAfter(const QString& message, const QString& prefix)
{
    return unquoted(message.mid(message.indexOf(prefix) + prefix.size()).trimmed());
}

[[noreturn]] void failConstraint(int extended, const QString& message)
{
    if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
        fail(dberr::DuplicateKey, {}, message);
    if (extended == SQLITE_CONSTRAINT_NOTNULL)
        fail(dberr::FieldRequired, message.section(QLatin1Char('.'), -1), message);
    if (extended == SQLITE_CONSTRAINT_CHECK) {
        // Constraints made by createTable are named "<kind>$<column>".
        const QString name = nameAfter(message, QStringLiteral("failed:"));
        const QString column = name.section(QLatin1Char('$'), 1);
        if (name.startsWith(QLatin1String("len$")))
            fail(dberr::FieldTooSmall, column, message);
        if (name.startsWith(QLatin1String("rng$")))
            fail(dberr::NumericOverflow, column, message);
        if (name.startsWith(QLatin1String("zl$")))
            fail(dberr::ZeroLength, column, message);
    }
    fail(dberr::Generic, QString::number(extended), message);
}

// A read or write the disk refused. The engine tells a full disk so only
// where it knows it; where the system said so, it is one too.
[[noreturn]] void failInputOutput(sqlite3* db, int extended, const QString& message)
{
    if (extended == SQLITE_IOERR_NOMEM)
        fail(dberr::OutOfMemory, {}, message);
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    fail(systemError == ENOSPC || systemError == EDQUOT ? dberr::DiskFull : dberr::DiskError, {}, message);
}

// True when the file system holding `file` has no block or no inode left for
// this process (root may use the blocks kept back from others). A file
// system that counts no inodes at all (btrfs) is never out of them.
bool noRoomBeside(const QString& file)
{
    struct statvfs disk {};
    if (file.isEmpty() || ::statvfs(QFile::encodeName(QFileInfo(file).path()).constData(), &disk) != 0)
        return false;
    const bool root = ::geteuid() == 0;
    const auto exhausted = [](auto total, auto left) { return total > 0 && left == 0; };
    return exhausted(disk.f_blocks, root ? disk.f_bfree : disk.f_bavail)
        || exhausted(disk.f_files, root ? disk.f_ffree : disk.f_favail);
}

// A file the engine could not open. Mid-statement that is its journal, made
// beside the database. The system's error does not tell a disk without room
// for it (the engine tries again to open it read-only and keeps that
// error), so the disk itself tells it from a database held by someone else.
[[noreturn]] void failOpening(const QString& file, const QString& message)
{
    fail(noRoomBeside(file) ? dberr::DiskFull : dberr::AlreadyExclusive, file, message);
}

} // namespace

void throwDbError(int number, const QString& arg)
{
    throw DbError(number, describe(number, arg));
}

QByteArray functionErrorMessage(int number)
{
    return kFunctionErrorTag + QByteArray::number(number);
}

void throwEngineError(sqlite3* db, int code, const QString& sql)
{
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    const QString message = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));

    if (message.startsWith(QLatin1String(kFunctionErrorTag)))
        fail(message.mid(qstrlen(kFunctionErrorTag)).toInt(), {}, message);
    const QString file = db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString();
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        fail(dberr::TableLocked, {}, message);
    case SQLITE_FULL:
        fail(dberr::DiskFull, {}, message);
    case SQLITE_IOERR:
        failInputOutput(db, extended, message);
    case SQLITE_NOMEM:
        fail(dberr::OutOfMemory, {}, message);
    case SQLITE_CORRUPT:
        fail(dberr::DamagedDatabase, file, message);
    case SQLITE_NOTADB:
        fail(dberr::UnrecognizedFormat, file, message);
    case SQLITE_CANTOPEN:
        failOpening(file, message);
    case SQLITE_PERM:
    case SQLITE_AUTH:
        fail(dberr::AlreadyExclusive, file, message);
    case SQLITE_CONSTRAINT:
        failConstraint(extended, message);
    case SQLITE_READONLY:
        if (extended == SQLITE_READONLY_DBMOVED) // deleted or moved while the connection had it open
            fail(dberr::FileNotFound, file, message);
        fail(dberr::NotUpdatable, {}, message);
    case SQLITE_MISMATCH:
        fail(dberr::TypeMismatch, {}, message);
    case SQLITE_TOOBIG:
        fail(dberr::FieldTooSmall, {}, message);
    default:
        break;
    }
    if (message.startsWith(QLatin1String("no such table:"))) {
        static const QRegularExpression drop(QStringLiteral("^\\s*DROP\\s+TABLE\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
        const QString table = nameAfter(message, QStringLiteral("no such table:"));
        fail(drop.match(sql).hasMatch() ? dberr::TableNotFoundDrop : dberr::NoSuchTable, table, message);
    }
    if (message.startsWith(QLatin1String("no such column:")))
        fail(dberr::TooFewParameters, QStringLiteral("1"), message);
    if (message.startsWith(QLatin1String("no such function:")))
        fail(dberr::UndefinedFunction, nameAfter(message, QStringLiteral("no such function:")), message);
    if (message.startsWith(QLatin1String("wrong number of arguments to function ")))
        fail(dberr::UndefinedFunction, message.section(QLatin1Char(' '), -1).remove(QStringLiteral("()")), message);
    if (message.startsWith(QLatin1String("table ")) && message.endsWith(QLatin1String(" already exists")))
        fail(dberr::TableExists, unquoted(message.section(QLatin1Char(' '), 1, -3)), message);
    if (message.contains(QLatin1String("syntax error")) || message.startsWith(QLatin1String("incomplete input"))
        || message.startsWith(QLatin1String("unrecognized token")))
        fail(dberr::SyntaxError, sql.isEmpty() ? message : sql.simplified(), message);
    // As the old engine named its reserved errors: by number, the text going
    // to the log only.
    fail(dberr::Generic, QString::number(extended), message);
}

} // namespace platform
