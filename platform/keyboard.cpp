#include "platform/keyboard.h"

#include <QKeyEvent>
#include <QPushButton>

namespace platform {

namespace {

bool isEnter(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Qt presses an auto-default button itself, as a message box's are.
bool pressesButton(QObject& receiver, const QEvent& event)
{
    if (!isEnter(event))
        return false;
    auto* button = qobject_cast<QPushButton*>(&receiver);
    if (!button || button->autoDefault() || !button->hasFocus())
        return false;
    button->click();
    return true;
}

// On the focus coming in, before the control repaints itself as focused.
void showFocus(QObject& control)
{
    if (auto* widget = qobject_cast<QWidget*>(&control))
        widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
}

class KeyboardConventions : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            showFocus(*watched);
        return pressesButton(*watched, *event);
    }
};

} // namespace

void keepKeyboardConventions(QObject& application)
{
    application.installEventFilter(new KeyboardConventions(&application));
}

} // namespace platform
