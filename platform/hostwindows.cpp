#include "platform/hostwindows.h"

#include <QList>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

namespace {

// Windows may vanish while they are walked; their errors are not fatal.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

class Connection {
public:
    Connection()
        : display_(XOpenDisplay(nullptr))
    {
        if (display_)
            previousHandler_ = XSetErrorHandler(ignoreXError);
    }
    ~Connection()
    {
        if (!display_)
            return;
        XCloseDisplay(display_);
        XSetErrorHandler(previousHandler_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* display() const { return display_; }

private:
    Display* display_;
    XErrorHandler previousHandler_ = nullptr;
};

// Children of a window, bottom of the stacking order first.
QList<Window> children(Display* display, Window window)
{
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &list, &count))
        return {};
    QList<Window> result(list, list + count);
    if (list)
        XFree(list);
    return result;
}

QString utf8Property(Display* display, Window window, Atom property, Atom utf8)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, utf8, &actualType, &format, &count,
                           &remaining, &data) != Success)
        return QString();
    QString text;
    if (data && actualType == utf8 && format == 8)
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(count));
    if (data)
        XFree(data);
    return text;
}

QString wmName(Display* display, Window window, Atom utf8)
{
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value)
        return QString();
    QString text;
    const auto* bytes = reinterpret_cast<const char*>(property.value);
    if (property.encoding == XA_STRING) {
        text = QString::fromLatin1(bytes, qsizetype(property.nitems));
    } else if (property.encoding == utf8) {
        text = QString::fromUtf8(bytes, qsizetype(property.nitems));
    } else {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success && list && count > 0)
            text = QString::fromUtf8(list[0]);
        if (list)
            XFreeStringList(list);
    }
    XFree(property.value);
    return text;
}

QString title(Display* display, Window window)
{
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const QString netName = utf8Property(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8);
    return netName.isEmpty() ? wmName(display, window, utf8) : netName;
}

bool hasProperty(Display* display, Window window, Atom property)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &actualType,
                                         &format, &count, &remaining, &data)
        == Success;
    if (data)
        XFree(data);
    return read && actualType != 0;
}

// The application's own window inside a window manager's frame: the first
// descendant, breadth first, that carries WM_STATE; 0 when there is none.
Window clientWindow(Display* display, Window frame)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    QList<Window> pending = children(display, frame);
    while (!pending.isEmpty()) {
        const Window window = pending.takeFirst();
        if (hasProperty(display, window, wmState))
            return window;
        pending += children(display, window);
    }
    return 0;
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// Whether the window manager keeps the window iconified (WM_STATE IconicState).
bool iconic(Display* display, Window window)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, wmState, 0, 1, False, wmState, &actualType, &format,
                                         &count, &remaining, &data)
        == Success;
    const bool result = read && data && format == 32 && count == 1
        && *reinterpret_cast<const long*>(data) == IconicState;
    if (data)
        XFree(data);
    return result;
}

// A mapped window, or one minimised by the window manager (a frame whose
// client, or a client itself, is iconified): both are there for the user.
bool present(Display* display, Window window)
{
    if (viewable(display, window))
        return true;
    if (iconic(display, window))
        return true;
    const Window client = clientWindow(display, window);
    return client && iconic(display, client);
}

} // namespace

QStringList visibleTopLevelWindowTitles()
{
    const Connection connection;
    Display* display = connection.display();
    if (!display)
        return {};

    QStringList titles;
    const QList<Window> topLevel = children(display, DefaultRootWindow(display));
    for (auto it = topLevel.crbegin(); it != topLevel.crend(); ++it) {
        if (!present(display, *it))
            continue;
        QString text = title(display, *it);
        if (text.isEmpty()) {
            if (const Window client = clientWindow(display, *it))
                text = title(display, client);
        }
        if (!text.isEmpty())
            titles.append(text);
    }
    return titles;
}

} // namespace platform
