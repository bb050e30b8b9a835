#pragma once

#include <QDialog>

// The refinancing request form. Until it is built, this window only says so.
class Frm913 : public QDialog {
    Q_OBJECT
public:
    Frm913();

    void Form_Load();
};
