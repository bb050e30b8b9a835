#include "platform/application.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"
#include "tests/support/EventosUsuario.h"

#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace platform;

namespace {

struct UncaughtCase {
    const char* name;
    std::function<void()> fail;
    bool ownHandler;
    const char* handled; // what the program's handler saw; "" not called
    const char* boxText; // the default handling's box; "" none
    std::optional<int> exitCode;
};

} // namespace

TEST(UncaughtErrors, StopWhereTheEventIsDeliveredAndGoToTheProgramsHandler)
{
    const UncaughtCase cases[] = {
        {"database error", [] { throw DbError(13, QStringLiteral("No coinciden los tipos")); }, true,
         "frmPrueba.cmdFalla: No coinciden los tipos", "", std::nullopt},
        {"end of the program", [] { endProgram(3); }, true, "", "", 3},
        {"no handler of the program's own", [] { throw std::runtime_error("sin memoria"); }, false, "", "sin memoria",
         1},
    };
    for (const UncaughtCase& c : cases) {
        SCOPED_TRACE(c.name);
        DialogScript script;
        if (*c.boxText)
            script.answer(mb::Ok);
        QString handled;
        UncaughtErrorHandler own = [&handled](const QString& where) {
            try {
                throw;
            } catch (const DbError& error) {
                handled = where + QStringLiteral(": ") + error.description();
            }
        };
        const UncaughtErrorHandler previous = setUncaughtErrorHandler(c.ownHandler ? own : nullptr);
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("frmPrueba"));
        QPushButton button(&dialog);
        button.setObjectName(QStringLiteral("cmdFalla"));
        QObject::connect(&button, &QPushButton::clicked, c.fail);

        EXPECT_NO_THROW(Clic(button));
        setUncaughtErrorHandler(previous);
        EXPECT_EQ(handled, QString::fromUtf8(c.handled));
        EXPECT_EQ(script.lastText(), QString::fromUtf8(c.boxText));
        if (*c.boxText)
            EXPECT_EQ(script.shown().last().style, mb::Critical | mb::OkOnly);
        EXPECT_EQ(script.exitCode(), c.exitCode);
    }
}
