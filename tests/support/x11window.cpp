#include "tests/support/x11window.h"

// Qt before Xlib, whose macros (Bool, Status) clash with Qt's headers.
#include <QByteArray>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool X11Window::displayAvailable()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

unsigned long x11InputFocus()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0;
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == PointerRoot || focus == None)
        focus = DefaultRootWindow(display);
    XCloseDisplay(display);
    return focus;
}

X11Window::X11Window(const QString& title, bool mapped)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    display_ = display;
    const int screen = DefaultScreen(display);
    window_ = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10, 200, 100, 1,
                                  BlackPixel(display, screen), WhitePixel(display, screen));
    const QByteArray utf8 = title.toUtf8();
    XStoreName(display, window_, utf8.constData());
    XChangeProperty(display, window_, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.constData()), utf8.size());
    if (!mapped) {
        XSync(display, False);
        return;
    }
    XMapWindow(display, window_);
    XSync(display, False);
    for (int i = 0; i < 100; ++i) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, window_, &attributes);
        if (attributes.map_state == IsViewable)
            break;
        QThread::msleep(10);
    }
}

PrivateDisplay::PrivateDisplay()
{
    savedDisplay_ = qgetenv("DISPLAY");
    // -displayfd 1: the server picks a free display and writes its number.
    server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                           QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                           QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1024x768x24")});
    if (!server_.waitForStarted(5000))
        return;
    while (!server_.canReadLine() && server_.waitForReadyRead(5000)) {
    }
    const QByteArray number = server_.readLine().trimmed();
    if (number.isEmpty())
        return;
    name_ = ":" + number;
    qputenv("DISPLAY", name_);
}

PrivateDisplay::~PrivateDisplay()
{
    if (savedDisplay_.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", savedDisplay_);
    server_.terminate();
    server_.waitForFinished(3000);
}

X11Window::~X11Window()
{
    if (!display_)
        return;
    auto* display = static_cast<Display*>(display_);
    XDestroyWindow(display, window_);
    XSync(display, False);
    XCloseDisplay(display);
}
