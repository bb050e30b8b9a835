#include "tests/support/x11window.h"

// Qt before Xlib, whose macros (Bool, Status) clash with Qt's headers.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr int kServerStartMs = 60000;
constexpr int kServerStopMs = 5000;

} // namespace

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

QString x11InputFocusTitle()
{
    const Window focus = x11InputFocus();
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return QString();
    QString title;
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* name = nullptr;
    if (XGetWindowProperty(display, focus, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display, "UTF8_STRING", False), &type, &format, &items, &after, &name)
            == Success
        && name) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(name), int(items));
        XFree(name);
    }
    XCloseDisplay(display);
    return title;
}

void X11Window::takeKeyboard()
{
    auto* display = static_cast<Display*>(display_);
    XSetInputFocus(display, window_, RevertToParent, CurrentTime);
    XSync(display, False);
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
    : savedDisplay_(qgetenv("DISPLAY"))
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    installed_ = !server.isEmpty();
    if (!installed_)
        return;
    // -displayfd 1: the server picks a free display and writes its number
    // once it takes clients.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(server, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24")});
    const QDeadlineTimer deadline(kServerStartMs);
    while (!server_.canReadLine() && server_.waitForReadyRead(int(deadline.remainingTime()))) {
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
    if (!server_.waitForFinished(kServerStopMs))
        server_.kill();
    server_.waitForFinished();
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
