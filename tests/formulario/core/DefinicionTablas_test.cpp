#include "formulario/core/DefinicionTablas.h"

#include <gtest/gtest.h>

using platform::FieldType;

TEST(DefinicionTablas, TheTenTablesOfTheFormInTheOrderTheyAreMade)
{
    QStringList nombres;
    for (const DefinicionTabla& tabla : TablasFormulario())
        nombres.append(tabla.sNombre);
    EXPECT_EQ(nombres, (QStringList{"F0913DEUDAS", "HF0913DEUDAS", "TMP_F0913DEUDAS", "F0913MOTIVO", "HF0913MOTIVO",
                                    "TMP_F0913MOTIVO", "F0913SUSTEN", "HF0913SUSTEN", "TMP_F0913SUSTEN",
                                    "F0913GARANTIA"}));
}

TEST(DefinicionTablas, TheDebtTableHasItsThirtyThreeColumnsWithTheControlValueLast)
{
    const DefinicionTabla* deudas = DefinicionDe(QStringLiteral("f0913deudas"));
    ASSERT_TRUE(deudas);
    ASSERT_EQ(deudas->columnas.size(), 33);
    EXPECT_EQ(deudas->columnas.first().name, QStringLiteral("tip_doc_d"));
    EXPECT_EQ(deudas->columnas.first().type, FieldType::Byte);
    EXPECT_EQ(deudas->columnas.last().name, QStringLiteral("cnumero"));
    EXPECT_EQ(deudas->columnas.last().size, 6);
    EXPECT_EQ(deudas->columnasClave.size(), 9);
    // The sent copy adds its correlative after the entity, in the key too.
    const DefinicionTabla* enviadas = DefinicionDe(QStringLiteral("HF0913DEUDAS"));
    ASSERT_TRUE(enviadas);
    EXPECT_EQ(enviadas->columnas.at(5).name, QStringLiteral("Correl"));
    EXPECT_EQ(enviadas->columnasClave.size(), 10);
    EXPECT_FALSE(DefinicionDe(QStringLiteral("CAB")));
}

TEST(DefinicionTablas, OnlyTheSixAmountAndReturnColumnsOfADebtTableTakeAnEmptyText)
{
    QStringList vacias;
    for (const platform::ColumnDef& columna : DefinicionDe(QStringLiteral("TMP_F0913DEUDAS"))->columnas) {
        if (columna.allowZeroLength)
            vacias.append(columna.name);
    }
    EXPECT_EQ(vacias, (QStringList{"mto_tributo_c", "mto_int_cap_c", "mto_int_c", "mto_act_c", "Cod_for_dj",
                                   "Num_ord_dj"}));
}
