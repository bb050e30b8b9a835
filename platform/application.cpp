#include "platform/application.h"

#include "platform/dialogs.h"
#include "platform/keyboard.h"

#include <QWidget>
#include <csignal>
#include <exception>
#include <utility>

namespace platform {

namespace {

UncaughtErrorHandler& installedHandler()
{
    static UncaughtErrorHandler handler;
    return handler;
}

// Qt's own parts (a scroll area's viewport) carry names of this kind.
bool ownName(const QObject& object)
{
    return !object.objectName().isEmpty() && !object.objectName().startsWith(QLatin1String("qt_"));
}

// The nearest object from the receiver up that has a name of its own,
// after the name of its window.
QString nameOf(const QObject& receiver)
{
    const QObject* named = &receiver;
    while (named && !ownName(*named))
        named = named->parent();
    if (!named)
        return QString::fromLatin1(receiver.metaObject()->className());
    const auto* widget = qobject_cast<const QWidget*>(named);
    const QWidget* window = widget ? widget->window() : nullptr;
    if (window && window != widget && ownName(*window))
        return window->objectName() + u'.' + named->objectName();
    return named->objectName();
}

// Without a handler of the program's own: the error's text, then the end.
void showAndEnd()
{
    QString text;
    try {
        throw;
    } catch (const std::exception& error) {
        text = QString::fromUtf8(error.what());
    } catch (...) {
        text = QStringLiteral("Error desconocido.");
    }
    messageBox(text, mb::Critical | mb::OkOnly);
    endProgram(1);
}

// Called inside the catch block of the exception that left an event handler.
void reportUncaught(const QObject& receiver)
{
    try {
        if (installedHandler())
            installedHandler()(nameOf(receiver));
        else
            showAndEnd();
    } catch (const ProgramEnded&) {
        // Under a test script: the script has seen the program end.
    } catch (...) {
        // The handling failed too: nothing more can be told.
        try {
            endProgram(1);
        } catch (const ProgramEnded&) {
        }
    }
}

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // SIGXFSZ would end the program without a word; ignored, the write
    // fails with EFBIG and is told as any refused write.
    std::signal(SIGXFSZ, SIG_IGN);
    keepKeyboardConventions(*this);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded&) {
        // endProgram under a test script: the script has seen it.
    } catch (...) {
        reportUncaught(*receiver);
    }
    return false;
}

UncaughtErrorHandler setUncaughtErrorHandler(UncaughtErrorHandler handler)
{
    return std::exchange(installedHandler(), std::move(handler));
}

} // namespace platform
