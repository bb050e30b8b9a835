#include "platform/displaybox.h"
#include "tests/support/EventosUsuario.h"

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

TEST(ShowTextsFromStart, ADragSelectsFromWhereItStartsUntilTheTextIsSetAgain)
{
    const QString sFecha = QStringLiteral("09/12/2026 14:03:24");
    QWidget window;
    auto* fecha = new QLineEdit(sFecha, &window);
    fecha->setReadOnly(true);
    fecha->setFocusPolicy(Qt::NoFocus);
    fecha->setGeometry(0, 0, 400, 24);
    platform::showTextsFromStart(window);

    // From inside the text to past its end.
    const int y = fecha->height() / 2;
    Raton(*fecha, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(20, y));
    Raton(*fecha, QEvent::MouseMove, Qt::LeftButton, QPoint(390, y));
    Raton(*fecha, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(390, y));
    EXPECT_GT(fecha->selectionStart(), 0);
    EXPECT_EQ(fecha->cursorPosition(), 19);

    fecha->setText(sFecha);
    EXPECT_FALSE(fecha->hasSelectedText());
    EXPECT_EQ(fecha->cursorPosition(), 0);
}

} // namespace
