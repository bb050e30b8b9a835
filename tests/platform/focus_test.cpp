#include "platform/focus.h"

#include "platform/dialogs.h"
#include "tests/support/OnDisplay.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window of two watched boxes and a button, on the display; each box's
// entering selects its whole text, as the amount boxes do.
class WatchedWindow {
public:
    WatchedWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QLineEdit* box : {a, b}) {
            box->setText(QStringLiteral("1,234.50"));
            layout->addWidget(box);
            const QString name = box == a ? QStringLiteral("a") : QStringLiteral("b");
            platform::watchFocus(
                *box,
                [this, box, name] {
                    log << "entra " + name;
                    box->selectAll();
                },
                [this, name] { log << "sale " + name; });
        }
        layout->addWidget(button);
        window.show();
        window.activateWindow();
    }

    // Moves the focus and waits until the window has it there.
    bool focus(QWidget* control)
    {
        control->setFocus(Qt::TabFocusReason);
        return settled(control);
    }
    // The window active again, as the window manager makes it once a box
    // over it closes, and the focus in `control`.
    bool settled(QWidget* control)
    {
        window.activateWindow();
        return waitUntil([&] { return window.isActiveWindow() && QApplication::focusWidget() == control; });
    }

    QWidget window;
    QLineEdit* a = new QLineEdit(&window);
    QLineEdit* b = new QLineEdit(&window);
    QPushButton* button = new QPushButton(QStringLiteral("Aceptar"), &window);
    QStringList log;
};

TEST(WatchFocus, AMoveBetweenControlsOfAWindowLeavesOneAndEntersTheOtherAcrossMessageBoxes)
{
    REQUIRE_DISPLAY();
    WatchedWindow w;
    ASSERT_TRUE(w.focus(w.a));
    ASSERT_TRUE(w.focus(w.b));
    EXPECT_EQ(w.log, (QStringList{"entra a", "sale a", "entra b"}));

    // A box closes and the focus comes back where it was: nothing moved.
    w.log.clear();
    answerShownBox(QStringLiteral("Aceptar"));
    platform::messageBox(QStringLiteral("Dato incorrecto"), platform::mb::Critical, QStringLiteral("Prueba"));
    ASSERT_TRUE(w.settled(w.b));
    EXPECT_EQ(w.log, QStringList());

    // A refusal puts the focus on the box at fault while the window waits
    // to be active again.
    answerShownBox(QStringLiteral("Aceptar"));
    platform::messageBox(QStringLiteral("Dato incorrecto"), platform::mb::Critical, QStringLiteral("Prueba"));
    w.a->setFocus();
    ASSERT_TRUE(w.settled(w.a));
    EXPECT_EQ(w.log, (QStringList{"sale b", "entra a"}));
}

// A box whose leaving refuses its text and puts the focus back, as the
// request form's date box does.
TEST(WatchFocus, LeavingThatPutsTheFocusBackEntersNothingElse)
{
    REQUIRE_DISPLAY();
    WatchedWindow w;
    ASSERT_TRUE(w.focus(w.a));
    int nRechazos = 1;
    platform::watchFocus(
        *w.a, [&w] { w.log << "entra a"; },
        [&w, &nRechazos] {
            w.log << "sale a";
            if (nRechazos-- == 0)
                return;
            answerShownBox(QStringLiteral("Aceptar"));
            platform::messageBox(QStringLiteral("Fecha incorrecta"), platform::mb::Critical, QStringLiteral("Prueba"));
            w.a->setFocus();
        });
    w.log.clear();

    w.b->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(w.settled(w.a));
    EXPECT_EQ(w.log, QStringList{"sale a"});
    ASSERT_TRUE(w.focus(w.b));
    EXPECT_EQ(w.log, (QStringList{"sale a", "sale a", "entra b"}));
}

TEST(WatchFocus, ABoxEnteredByAClickKeepsTheSelectionItsEnteringMade)
{
    REQUIRE_DISPLAY();
    WatchedWindow w;
    ASSERT_TRUE(w.focus(w.button));

    QTest::mouseClick(w.b, Qt::LeftButton, Qt::NoModifier, QPoint(4, w.b->height() / 2));
    ASSERT_TRUE(w.settled(w.b));
    EXPECT_EQ(w.log, QStringList{"entra b"});
    EXPECT_EQ(w.b->selectedText(), QStringLiteral("1,234.50"));
    QTest::keyClicks(w.b, QStringLiteral("10"));
    EXPECT_EQ(w.b->text(), QStringLiteral("10"));

    // A click in a box that has the focus places the cursor as always.
    QTest::mouseClick(w.b, Qt::LeftButton, Qt::NoModifier, QPoint(2, w.b->height() / 2));
    EXPECT_EQ(w.b->selectedText(), QString());
    EXPECT_EQ(w.b->cursorPosition(), 0);
}

} // namespace
