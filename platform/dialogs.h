#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace platform {

// Buttons, icons and answers of a message box, numbered as the original
// runtime numbers them, so styles combine as `Critical | OkOnly`.
namespace mb {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;

constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace mb

// Shows a message box and returns the answer (mb::Ok, mb::Yes, ...).
// An empty title shows the application's title. Escape answers Cancel or No
// where the box has one (OK on a box with OK alone).
//
// With the environment variable MSGBOX_ANSWERS set (even empty) and no
// DialogScript installed, no box is shown: each box writes the line
// "MSGBOX|title|text|buttons|icon" to stderr (line feeds of the text as "\n",
// buttons = style & 15, icon = style & 0x70) and takes the next answer of the
// comma-separated list (ok, cancel, yes, no, retry, abort, ignore), or its
// default button once the list is used up.
int messageBox(const QString& text, int style = mb::OkOnly, const QString& title = QString());

// Shows a form modally (the form's objectName names it for the test hooks)
// and returns the dialog's result code: a QDialog runs exec(); any other
// widget is shown application-modal until it is hidden or destroyed (0).
int showModal(QWidget& form);

// Closes a dialog with `result` once its showing is over: the way for a
// dialog to close itself from its showEvent or its activation. Closed there
// and then, a dialog that exec() is showing stays on the screen and the loop
// exec() starts next never ends. Call it after the boxes the showing shows:
// their loops would close the dialog early.
void closeWhenShown(QDialog& dialog, int result);

// Ends the program at once: nothing is unloaded, nothing is closed.
[[noreturn]] void endProgram(int exitCode = 0);

// The answer a box gets when nobody chooses: its default button.
int defaultAnswer(int style);

// Hooks for tests. While a script is installed no box or form is shown:
// boxes are recorded and take the queued answers; forms call their handler.
struct ShownMessage {
    QString text;
    QString title; // as shown: the application's title for an empty one
    int style = 0;
    int answer = 0;
};

class DialogScript {
public:
    DialogScript();  // installs itself
    ~DialogScript(); // uninstalls
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void answer(int answer); // next box's answer
    // The next box is answered by `answerer` when it is shown: the test may
    // act while the program waits for the user.
    void answer(std::function<int(const ShownMessage&)> answerer) { answers_.append(std::move(answerer)); }
    // The next box is shown on the screen, as without a script, and answered
    // there.
    void answerOnScreen();
    const QList<ShownMessage>& shown() const { return shown_; }
    QString lastText() const { return shown_.isEmpty() ? QString() : shown_.last().text; }
    void clear() { shown_.clear(); }
    int pendingAnswers() const { return int(answers_.size()); }
    // The code endProgram was called with while the script was installed.
    std::optional<int> exitCode() const { return exitCode_; }

    // What the user does when the form named `formName` is shown modally;
    // showModal returns the handler's result. A form without a handler calls
    // onUnexpected and gives 0.
    void onForm(const QString& formName, std::function<int(QWidget&)> handler);
    QStringList formsShown() const { return formsShown_; }

    // Called for a box that has no queued answer (the test support makes it
    // fail the test); the box then takes its default button.
    std::function<void(const ShownMessage&)> onUnexpected;

private:
    friend int messageBox(const QString&, int, const QString&);
    friend int showModal(QWidget&);
    friend void endProgram(int);
    QList<std::function<int(const ShownMessage&)>> answers_;
    QList<ShownMessage> shown_;
    QList<QPair<QString, std::function<int(QWidget&)>>> formHandlers_;
    QStringList formsShown_;
    std::optional<int> exitCode_;
    bool formAnswered(QWidget& form, int* result);
};

// Thrown by endProgram while a DialogScript is installed, so tests can see it.
struct ProgramEnded {
    int exitCode;
};

} // namespace platform
