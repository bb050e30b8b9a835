#pragma once

#include "formulario/shell/FrmContAbrir.h"

// Sent declarations (HCAB, rows told apart by their correlative).
class FrmContAbrirE : public SelectorDeclaraciones {
    Q_OBJECT
public:
    FrmContAbrirE();
};
