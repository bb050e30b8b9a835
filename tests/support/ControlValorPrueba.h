#pragma once

// Checks that rows of the form's tables store in cnumero the control value
// that their other columns give.

#include "formulario/core/ControlValor.h"
#include "platform/database.h"

#include <gtest/gtest.h>

// Every row `sql` selects (at least one) holds the control value of its
// columns with the split `nParticion`.
inline void ControlesCorrectos(platform::Database& db, const QString& sql, const QVariantList& params,
                               int nParticion)
{
    auto rs = db.openRecordset(sql, params, platform::RecordsetType::Dynaset);
    ASSERT_FALSE(rs->eof()) << sql.toStdString();
    for (; !rs->eof(); rs->moveNext()) {
        const QString sGuardado = rs->field(QStringLiteral("cnumero")).text();
        rs->edit();
        EXPECT_EQ(sGuardado, FormateaCampo(*rs, nParticion)) << sql.toStdString();
        EXPECT_EQ(sGuardado.size(), 6) << sql.toStdString();
        rs->cancelUpdate();
    }
}
