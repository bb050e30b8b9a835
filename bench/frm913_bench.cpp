// Times the request form opening a declaration of 1,000, 10,000 and 100,000
// debts (the whole of Form_Load: the copy into the work tables and both
// grids) and then showing the notified debts' tab (grid reload and total),
// beside a baseline that reads the same rows from the debt table with one
// prepared SQLite statement. On the payment tab it then times the slowest of
// a run of keystrokes: a digit typed into the instalments box, and a new
// total of accepted debts (the sum over the work table put into the accepted
// debt box, with every nested change it sets off), beside one frame of a
// 60 Hz screen.
//
//   frm913_bench [debts...]

#include "bench/benchmark.h"
#include "formulario/core/SharedForm.h"
#include "formulario/subsystems/request/Frm913.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

const QString kRuc = QStringLiteral("20100070970");

// A fresh host with the form's tables and one declaration of `deudas`
// notified debts; the main program's state points at it.
void preparaDeclaracion(const QString& carpeta, int deudas)
{
    bench::installHost(carpeta);
    oBaseDatos->execute(QStringLiteral("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana, estado, "
                                       "bcolibrad, cheque) VALUES (6, ?, '201003', '0913', 1, 0, 2, '0')"),
                        {kRuc});
    oBaseDatos->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                                       "INSERT INTO F0913DEUDAS (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                                       "Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, "
                                       "Ind_ver_deu, Fec_des_deu, Num_cuo, Num_pro, mto_tributo_s, mto_int_cap_s, "
                                       "mto_int_s, mto_act_s, ind_acog, ind_conf, mto_act_c, Ind_valor, "
                                       "Ind_deuda_dj, Ind_impugnado) "
                                       "SELECT 6, ?, '201003', '0913', 1, '01', printf('%04d%02d', 2000 + i % 10, "
                                       "1 + i % 12), '010101', printf('%010d', i), '0621', '017001', '000000', '00', "
                                       "?, 0, '1', '1000.00', '0.00', '100.00', '1100.00', 1, 1, '1100', 0, 0, '00' "
                                       "FROM n"),
                        {deudas, kRuc, QDateTime(QDate::currentDate(), QTime())});
}

// Seconds that reading every debt row with one prepared statement takes.
double leeFilas()
{
    sqlite3* db = oBaseDatos->handle();
    qint64 total = 0;
    const double t = bench::seconds([&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM F0913DEUDAS", -1, &stmt, nullptr);
        const int columnas = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < columnas; ++i)
                total += sqlite3_column_bytes(stmt, i);
        }
        sqlite3_finalize(stmt);
    });
    if (total == 0)
        std::fprintf(stderr, "no rows read\n");
    return t;
}

struct Tiempos {
    double abre = 0;
    double tab = 0;
    double tecla = 0;  // the slowest digit typed into the instalments box
    double total = 0;  // the slowest new total of accepted debts
};

constexpr double kCuadro = 1.0 / 60;
constexpr int kTeclas = 20;

void Teclea(QLineEdit& caja, char cDigito)
{
    QKeyEvent presion(QEvent::KeyPress, Qt::Key_0 + (cDigito - '0'), Qt::NoModifier, QString(QLatin1Char(cDigito)));
    QApplication::sendEvent(&caja, &presion);
}

// On the payment tab, instalments chosen: the slowest keystroke of a run.
void TimeaTeclas(Frm913& frm, Tiempos& tiempos)
{
    frm.SSTab1->setCurrentIndex(3);
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    QLineEdit& cuotas = *frm.txtValor.at(503);
    bDeudaGrabada = true;
    for (int i = 0; i < kTeclas; ++i) {
        cuotas.setFocus();
        cuotas.clear();
        tiempos.tecla = std::max(tiempos.tecla, bench::seconds([&] { Teclea(cuotas, '1'); }));
        tiempos.tecla = std::max(tiempos.tecla, bench::seconds([&] { Teclea(cuotas, char('0' + i % 10)); }));
        oBaseDatos->execute(QStringLiteral("UPDATE TMP_F0913DEUDAS SET mto_act_c = ? WHERE rowid = 1"),
                            {QString::number(1000 + i)});
        tiempos.total = std::max(tiempos.total, bench::seconds([&] { frm.CalculaCasillas2(); }));
    }
}

Tiempos abreFormulario()
{
    platform::DialogScript script;
    nModo = 1;
    sPeriodo = QStringLiteral("201003");
    nEntidad = 1;
    bEnviadas = false;
    Frm913& frm = SharedForm<Frm913>::instance();
    frm.EstableceDeclaracion({6, kRuc, QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."), QStringLiteral("ALCOR"), {}});

    Tiempos tiempos;
    tiempos.abre = bench::seconds([&] { frm.Form_Load(); });

    frm.txtTelefono->setText(QStringLiteral("4441234"));
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    tiempos.tab = bench::seconds([&] { frm.SSTab1->setCurrentIndex(1); });
    if (frm.SSTab1->currentIndex() != 1 || !script.shown().isEmpty()) {
        std::fprintf(stderr, "the debts tab did not open: %s\n", qPrintable(script.lastText()));
        std::exit(1);
    }
    TimeaTeclas(frm, tiempos);
    if (frm.txtValor.at(504)->text().isEmpty() || !script.shown().isEmpty()) {
        std::fprintf(stderr, "the instalment was not computed: %s\n", qPrintable(script.lastText()));
        std::exit(1);
    }
    SharedForm<Frm913>::release();
    return tiempos;
}

} // namespace

int main(int argc, char** argv)
{
    bench::Application app(argc, argv);
    bench::printHeader("debts", {{"open (s)", "baseline (s)"},
                                 {"tab 1 (s)", "baseline (s)"},
                                 {"key (s)", "frame (s)"},
                                 {"total (s)", "frame (s)"}});
    for (const int deudas : app.sizes()) {
        QTemporaryDir carpeta;
        preparaDeclaracion(carpeta.path(), deudas);
        const double tBase = leeFilas();
        const Tiempos tiempos = abreFormulario();
        oBaseDatos.reset();
        bench::printRow(QString::number(deudas), {{tiempos.abre, tBase},
                                                  {tiempos.tab, tBase},
                                                  {tiempos.tecla, kCuadro},
                                                  {tiempos.total, kCuadro}});
    }
    return 0;
}
