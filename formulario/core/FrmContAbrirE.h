#pragma once

#include "formulario/core/FrmContAbrir.h"

// Sent declarations (HCAB, rows told apart by their correlative).
class FrmContAbrirE : public SelectorDeclaraciones {
    Q_OBJECT
public:
    FrmContAbrirE();
};
