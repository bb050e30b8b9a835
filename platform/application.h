#pragma once

// The application object of the programs with windows: Qt's own, with one
// catch point where every event is delivered, so that no exception thrown by
// an event handler ever travels through Qt's event loops.
// Its windows take the keyboard as the old platform's did (platform/keyboard.h).
// Once it is made, a write past the limit on a file's size (ulimit -f) fails
// as any refused write does, instead of ending the program without a word.

#include <QApplication>
#include <QString>
#include <functional>

namespace platform {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // Delivers the event; an exception its handlers let out stops here and
    // goes to the uncaught-error handler. The event loop that delivered the
    // event goes on.
    bool notify(QObject* receiver, QEvent* event) override;
};

// What the program does with an exception that left an event handler. It is
// called inside the catch block, so `throw;` rethrows the exception for a
// look; `where` names the object the event was for ("Window.control").
// Without a handler of the program's own, the error's text is shown in a
// critical box and the program ends. Returns the handler it replaces.
using UncaughtErrorHandler = std::function<void(const QString& where)>;
UncaughtErrorHandler setUncaughtErrorHandler(UncaughtErrorHandler handler);

} // namespace platform
