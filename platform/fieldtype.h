#pragma once

#include <QString>

namespace platform {

// The engine's column types, numbered as the original data-access layer
// numbers them; the declared type of every column keeps one of these.
enum class FieldType : int {
    Boolean = 1,
    Byte = 2,
    Integer = 3, // 16-bit
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    Date = 8,
    Text = 10,
    Memo = 12,
};

struct ColumnDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;                // Text: maximum characters
    bool allowZeroLength = false;
    bool required = false;
};

// Declared SQL type that stands for a column type ("VARCHAR(15)", "BYTE", ...)
QString declaredType(FieldType type, int size);
// Reads a declared SQL type back; unknown declarations read as Memo.
FieldType fieldTypeFromDeclared(const QString& declared, int* size = nullptr);
bool isIntegerType(FieldType type);
bool isNumericType(FieldType type);

} // namespace platform
