#pragma once

// A fresh host without the form's tables, on which the installer runs as the
// host suite runs it (a process of its own) or step by step in this process.

#include "tests/support/HostTest.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/QtPrint.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class RavisolHost : public HostTest {
protected:
    RavisolHost() { withFormTables = false; }
    // The host plus input files of known content (envioInicial, parametrosIniciales).
    void SetUp() override;

    // Runs Ravisol with those arguments; boxes take the answers of the comma-separated list.
    ProgramRun ejecutaRavisol(const QString& respuestas = QString(), const QStringList& argumentos = {});
    // Runs Ravisol and expects a clean run: status 0 and no message.
    void ejecutaSinMensajes(const QStringList& argumentos = {});
    // Expects a failed run that showed one box of that title and style
    // (buttons | icon); gives the box.
    RunBox esperaFalla(const ProgramRun& resultado, const QString& titulo, int estilo);

    // The installer's input files in the host's "tmp/" folder (or elsewhere).
    void escribeEnvio(const QStringList& lineas);
    void escribeParametros(const QStringList& lineas, const QString& carpeta = QStringLiteral("tmp/"));
    void borraEntrada(const QString& archivo);

    int cuenta(const QString& tabla);
    // Columns of a table as "name Type(size)" with " ZL" when they take an empty text.
    QStringList columnas(const QString& tabla);
    QStringList clave(const QString& tabla); // upper-cased key columns
};

// The input files every test starts with.
QStringList envioInicial();
QStringList parametrosIniciales();

// The columns and keys the form's tables must have, written out by hand.
QStringList columnasEsperadas(const QString& tabla);
QStringList claveEsperada(const QString& tabla);
QStringList tablasDelFormulario();
