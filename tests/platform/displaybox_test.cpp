#include "platform/displaybox.h"

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(ShowTextsFromStart, AReadOnlyBoxShowsItsStartWheneverItsTextIsSetEvenUnchanged)
{
    QWidget window;
    auto* fecha = new QLineEdit(&window);
    auto* monto = new QLineEdit(&window);
    fecha->setReadOnly(true);
    platform::showTextsFromStart(window);

    for (int i = 0; i < 2; ++i) {
        fecha->setText(QStringLiteral("09/12/2026 14:03:24"));
        EXPECT_EQ(fecha->cursorPosition(), 0) << i;
    }
    // A box the user edits keeps the cursor where setting its text put it.
    monto->setText(QStringLiteral("1,234.50"));
    EXPECT_EQ(monto->cursorPosition(), 8);
}

} // namespace
