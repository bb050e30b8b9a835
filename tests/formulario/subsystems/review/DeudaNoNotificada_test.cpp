#include "formulario/subsystems/review/DeudaNoNotificada.h"

#include <gtest/gtest.h>

namespace {

TEST(DeudaNoNotificada, ValidaPerMensualChecksTheRangeAndTheMonthByKind)
{
    const struct {
        const char* sPeriodo;
        const char* sPrimero;
        const char* sUltimo;
        int nTipo;
        bool bValido;
    } casos[] = {
        {"01/1992", "01/1992", "03/2010", 0, true},  {"12/1991", "01/1992", "03/2010", 0, false},
        {"03/2010", "01/1992", "03/2010", 0, true},  {"04/2010", "01/1992", "03/2010", 0, false},
        {"00/2000", "01/1992", "03/2010", 0, false}, {"13/2000", "01/1992", "03/2010", 0, false},
        {"13/2000", "01/1992", "03/2010", 1, true},  {"12/2000", "01/1992", "03/2010", 2, false},
        {"13/2000", "01/1992", "03/2010", 2, true},  {"14/1995", "14/1991", "14/1997", 4, true},
        {"14/1998", "14/1991", "14/1997", 4, false}, {"14/1991", "14/1991", "14/1997", 4, true},
        {"1_/2000", "01/1992", "03/2010", 0, false}, {"00/0000", "00/0000", "03/2010", 4, false},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(ValidaPerMensual(caso.sPeriodo, caso.sPrimero, caso.sUltimo, caso.nTipo), caso.bValido)
            << caso.sPeriodo << " kind " << caso.nTipo;
}

TEST(DeudaNoNotificada, TheTotalIsRoundedToWholeUnits)
{
    const struct { const char* sTributo; const char* sCap; const char* sInteres; const char* sTotal; } casos[] = {
        {"10.40", "0.30", "0.20", "11.00"},     {"100.40", "", "", "100.00"},   {"100.60", "", "", "101.00"},
        {"", "", "", ""},                       {"", "", "4.60", "5.00"},       {"1,234.50", "0", "0.49", "1,235.00"},
        {"9999999999.99", "", "", "10,000,000,000.00"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(MontoAcogido(caso.sTributo, caso.sCap, caso.sInteres), QString::fromLatin1(caso.sTotal))
            << caso.sTributo << " " << caso.sCap << " " << caso.sInteres;
}

} // namespace
