// Times the save of a declaration of 1,000, 10,000 and 100,000 debts (the
// whole GrabaFormulario: header, boxes, the debt, reason and evidence tables
// copied back from the work tables, commit; the saved copy of the debts is
// there already, as when a loaded declaration is saved again) beside a
// baseline that copies the same debts into the same empty table with one
// INSERT ... SELECT in one transaction, and beside a second one that copies
// them as the save must, with the declaration's key as the condition.
// SQLite copies an unfiltered INSERT ... SELECT into an empty table of the
// same layout record by record, without building its key again; a copy
// with a condition builds each row's key, as the save's own copy does.
//
//   grabacion_bench [debts...]

#include "bench/benchmark.h"
#include "formulario/subsystems/request/GrabaDeclaracion.h"

#include <QTemporaryDir>
#include <cstdio>

namespace {

const QString kRuc = QStringLiteral("20100070970");

// A fresh host with the form's tables; the main program's state points at it.
void preparaHost(const QString& carpeta)
{
    bench::installHost(carpeta);
    sPeriodo = QStringLiteral("201003");
    nEntidad = 1;
}

// `nDeudas` debts of the declaration in the work table and, saved before,
// in F0913DEUDAS; its header as the import writes it.
void preparaDeclaracion(int nDeudas)
{
    oBaseDatos->execute(QStringLiteral("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana, estado, "
                                       "bcolibrad, cheque, nrocheque, efectivo, cNumero) "
                                       "VALUES (6, ?, '201003', '0913', 1, 0, 3, '0', '01/03/2010', '0', '000000')"),
                        {kRuc});
    oBaseDatos->execute(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                       "INSERT INTO TMP_F0913DEUDAS SELECT 6, ?, '201003', '0913', 1, '01', '200901', '010101', "
                       "printf('%010d', i), '0', '017001', '0', '00', '2010-03-01 00:00:00', 0, NULL, '0', "
                       "'1000.00', '50.00', '100.00', '1150.00', 1, 1, '1000', '50.00', '112.60', '1163', '0', "
                       "'0', 1, 0, '00', '123456' FROM n"),
        {nDeudas, kRuc});
    oBaseDatos->execute(QStringLiteral("INSERT INTO F0913DEUDAS SELECT * FROM TMP_F0913DEUDAS"));
}

DeclaracionFormulario datos()
{
    DeclaracionFormulario d;
    d.clave.sNumDoc = kRuc;
    d.clave.sPeriodo = sPeriodo;
    d.clave.nEntidad = 1;
    d.sTelefono = QStringLiteral("4411234");
    d.sFechaAcog = QStringLiteral("31/03/2010");
    d.sTiposGarantia = QStringLiteral("010");
    d.bFusion = false;
    d.casillas = {{500, "12,345"}, {501, "0"}, {503, "12"}, {504, "1,030"}, {505, "8030"}, {506, "SI"}, {535, "2,469"}};
    return d;
}

// Seconds that one INSERT ... SELECT of the debts (with `sCondicion`) into
// the emptied F0913DEUDAS of a fresh host takes, in one transaction.
double copia(int nDeudas, const QString& sCondicion)
{
    QTemporaryDir base;
    preparaHost(base.path());
    preparaDeclaracion(nDeudas);
    oBaseDatos->execute(QStringLiteral("DELETE FROM F0913DEUDAS"));
    const double t = bench::seconds([&] {
        oBaseDatos->beginTrans();
        oBaseDatos->execute(QStringLiteral("INSERT INTO F0913DEUDAS SELECT * FROM TMP_F0913DEUDAS") + sCondicion);
        oBaseDatos->commitTrans();
    });
    oBaseDatos.reset();
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    bench::Application app(argc, argv);
    bench::printHeader("debts", {{"save (s)", "copy (s)"}, {"save (s)", "keyed (s)"}});
    for (const int nDeudas : app.sizes()) {
        QTemporaryDir grabacion;
        preparaHost(grabacion.path());
        preparaDeclaracion(nDeudas);
        const DeclaracionFormulario d = datos();
        const double tGraba = bench::seconds([&] {
            if (!GrabaFormulario(d, QStringLiteral("grabacion_bench"))) {
                std::fprintf(stderr, "the save failed\n");
                std::exit(1);
            }
        });
        oBaseDatos.reset();

        const double tBase = copia(nDeudas, QString());
        const double tClave = copia(nDeudas, QStringLiteral(" WHERE tip_doc_d = 6 AND doc_id_d = '") + kRuc
                                                   + QStringLiteral("' AND periodo = '201003' AND formulario = '0913' "
                                                                    "AND semana = 1"));
        bench::printRow(QString::number(nDeudas), {{tGraba, tBase}, {tGraba, tClave}});
    }
    return 0;
}
