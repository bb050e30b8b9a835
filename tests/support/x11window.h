#pragma once

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
    static bool displayAvailable();

private:
    void* display_ = nullptr;
    unsigned long window_ = 0;
};
