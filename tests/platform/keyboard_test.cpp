#include "platform/keyboard.h"

#include "tests/support/OnDisplay.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A dialog on the display with a field and a button without auto-default,
// as the program's dialogs have them.
class KeyboardDialog {
public:
    KeyboardDialog()
    {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(button);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, [this] { ++presses; });
        dialog.show();
        dialog.activateWindow();
    }

    bool focus(QWidget* control)
    {
        control->setFocus();
        return waitUntil([&] { return dialog.isActiveWindow() && QApplication::focusWidget() == control; });
    }

    QDialog dialog;
    QLineEdit* field = new QLineEdit(&dialog);
    QPushButton* button = new QPushButton(QStringLiteral("Agregar"), &dialog);
    int presses = 0;
};

} // namespace

TEST(Keyboard, EnterPressesTheFocusedButtonAndNoButtonFromAField)
{
    REQUIRE_DISPLAY();
    const struct {
        const char* name;
        bool onButton;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int presses;
    } cases[] = {
        {"Return on the button", true, Qt::Key_Return, Qt::NoModifier, 1},
        {"keypad Enter on the button", true, Qt::Key_Enter, Qt::KeypadModifier, 1},
        {"Return in the field", false, Qt::Key_Return, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyboardDialog window;
        ASSERT_TRUE(window.focus(c.onButton ? static_cast<QWidget*>(window.button) : window.field));
        QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        EXPECT_EQ(window.presses, c.presses);
    }
}

TEST(Keyboard, AButtonTheProgramGivesTheKeyboardShowsIt)
{
    REQUIRE_DISPLAY();
    KeyboardDialog window;
    ASSERT_TRUE(window.focus(window.button));
    QStyleOptionButton option;
    option.initFrom(window.button);
    EXPECT_TRUE(option.state.testFlag(QStyle::State_HasFocus));
    EXPECT_TRUE(option.state.testFlag(QStyle::State_KeyboardFocusChange));
}
