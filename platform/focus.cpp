#include "platform/focus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSet>

namespace platform {

namespace {

struct FocusHandlers {
    std::function<void()> entered;
    std::function<void()> left;
};

// Follows the focus through the whole program: the control of each window
// that last held it, and the handlers of the watched controls.
class FocusTracker : public QObject {
public:
    static FocusTracker& instance()
    {
        static QPointer<FocusTracker> tracker;
        if (!tracker)
            tracker = new FocusTracker;
        return *tracker;
    }

    void watch(QWidget* control, FocusHandlers handlers)
    {
        if (!watched_.contains(control)) {
            control->installEventFilter(this);
            connect(control, &QObject::destroyed, this, [this, control] { watched_.remove(control); });
        }
        watched_.insert(control, std::move(handlers));
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            enteredByClick_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason ? object : nullptr;
            return false;
        case QEvent::FocusOut:
            enteredByClick_ = nullptr;
            return false;
        case QEvent::MouseButtonPress:
            return holdsSelection(object, static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (clickHeld_ != object)
                return false;
            if (event->type() == QEvent::MouseButtonRelease)
                clickHeld_ = nullptr;
            return true;
        default:
            return false;
        }
    }

private:
    FocusTracker()
        : QObject(qApp)
    {
        if (QWidget* now = QApplication::focusWidget())
            remember(now);
        connect(qApp, &QApplication::focusChanged, this, &FocusTracker::focusChanged);
    }

    // The click that gave the focus: it would place the cursor over the
    // selection that entering made, so it goes no further. Each press starts
    // afresh: a held click's release may have gone to a message box.
    bool holdsSelection(QObject* object, const QMouseEvent* press)
    {
        const bool firstClick = enteredByClick_ == object && press->button() == Qt::LeftButton;
        enteredByClick_ = nullptr;
        const auto* box = qobject_cast<QLineEdit*>(object);
        clickHeld_ = firstClick && box && box->hasSelectedText() ? object : nullptr;
        return clickHeld_ != nullptr;
    }

    // The control that had the focus in `now`'s window before it.
    QWidget* remember(QWidget* now)
    {
        QWidget* window = now->window();
        if (!lastOfWindow_.contains(window))
            connect(window, &QObject::destroyed, this, [this, window] { lastOfWindow_.remove(window); });
        QWidget* before = lastOfWindow_.value(window);
        lastOfWindow_.insert(window, now);
        return before;
    }

    void focusChanged(QWidget*, QWidget* now)
    {
        if (!now || leaving_.contains(now->window()))
            return;
        const QPointer<QWidget> window = now->window();
        const QPointer<QWidget> before = remember(now);
        if (before == now)
            return;
        if (before && before->window() == window) {
            leave(before, window);
            if (!window)
                return;
            // Leaving may have put the focus back, or sent it on: across a
            // message box or not, it enters where it stands now.
            now = window->focusWidget();
            lastOfWindow_.insert(window, now);
            if (now == before)
                return;
        }
        run(now, &FocusHandlers::entered);
    }

    // The focus moves the leaving makes in its window wait until it is done.
    void leave(QWidget* control, QWidget* window)
    {
        leaving_.insert(window);
        run(control, &FocusHandlers::left);
        leaving_.remove(window);
    }

    void run(QWidget* control, std::function<void()> FocusHandlers::*handler)
    {
        const auto found = watched_.constFind(control);
        if (found == watched_.constEnd() || !(found.value().*handler))
            return;
        const std::function<void()> call = found.value().*handler; // the handler may watch anew
        call();
    }

    QHash<QWidget*, FocusHandlers> watched_;
    QHash<QWidget*, QPointer<QWidget>> lastOfWindow_;
    QSet<QWidget*> leaving_; // windows whose control is being left
    QObject* enteredByClick_ = nullptr;
    QObject* clickHeld_ = nullptr;
};

} // namespace

void watchFocus(QWidget& control, std::function<void()> entered, std::function<void()> left)
{
    FocusTracker::instance().watch(&control, {std::move(entered), std::move(left)});
}

} // namespace platform
