#include "formulario/subsystems/reports/ErrorImpresion.h"

#include "platform/dberror.h"
#include "platform/dialogs.h"

#include <gtest/gtest.h>

using namespace platform::mb;

namespace {

TEST(MuestraErrorImpresion, EachErrorOfTheTableGetsItsMessageUnderImpresion)
{
    struct Caso { int nError; const char* sMensaje; };
    const Caso casos[] = {
        {53, nullptr},
        {55, nullptr},
        {2055, nullptr},
        {20545, "La Impresión ha sido Cancelada."},
        {482, "No existe una impresora seleccionada.Verifique."},
        {380, "No Existe Información a Imprimir.Verifique."},
        {3078, "Error Técnico : ( 3078) No se encuentra la tabla 'SPOOL'."},
        {-7, "Error Técnico : (-7) Sin memoria"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nError);
        platform::DialogScript script;
        script.onUnexpected = [](const platform::ShownMessage&) {};
        const QString sDescripcion =
            caso.nError == -7 ? QStringLiteral("Sin memoria") : QStringLiteral("No se encuentra la tabla 'SPOOL'.");
        MuestraErrorImpresion(platform::DbError(caso.nError, sDescripcion));
        if (!caso.sMensaje) {
            EXPECT_TRUE(script.shown().isEmpty());
            continue;
        }
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].text, QString::fromUtf8(caso.sMensaje));
        EXPECT_EQ(script.shown()[0].title, QStringLiteral("Impresión"));
        EXPECT_EQ(script.shown()[0].style, Critical | OkOnly);
    }
}

} // namespace
