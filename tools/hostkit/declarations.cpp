#include "tools/hostkit/declarations.h"

#include "platform/database.h"

#include <QDate>

namespace hostkit {

namespace {

const QString kClave = QStringLiteral("tip_doc_d, doc_id_d, periodo, formulario, semana");

QVariantList Clave(const SampleDeclaration& d)
{
    return {6, d.docId, d.periodo, QStringLiteral("0913"), d.entidad};
}

// One debt: notified (kind 01 or 04, accepted at the stated amount) or the
// statement's summary row (06).
void insertDebt(platform::Database& db, const SampleDeclaration& d, int n, const QString& kind)
{
    const QString amount = QString::number(500 + 250 * n) + QStringLiteral(".00");
    const bool accepted = kind != QLatin1String("06");
    const QVariant zero = QStringLiteral("0.00");
    db.execute(QStringLiteral("INSERT OR IGNORE INTO F0913DEUDAS (%1, Ind_tip_deu, per_doc, cod_tri, Num_doc, "
                              "Cod_for, Cod_tip_doc, Cod_tri_aso, Ind_ver_deu, Fec_des_deu, Num_cuo, Num_pro, "
                              "mto_tributo_s, mto_int_cap_s, mto_int_s, mto_act_s, ind_acog, ind_conf, "
                              "mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c, Cod_for_dj, Num_ord_dj, "
                              "Ind_valor, Ind_deuda_dj, Ind_impugnado, cnumero) VALUES "
                              "(?, ?, ?, ?, ?, ?, ?, '010101', ?, '0621', '017001', '000000', '00', ?, 0, "
                              "'00000000000001', ?, '0.00', '0.00', ?, ?, ?, ?, ?, ?, ?, '', '', 1, 0, "
                              "'00', '000000')")
                   .arg(kClave),
               Clave(d) + QVariantList{kind, QStringLiteral("%1%2").arg(2014 - n / 12).arg(12 - n % 12, 2, 10, QChar(u'0')),
                                       QStringLiteral("0230%1").arg(n, 6, 10, QChar(u'0')),
                                       QDateTime(QDate::currentDate(), QTime()), amount, amount,
                                       accepted ? QVariant(1) : QVariant(), accepted ? QVariant(1) : QVariant(),
                                       accepted ? QVariant(amount) : QVariant(), accepted ? zero : QVariant(),
                                       accepted ? zero : QVariant(),
                                       accepted ? QVariant(amount.chopped(3)) : QVariant()});
}

// A debt entered by hand (kind 05), with the columns the debt dialog writes
// for a fine of ESSALUD and the control value they give.
void insertHandEnteredDebt(platform::Database& db, const SampleDeclaration& d, int n, const QString& control)
{
    const QString amount = QString::number(500 + 250 * n) + QStringLiteral(".00");
    db.execute(QStringLiteral("INSERT OR IGNORE INTO F0913DEUDAS (%1, Ind_tip_deu, per_doc, cod_tri, Num_doc, "
                              "Cod_for, Cod_tip_doc, Cod_tri_aso, Ind_ver_deu, Fec_ult_cap, Num_cuo, Num_pro, "
                              "mto_tributo_s, mto_int_cap_s, mto_int_s, mto_act_s, ind_acog, ind_conf, "
                              "mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c, Cod_for_dj, Num_ord_dj, "
                              "Ind_valor, Ind_deuda_dj, cnumero) VALUES "
                              "(?, ?, ?, ?, ?, '05', ?, '052106', ?, '0', '017004', '000000', '00', ?, 0, "
                              "'00000000000001', '0.00', '0.00', '0.00', '0.00', 1, 1, ?, '0.00', '0.00', ?, "
                              "'0', '20456712381', 1, 0, ?)")
                   .arg(kClave),
               Clave(d) + QVariantList{QStringLiteral("%1%2").arg(2014 - n / 12).arg(12 - n % 12, 2, 10, QChar(u'0')),
                                       QStringLiteral("0231040%1").arg(n, 6, 10, QChar(u'0')),
                                       QDateTime(QDate(1901, 1, 1), QTime(0, 0)), amount, amount.chopped(3),
                                       control});
}

// The control values of the ESSALUD declaration's debts entered by hand,
// in the order they are written.
const QStringList kHandEnteredControls{QStringLiteral("187512"), QStringLiteral("187456"),
                                       QStringLiteral("187494")};

void insertBox(platform::Database& db, const SampleDeclaration& d, const QString& casilla, const QString& valor)
{
    db.execute(QStringLiteral("INSERT OR IGNORE INTO DET (%1, Casilla, i_valor, idcasilla) VALUES (?, ?, ?, ?, ?, ?, ?, '01')")
                   .arg(kClave),
               Clave(d) + QVariantList{casilla, valor});
}

int guaranteeBox(int entidad)
{
    const QList<int> entidades{1, 2, 3, 5, 8};
    return 506 + 7 * int(entidades.indexOf(entidad));
}

} // namespace

const QList<SampleDeclaration>& sampleDeclarations()
{
    static const QList<SampleDeclaration> declarations{
        {QStringLiteral("20512345671"), QStringLiteral("201506"), 1, true, 6, 0},
        {QStringLiteral("20600112237"), QStringLiteral("201506"), 2, false, 8, 3},
        {QStringLiteral("10412345679"), QStringLiteral("201506"), 3, false, 5, 0},
        {QStringLiteral("20456712381"), QStringLiteral("201506"), 5, false, 4, 0},
        {QStringLiteral("20100070970"), QStringLiteral("201506"), 8, false, 12, 0},
    };
    return declarations;
}

void seedSampleDeclarations(platform::Database& db)
{
    db.beginTrans();
    try {
        for (const SampleDeclaration& d : sampleDeclarations()) {
            db.execute(QStringLiteral("INSERT OR IGNORE INTO CAB (%1, estado, bcolibrad, cheque, nrocheque, efectivo) "
                                      "VALUES (?, ?, ?, ?, ?, 1, 2, ?, ?, '')")
                           .arg(kClave),
                       Clave(d) + QVariantList{d.buenContrib ? QStringLiteral("1") : QStringLiteral("0"),
                                               QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))});
            db.execute(QStringLiteral("INSERT OR IGNORE INTO F0913GARANTIA (%1, ind_garantia, ind_persona, mto_deuda, "
                                      "mto_deuda_garantia) VALUES (?, ?, ?, ?, ?, '0', '1', '0.00', '0.00')")
                           .arg(kClave),
                       Clave(d));
            insertBox(db, d, QString::number(guaranteeBox(d.entidad)), QStringLiteral("0"));
            insertBox(db, d, QStringLiteral("028"), QStringLiteral("014441234"));
            insertBox(db, d, QStringLiteral("541"), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
            int n = 0;
            for (; n < d.deudas; ++n)
                insertDebt(db, d, n, n % 3 == 2 ? QStringLiteral("04") : QStringLiteral("01"));
            insertDebt(db, d, n++, QStringLiteral("06"));
            for (int i = 0; i < d.otrasResoluciones; ++i)
                insertHandEnteredDebt(db, d, n++, kHandEnteredControls.at(i));
            if (d.otrasResoluciones > 0)
                insertBox(db, d, QStringLiteral("545"), QStringLiteral("1"));
        }
        db.commitTrans();
    } catch (const platform::DbError&) {
        db.rollback();
        throw;
    }
}

} // namespace hostkit
