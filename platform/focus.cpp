#include "platform/focus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace platform {

bool focusMovesWithinWindow(const QWidget& widget, const QFocusEvent& event)
{
    if (event.type() == QEvent::FocusIn)
        return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
    const QWidget* now = QApplication::focusWidget();
    return now && now != &widget && now->window() == widget.window();
}

} // namespace platform
