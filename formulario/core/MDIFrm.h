#pragma once

#include <QMainWindow>

// Main window of Tarvel: every command opens a modal dialog over it.
class MDIFrm : public QMainWindow {
    Q_OBJECT
public:
    MDIFrm();

    void Form_Load();
};
