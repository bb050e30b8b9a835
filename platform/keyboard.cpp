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

class KeyboardConventions : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return pressesButton(*watched, *event); }
};

} // namespace

void keepKeyboardConventions(QObject& application)
{
    application.installEventFilter(new KeyboardConventions(&application));
}

} // namespace platform
