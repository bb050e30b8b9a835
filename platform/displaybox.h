#pragma once

// Boxes that only show a text. Setting a text leaves the cursor at its end,
// so a box narrower than its text would show the end of it; a box the user
// cannot edit shows the beginning, as a label does.

class QLineEdit;
class QString;
class QWidget;

namespace platform {

// Every line edit of `window` shows its text from the start whenever the
// text is set, changed or not, or the box becomes read-only or disabled,
// while it is either and has no focus. A drag of the mouse selects and
// scrolls as in any read-only box; the selection stays until the text is
// set again.
void showTextsFromStart(QWidget& window);

// The width at which `box` shows `sample` whole in its font.
int widthToShow(const QLineEdit& box, const QString& sample);

} // namespace platform
