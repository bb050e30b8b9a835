#include "platform/displaybox.h"

#include <QEvent>
#include <QLineEdit>

namespace platform {

namespace {

void toStartWhenShownOnly(QLineEdit& box)
{
    if ((box.isReadOnly() || !box.isEnabled()) && !box.hasFocus())
        box.setCursorPosition(0);
}

class StateWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::ReadOnlyChange || event->type() == QEvent::EnabledChange)
            toStartWhenShownOnly(*static_cast<QLineEdit*>(object));
        return false;
    }
};

} // namespace

void showTextsFromStart(QWidget& window)
{
    auto* watcher = new StateWatcher(&window);
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        // Setting a text, even the one the box already holds, puts the cursor
        // at its end without any change of text.
        QObject::connect(box, &QLineEdit::cursorPositionChanged, box, [box] { toStartWhenShownOnly(*box); });
        box->installEventFilter(watcher);
    }
}

} // namespace platform
