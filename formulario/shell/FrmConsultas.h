#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

class GrillaRecordset;
class QPushButton;
class QTableView;

// Lookup viewer: one code list of PARAM, the document types ("R") or the
// tributes ("T") as sTipoConsulta says, shown as codes and descriptions and
// printed on the default printer.
class FrmConsultas : public QDialog {
    Q_OBJECT
public:
    FrmConsultas();

    void Form_Load();
    void cmdImprimir_Click();
    void CmdSalir_Click();

    // Code and description of each row.
    using Filas = QList<QPair<QString, QString>>;
    // Writes the list titled `sTitulo` into the report file sArchivo, 51 rows
    // a page under the headings, the title on the first page only. Throws
    // platform::DbError when the file cannot be written.
    static void EscribeConsulta(const QString& sTitulo, const Filas& filas);

    QTableView* grdConsultas = nullptr;
    QPushButton* cmdImprimir = nullptr;
    QPushButton* CmdSalir = nullptr;

private:
    Filas FilasDeLista() const;

    GrillaRecordset* Dta1 = nullptr;
};
