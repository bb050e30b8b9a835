#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Read-only view of the findings file named by sArchivo.
class FrmConsist : public QDialog {
    Q_OBJECT
public:
    FrmConsist();

    void Form_Load();
    void CmdGrabar_Click();

    QLabel* Label1 = nullptr;
    QPlainTextEdit* TxtPreliminar = nullptr;
    QPushButton* CmdGrabar = nullptr;
    QPushButton* Command1 = nullptr;
};
