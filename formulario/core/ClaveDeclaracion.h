#pragma once

// The key of one declaration: document type and number, period, form number
// and creditor entity. Every table of the form carries these five columns
// (the entity's column is `semana`); a sent declaration's rows add `Correl`.

#include <QString>
#include <QVariantList>

namespace platform { class Recordset; }

struct ClaveDeclaracion {
    static inline const QString kFormulario = QStringLiteral("0913");

    int nTipoDoc = 6;   // 6 = RUC
    QString sNumDoc;
    QString sPeriodo;   // YYYYMM
    int nEntidad = 0;   // 1, 2, 3, 5 or 8
    QString sCorrel;    // sent declarations only; empty otherwise

    // "tip_doc_d = ? AND doc_id_d = ? AND periodo = ? AND formulario = ?
    // AND semana = ?" (and "AND Correl = ?" when the correlative is set),
    // each column preceded by `sAlias` and a point when one is given.
    QString Condicion(const QString& sAlias = {}) const;
    // The values of Condicion's placeholders, in their order.
    QVariantList Parametros() const;
    // Puts the key into the row being added or edited (Correl only when set).
    void Escribe(platform::Recordset& rs) const;
};

// The open declaration of the process-wide state (sPeriodo, nEntidad) for
// the declarant of that document type and number.
ClaveDeclaracion ClaveDeclaracionAbierta(int nTipoDoc, const QString& sNumDoc);
