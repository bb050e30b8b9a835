#include "formulario/subsystems/import/CargaDeudas.h"
#include "platform/dberror.h"

#include <gtest/gtest.h>

namespace {

TEST(RetornaCampo, FieldsAreNumberedFromZeroTrimmedAndEndWithTheirBar)
{
    const QString registro = QStringLiteral(" uno |dos|| cuatro  |sin barra");
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("0")), QStringLiteral("uno"));
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("1")), QStringLiteral("dos"));
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("2")), QString());
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("03")), QStringLiteral("cuatro"));
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("4")), QString()); // after the last bar
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("15")), QString());
    EXPECT_EQ(CargaDeudas::RetornaCampo(QString(), QStringLiteral("0")), QString());
}

TEST(RetornaCampo, AFieldTooLongForAPositionOverflowsWhenReachedOrPassed)
{
    const QString largo(255, u'x');
    const QString registro = QStringLiteral("a|b|") + largo + QStringLiteral("|d|") + QString(300, u'y');
    EXPECT_EQ(CargaDeudas::RetornaCampo(registro, QStringLiteral("0")), QStringLiteral("a"));
    EXPECT_THROW(CargaDeudas::RetornaCampo(registro, QStringLiteral("1")), platform::DbError);
    EXPECT_THROW(CargaDeudas::RetornaCampo(registro, QStringLiteral("3")), platform::DbError);
    try {
        CargaDeudas::RetornaCampo(registro, QStringLiteral("2"));
        FAIL();
    } catch (const platform::DbError& err) {
        EXPECT_EQ(err.number(), 6);
    }
    // 254 characters fit; text after the last bar never counts.
    EXPECT_EQ(CargaDeudas::RetornaCampo(QString(254, u'z') + u'|' + largo, QStringLiteral("0")), QString(254, u'z'));
}

} // namespace
