#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QHash>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace platform {

namespace {

// Installed scripts, the last one in force.
QList<DialogScript*>& installedScripts()
{
    static QList<DialogScript*> scripts;
    return scripts;
}

DialogScript* currentScript()
{
    return installedScripts().isEmpty() ? nullptr : installedScripts().last();
}

// The answers of the box's buttons, in the order they are shown.
QList<int> buttonAnswers(int style)
{
    switch (style & 15) {
    case mb::OkCancel: return {mb::Ok, mb::Cancel};
    case mb::AbortRetryIgnore: return {mb::Abort, mb::Retry, mb::Ignore};
    case mb::YesNoCancel: return {mb::Yes, mb::No, mb::Cancel};
    case mb::YesNo: return {mb::Yes, mb::No};
    case mb::RetryCancel: return {mb::Retry, mb::Cancel};
    default: return {mb::Ok};
    }
}

// What Escape answers: Cancel or No where the box has one, OK on a box with
// OK alone, nothing (0) otherwise.
int escapeAnswer(int style)
{
    const QList<int> answers = buttonAnswers(style);
    if (answers.contains(mb::Cancel))
        return mb::Cancel;
    if (answers.contains(mb::No))
        return mb::No;
    return answers.size() == 1 ? answers.first() : 0;
}

// Alt and the marked letter answer; Enter and Escape answer "Aceptar" and
// "Cancelar" (below).
QString caption(int answer)
{
    switch (answer) {
    case mb::Cancel: return QStringLiteral("Cancelar");
    case mb::Abort: return QStringLiteral("&Anular");
    case mb::Retry: return QStringLiteral("&Reintentar");
    case mb::Ignore: return QStringLiteral("&Omitir");
    case mb::Yes: return QStringLiteral("&Sí");
    case mb::No: return QStringLiteral("&No");
    default: return QStringLiteral("Aceptar");
    }
}

QMessageBox::Icon icon(int style)
{
    switch (style & 0x70) {
    case mb::Critical: return QMessageBox::Critical;
    case mb::Question: return QMessageBox::Question;
    case mb::Exclamation: return QMessageBox::Warning;
    case mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString shownTitle(const QString& title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

// Once a box or form is gone, the window it was shown over takes the
// keyboard again: without a window manager nothing else gives it back, and
// the keyboard would go nowhere. Qt may already count that window active
// (activateWindow then asks nothing), so the window system is asked. A
// disabled window is left to whoever enables it: given the keyboard while
// disabled, it becomes Qt's active window with no control able to take the
// keys, and once enabled its activation asks nothing, Qt counting it active
// already, so none of its controls ever gets them.
void giveKeyboardBack(const QPointer<QWidget>& window)
{
    if (window && window->isVisible() && window->isEnabled() && window->windowHandle())
        window->windowHandle()->requestActivate();
}

int showMessageBox(const QString& text, int style, const QString& title)
{
    QPointer<QWidget> parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    const auto keyboardBack = qScopeGuard([&parent] { giveKeyboardBack(parent); });
    QMessageBox box(icon(style), title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);

    // One role for all keeps the buttons in their order; Escape is set below.
    QHash<QAbstractButton*, int> answerOf;
    const QList<int> answers = buttonAnswers(style);
    for (int answer : answers)
        answerOf.insert(box.addButton(caption(answer), QMessageBox::ActionRole), answer);
    const auto buttonFor = [&answerOf](int answer) {
        return qobject_cast<QPushButton*>(answerOf.key(answer));
    };
    box.setDefaultButton(buttonFor(defaultAnswer(style)));
    if (const int escape = escapeAnswer(style))
        box.setEscapeButton(buttonFor(escape));

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && answerOf.contains(clicked))
        return answerOf.value(clicked);
    return escapeAnswer(style) ? escapeAnswer(style) : defaultAnswer(style);
}

int answerNamed(const QString& name)
{
    static const QHash<QString, int> answers{
        {QStringLiteral("ok"), mb::Ok},         {QStringLiteral("cancel"), mb::Cancel},
        {QStringLiteral("yes"), mb::Yes},       {QStringLiteral("no"), mb::No},
        {QStringLiteral("retry"), mb::Retry},   {QStringLiteral("abort"), mb::Abort},
        {QStringLiteral("ignore"), mb::Ignore},
    };
    return answers.value(name.trimmed().toLower(), 0);
}

// MSGBOX_ANSWERS: the box is written to stderr and answered from the list.
int answerFromEnvironment(const QString& text, int style, const QString& title)
{
    QString shownText = text;
    shownText.replace(u'\n', QStringLiteral("\\n"));
    const QByteArray line = "MSGBOX|" + title.toUtf8() + '|' + shownText.toUtf8() + '|'
        + QByteArray::number(style & 15) + '|' + QByteArray::number(style & 0x70) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);

    static int answersTaken = 0;
    const QStringList answers = qEnvironmentVariable("MSGBOX_ANSWERS").split(u',');
    const int answer = answersTaken < answers.size() ? answerNamed(answers.at(answersTaken)) : 0;
    ++answersTaken;
    return answer ? answer : defaultAnswer(style);
}

// Ends the local loop of a modal widget when the widget is hidden.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop* loop)
        : loop_(loop)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            loop_->quit();
        return false;
    }

private:
    QEventLoop* loop_;
};

int showWidgetModally(QWidget& form)
{
    QPointer<QWidget> guard(&form);
    const Qt::WindowModality previous = form.windowModality();
    form.setWindowModality(Qt::ApplicationModal);

    QEventLoop loop;
    HideWatcher watcher(&loop);
    form.installEventFilter(&watcher);
    QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form.show();
    if (form.isVisible())
        loop.exec(QEventLoop::DialogExec);

    if (guard) {
        guard->removeEventFilter(&watcher);
        guard->setWindowModality(previous);
    }
    return 0;
}

} // namespace

DialogScript::DialogScript()
{
    installedScripts().append(this);
}

DialogScript::~DialogScript()
{
    installedScripts().removeOne(this);
}

void DialogScript::answer(int answer)
{
    answers_.append([answer](const ShownMessage&) { return answer; });
}

void DialogScript::answerOnScreen()
{
    answers_.append(
        [](const ShownMessage& message) { return showMessageBox(message.text, message.style, message.title); });
}

void DialogScript::onForm(const QString& formName, std::function<int(QWidget&)> handler)
{
    for (auto& entry : formHandlers_) {
        if (entry.first == formName) {
            entry.second = std::move(handler);
            return;
        }
    }
    formHandlers_.append({formName, std::move(handler)});
}

bool DialogScript::formAnswered(QWidget& form, int* result)
{
    const QString name = form.objectName();
    formsShown_.append(name);
    for (const auto& entry : formHandlers_) {
        if (entry.first == name) {
            *result = entry.second(form);
            return true;
        }
    }
    if (onUnexpected)
        onUnexpected(ShownMessage{QStringLiteral("Modal form \"%1\" shown with no handler").arg(name), name, 0, 0});
    return false;
}

int defaultAnswer(int style)
{
    const QList<int> answers = buttonAnswers(style);
    const int index = (style >> 8) & 3;
    return index < answers.size() ? answers.at(index) : answers.first();
}

int messageBox(const QString& text, int style, const QString& title)
{
    const QString boxTitle = shownTitle(title);
    if (DialogScript* script = currentScript()) {
        ShownMessage message{text, boxTitle, style, defaultAnswer(style)};
        const bool queued = !script->answers_.isEmpty();
        if (queued)
            message.answer = script->answers_.takeFirst()(message);
        script->shown_.append(message);
        if (!queued && script->onUnexpected)
            script->onUnexpected(message);
        return message.answer;
    }
    if (qEnvironmentVariableIsSet("MSGBOX_ANSWERS"))
        return answerFromEnvironment(text, style, boxTitle);
    return showMessageBox(text, style, boxTitle);
}

int showModal(QWidget& form)
{
    if (DialogScript* script = currentScript()) {
        int result = 0;
        return script->formAnswered(form, &result) ? result : 0;
    }
    const QPointer<QWidget> openedFrom = QApplication::activeWindow();
    const auto keyboardBack = qScopeGuard([&openedFrom] { giveKeyboardBack(openedFrom); });
    if (auto* dialog = qobject_cast<QDialog*>(&form))
        return dialog->exec();
    return showWidgetModally(form);
}

void closeWhenShown(QDialog& dialog, int result)
{
    QMetaObject::invokeMethod(&dialog, [&dialog, result] { dialog.done(result); }, Qt::QueuedConnection);
}

void endProgram(int exitCode)
{
    if (DialogScript* script = currentScript()) {
        script->exitCode_ = exitCode;
        throw ProgramEnded{exitCode};
    }
    std::fflush(nullptr);
    ::_exit(exitCode);
}

} // namespace platform
