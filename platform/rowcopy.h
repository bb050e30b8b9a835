#pragma once

// Copying the chosen rows of one table into another with one statement.

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace platform {

class Database;

// INSERT INTO `destination` SELECT `columns` FROM `source` WHERE `condition`,
// its ? bound to `params`: the values of `columns` (every column of
// `source` when empty) fill the destination's columns in order. Fails as
// Database::execute does. Each copied row met the source's column checks
// when it was written; when every destination column is declared exactly
// as the source column that fills it, those are the destination's checks
// too and they are not run again row by row.
void copyRows(Database& db, const QString& destination, const QString& source, const QStringList& columns,
              const QString& condition, const QVariantList& params);

} // namespace platform
