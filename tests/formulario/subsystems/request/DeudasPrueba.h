#pragma once

// Debt rows for the request form's tests: one row of F0913DEUDAS or one of
// its copies, with the columns a test cares about and plain values for the
// rest of the key.

#include "platform/database.h"

#include <QDate>
#include <QString>
#include <QVariant>

struct DeudaPrueba {
    int nTipoDoc = 6;
    QString sDocId = QStringLiteral("20100070970");
    QString sPeriodo = QStringLiteral("201003");
    int nSemana = 1;
    QString sIndTipDeu = QStringLiteral("01");
    QString sPerDoc = QStringLiteral("200901");
    QString sCodTri = QStringLiteral("010101");
    QString sNumDoc = QStringLiteral("0230010001");
    QString sIndVerDeu = QStringLiteral("00");
    QDate dFecDesDeu = QDate(2010, 3, 1);
    QString sTributoS = QStringLiteral("1000.00");
    QString sIntCapS = QStringLiteral("0.00");
    QString sIntS = QStringLiteral("100.00");
    QString sActS = QStringLiteral("1100.00");
    QVariant vAcog = 1;
    QVariant vConf = 1;
    QString sTributoC = QStringLiteral("1000");
    QString sIntCapC = QStringLiteral("0.00");
    QString sIntC = QStringLiteral("100.00");
    QString sActC = QStringLiteral("1100");
    QString sCodForDj = QStringLiteral("0");
    int nIndDeudaDj = 0;
    QString sIndImpugnado = QStringLiteral("00");
    QString sCnumero = QStringLiteral("000000");
};

inline void InsertaDeuda(platform::Database& db, const QString& sTabla, const DeudaPrueba& d)
{
    db.execute(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, semana, Ind_tip_deu, "
                              "per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, Ind_ver_deu, "
                              "Fec_des_deu, Num_cuo, Num_pro, mto_tributo_s, mto_int_cap_s, mto_int_s, mto_act_s, "
                              "ind_acog, ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c, Cod_for_dj, "
                              "Num_ord_dj, Ind_valor, Ind_deuda_dj, Ind_impugnado, cnumero) VALUES "
                              "(?, ?, ?, '0913', ?, ?, ?, ?, ?, '0', '017001', '0', ?, ?, 0, '0', ?, ?, ?, ?, ?, ?, "
                              "?, ?, ?, ?, ?, '0', 1, ?, ?, ?)")
                   .arg(sTabla),
               {d.nTipoDoc, d.sDocId, d.sPeriodo, d.nSemana, d.sIndTipDeu, d.sPerDoc, d.sCodTri, d.sNumDoc,
                d.sIndVerDeu, d.dFecDesDeu, d.sTributoS, d.sIntCapS, d.sIntS, d.sActS, d.vAcog, d.vConf,
                d.sTributoC, d.sIntCapC, d.sIntC, d.sActC, d.sCodForDj, d.nIndDeudaDj, d.sIndImpugnado, d.sCnumero});
}
