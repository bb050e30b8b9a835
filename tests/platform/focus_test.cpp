#include "platform/focus.h"

#include "platform/dialogs.h"
#include "tests/support/OnDisplay.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A window of three watched boxes and a button, on the display; each box's
// entering selects its whole text, as the amount boxes do.
class WatchedWindow {
public:
    WatchedWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QLineEdit* box : {a, b, c}) {
            box->setText(QStringLiteral("1,234.50"));
            layout->addWidget(box);
            const QString name = box->objectName();
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

    QLineEdit* box(const char* name)
    {
        auto* box = new QLineEdit(&window);
        box->setObjectName(QString::fromLatin1(name));
        return box;
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
    QLineEdit* a = box("a");
    QLineEdit* b = box("b");
    QLineEdit* c = box("c");
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

// The message box of a leaving handler, answered "Aceptar": on the screen,
// or by a script without showing anything, as the forms' tests answer theirs.
class LeavingBox {
public:
    explicit LeavingBox(bool onScreen)
    {
        if (!onScreen)
            script_.emplace();
    }
    void show()
    {
        if (script_)
            script_->answer(platform::mb::Ok);
        else
            answerShownBox(QStringLiteral("Aceptar"));
        platform::messageBox(QStringLiteral("Dato incorrecto"), platform::mb::Critical, QStringLiteral("Prueba"));
    }

private:
    std::optional<platform::DialogScript> script_;
};

// A leaving that refuses its text, says so and puts the focus back, as the
// request form's date box does, or says something and sends the focus on to
// a third box: it runs once, and the control the focus stands on then is
// entered once, whether its message box is on the screen or answered unseen.
TEST(WatchFocus, ALeavingThatShowsABoxAndMovesTheFocusRunsOnce)
{
    REQUIRE_DISPLAY();
    const struct {
        const char* sent;
        bool back;
        QStringList afterLeaving;
        QStringList afterMovingToB;
    } cases[] = {
        {"back", true, {"sale a"}, {"sale a", "sale a", "entra b"}},
        {"on", false, {"sale a", "entra c"}, {"sale a", "entra c", "sale c", "entra b"}},
    };
    for (const auto& sent : cases) {
        for (const bool onScreen : {true, false}) {
            SCOPED_TRACE(std::string(sent.sent) + (onScreen ? ", box on the screen" : ", box answered unseen"));
            WatchedWindow w;
            LeavingBox box(onScreen);
            QLineEdit* target = sent.back ? w.a : w.c;
            ASSERT_TRUE(w.focus(w.a));
            int moves = 1;
            platform::watchFocus(
                *w.a, [&w] { w.log << "entra a"; },
                [&w, &box, &moves, target] {
                    w.log << "sale a";
                    if (moves-- == 0)
                        return;
                    box.show();
                    target->setFocus();
                });
            w.log.clear();

            w.b->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(w.settled(target));
            EXPECT_EQ(w.log, sent.afterLeaving);
            ASSERT_TRUE(w.focus(w.b));
            EXPECT_EQ(w.log, sent.afterMovingToB);
        }
    }
}

// The focus sent on by a leaving, and on again by an entering: each control on
// the way is entered and left once.
TEST(WatchFocus, EachControlTheFocusPassesIsEnteredOnce)
{
    REQUIRE_DISPLAY();
    WatchedWindow w;
    ASSERT_TRUE(w.focus(w.a));
    platform::watchFocus(*w.a, {}, [&w] {
        w.log << "sale a";
        w.c->setFocus();
    });
    platform::watchFocus(
        *w.c,
        [&w] {
            w.log << "entra c";
            w.b->setFocus();
        },
        [&w] { w.log << "sale c"; });
    w.log.clear();

    w.b->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(w.settled(w.b));
    EXPECT_EQ(w.log, (QStringList{"sale a", "entra c", "sale c", "entra b"}));
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

// The click that entered a box held its release, and a message box took
// that release: the next press in the box is a press like any other.
TEST(WatchFocus, ADragSelectsAfterAClickWhoseReleaseAMessageBoxTook)
{
    REQUIRE_DISPLAY();
    WatchedWindow w;
    ASSERT_TRUE(w.focus(w.button));
    const int y = w.b->height() / 2;
    QTest::mousePress(w.b, Qt::LeftButton, Qt::NoModifier, QPoint(4, y));
    answerShownBox(QStringLiteral("Aceptar"));
    platform::messageBox(QStringLiteral("Dato incorrecto"), platform::mb::Critical, QStringLiteral("Prueba"));
    ASSERT_TRUE(w.settled(w.b));

    const QPoint end(w.b->width() - 2, y);
    QTest::mousePress(w.b, Qt::LeftButton, Qt::NoModifier, QPoint(2, y));
    QTest::mouseMove(w.b, end);
    QTest::mouseRelease(w.b, Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_EQ(w.b->selectedText(), QStringLiteral("1,234.50"));
    EXPECT_EQ(w.b->cursorPosition(), 8);
}

} // namespace
