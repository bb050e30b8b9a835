// Times the import of debt statements of 1,000, 10,000 and 100,000 records
// (the whole of FrmImportar's "&Aceptar": unzip, digest, load, header rows,
// commit) beside a baseline that inserts the same rows into the same table
// with one prepared SQLite statement in one transaction. Then the same
// statements with their lines ended by a carriage return alone, against
// their CR LF import as the baseline.
//
//   import_bench [records...]

#include "bench/benchmark.h"
#include "tools/hostkit/statement.h"
#include "tools/importa/importa.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

// Seconds that the import of a statement of `registros` debts takes, its
// lines ended by `finLinea`.
double importa(const QString& carpeta, int registros, const QByteArray& finLinea = "\r\n")
{
    const hostkit::HostPaths paths = bench::installHost(carpeta);
    const QString ruc = hostkit::sampleDeclarants().first().docId;
    const QString descargas = paths.root + QStringLiteral("/descargas/");
    QDir().mkpath(descargas);
    QByteArray contenido = hostkit::statementContent(hostkit::sampleStatement(ruc, 1, registros - 1));
    contenido.replace("\r\n", finLinea);
    hostkit::writeZip(descargas + hostkit::statementArchiveName(ruc, 1),
                      {{hostkit::statementFileName(contenido), contenido}});

    QString sMensajeFinal;
    const double segundos = bench::seconds([&] { sMensajeFinal = ImportaEstadoAdeudos(ruc, 1, descargas); });
    if (sMensajeFinal != QStringLiteral("La importación ha terminado satisfactoriamente")) {
        std::fprintf(stderr, "the import failed: %s\n", qPrintable(sMensajeFinal));
        std::exit(1);
    }
    return segundos;
}

// The rows of F0913DEUDAS as stored.
struct Filas {
    int columnas = 0;
    std::vector<sqlite3_value*> valores;
    ~Filas()
    {
        for (sqlite3_value* valor : valores)
            sqlite3_value_free(valor);
    }
};

void leeFilas(sqlite3* db, Filas& filas)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM F0913DEUDAS", -1, &stmt, nullptr);
    filas.columnas = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < filas.columnas; ++i)
            filas.valores.push_back(sqlite3_value_dup(sqlite3_column_value(stmt, i)));
    }
    sqlite3_finalize(stmt);
}

// Seconds that inserting the rows with one prepared statement in one
// transaction takes, into the same table of a fresh host.
double insertaFilas(const QString& carpeta, const Filas& filas)
{
    bench::installHost(carpeta);
    sqlite3* db = oBaseDatos->handle();
    QByteArray sql = "INSERT INTO F0913DEUDAS VALUES (?";
    for (int i = 1; i < filas.columnas; ++i)
        sql += ",?";
    sql += ")";

    return bench::seconds([&] {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
        for (size_t fila = 0; fila < filas.valores.size(); fila += size_t(filas.columnas)) {
            for (int i = 0; i < filas.columnas; ++i)
                sqlite3_bind_value(stmt, i + 1, filas.valores[fila + size_t(i)]);
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                std::fprintf(stderr, "baseline insert failed: %s\n", sqlite3_errmsg(db));
                std::exit(1);
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
}

} // namespace

int main(int argc, char** argv)
{
    bench::Application app(argc, argv);
    const QList<int> tamanos = app.sizes();

    bench::printHeader("records", {{"import (s)", "baseline (s)"}});
    for (const int registros : tamanos) {
        QTemporaryDir importacion;
        QTemporaryDir base;
        const double tImporta = importa(importacion.path(), registros);
        Filas filas;
        leeFilas(oBaseDatos->handle(), filas);
        oBaseDatos.reset();
        const double tBase = insertaFilas(base.path(), filas);
        oBaseDatos.reset();
        bench::printRow(QString::number(registros), {{tImporta, tBase}});
    }

    std::printf("\n");
    bench::printHeader("records", {{"CR (s)", "CR LF (s)"}});
    for (const int registros : tamanos) {
        QTemporaryDir soloRetorno;
        QTemporaryDir conSalto;
        const double tRetorno = importa(soloRetorno.path(), registros, "\r");
        oBaseDatos.reset();
        const double tCrLf = importa(conSalto.path(), registros);
        oBaseDatos.reset();
        bench::printRow(QString::number(registros), {{tRetorno, tCrLf}});
    }
    return 0;
}
