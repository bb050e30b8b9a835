#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// About box of the program.
class frmAcercade : public QDialog {
    Q_OBJECT
public:
    frmAcercade();

    void Form_Load();
    void cmdAceptar_Click();

    QFrame* SSPanel1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* txtApp = nullptr;
    QLineEdit* txtVersion = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Line1 = nullptr;
    QPushButton* cmdAceptar = nullptr;
};
