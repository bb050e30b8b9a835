#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// A real top-level X11 window with a title, for tests of the host-window
// search. Needs a display (the test programs run under xvfb-run).
class X11Window {
public:
    explicit X11Window(const QString& title, bool mapped = true);
    ~X11Window();
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    bool valid() const { return display_ != nullptr; }
    unsigned long id() const { return window_; }
    // The window has the keyboard, as after a click on it.
    void takeKeyboard();

private:
    void* display_ = nullptr;
    unsigned long window_ = 0;
};

// The X window that has the keyboard (the root window when none has it).
unsigned long x11InputFocus();
// The title of the window that has the keyboard; empty when it has none.
QString x11InputFocusTitle();

// An X server of the test's own (Xvfb), made the process's display for the
// life of the object, so that windows other tests open at the same time are
// not seen. On a busy machine the server is given a minute to come up.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Xvfb is installed: a test that needs a display is skipped without it,
    // and fails when it is there and gives none.
    bool installed() const { return installed_; }
    bool valid() const { return !name_.isEmpty(); }
    const QByteArray& name() const { return name_; }

private:
    QProcess server_;
    bool installed_ = false;
    QByteArray name_;
    QByteArray savedDisplay_;
};
