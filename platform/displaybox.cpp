#include "platform/displaybox.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>

namespace platform {

namespace {

// Puts the cursor of each box it watches back at the start of the text while
// the box only shows it, unless the user's mouse button is down on the box or
// the box holds a selection.
class StartKeeper : public QObject {
public:
    using QObject::QObject;

    void watch(QLineEdit* box)
    {
        // Setting a text, even the one the box already holds, puts the cursor
        // at its end or drops the selection, without any change of text.
        connect(box, &QLineEdit::cursorPositionChanged, this, [this, box] { toStart(*box); });
        connect(box, &QLineEdit::selectionChanged, this, [this, box] { toStart(*box); });
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        // Also called while a box is destroyed, when it is a box no more.
        auto* watched = qobject_cast<QLineEdit*>(object);
        if (!watched)
            return false;
        QLineEdit& box = *watched;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pressed_ = &box;
            break;
        case QEvent::MouseButtonRelease:
            // A click that selected nothing leaves the start shown.
            pressed_ = nullptr;
            toStart(box);
            break;
        case QEvent::ReadOnlyChange:
        case QEvent::EnabledChange:
            toStart(box);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void toStart(QLineEdit& box) const
    {
        const bool shownOnly = (box.isReadOnly() || !box.isEnabled()) && !box.hasFocus();
        if (shownOnly && &box != pressed_ && !box.hasSelectedText())
            box.setCursorPosition(0);
    }

    const QLineEdit* pressed_ = nullptr;
};

} // namespace

void showTextsFromStart(QWidget& window)
{
    auto* keeper = new StartKeeper(&window);
    for (QLineEdit* box : window.findChildren<QLineEdit*>())
        keeper->watch(box);
}

int widthToShow(const QLineEdit& box, const QString& sample)
{
    // A line edit keeps two pixels between its frame and its text, and one
    // more after the text for the cursor.
    constexpr int kTextMargin = 2;
    const int frame = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box) : 0;
    const QMargins margins = box.textMargins();
    return box.fontMetrics().horizontalAdvance(sample) + 1 + 2 * (frame + kTextMargin) + margins.left()
        + margins.right();
}

} // namespace platform
