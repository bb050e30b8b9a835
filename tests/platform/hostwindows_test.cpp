#include "platform/hostwindows.h"

#include "tests/platform/scopedenv.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace platform;

namespace {

// Windows of our own made with Xlib, as another program would make them.
class HostWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "no X display";
        display_ = XOpenDisplay(nullptr);
        if (!display_)
            GTEST_SKIP() << "the X display cannot be opened";
    }
    void TearDown() override
    {
        if (display_)
            XCloseDisplay(display_);
    }

    Window create(Window parent = 0)
    {
        const Window window = XCreateSimpleWindow(display_, parent ? parent : DefaultRootWindow(display_), 0, 0,
                                                  80, 60, 0, 0, 0);
        XSelectInput(display_, window, StructureNotifyMask);
        return window;
    }
    void setNetTitle(Window window, const QByteArray& utf8)
    {
        XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                        XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()));
    }
    void setWmName(Window window, const QByteArray& latin1) { XStoreName(display_, window, latin1.constData()); }
    void markAsClient(Window window, long nState = NormalState)
    {
        const long state[2] = {nState, 0}; // no icon
        const Atom wmState = XInternAtom(display_, "WM_STATE", False);
        XChangeProperty(display_, window, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(state), 2);
    }
    // Maps the window and waits for the server to say it is mapped.
    void mapAndWait(Window window)
    {
        XMapWindow(display_, window);
        XEvent event;
        do
            XWindowEvent(display_, window, StructureNotifyMask, &event);
        while (event.type != MapNotify);
        XSync(display_, False);
    }

    Display* display_ = nullptr;
};

} // namespace

TEST_F(HostWindows, FindsTheTitlesOfMappedTopLevelWindowsOnly)
{
    const Window host = create();
    setNetTitle(host, QStringLiteral("Sistema Vardeno ñ").toUtf8());
    mapAndWait(host);

    const Window hidden = create();
    setNetTitle(hidden, "Ventana oculta");

    const Window preferred = create();
    setNetTitle(preferred, "Nombre UTF-8");
    setWmName(preferred, "Nombre antiguo");
    mapAndWait(preferred);

    const Window latin1 = create();
    setWmName(latin1, QStringLiteral("Conexión").toLatin1());
    mapAndWait(latin1);

    const Window parent = create();
    mapAndWait(parent);
    const Window child = create(parent);
    setWmName(child, "Hija con titulo");
    mapAndWait(child);

    const QStringList titles = visibleTopLevelWindowTitles();
    EXPECT_TRUE(titles.contains(QStringLiteral("Sistema Vardeno ñ"))) << titles.join(" | ").toStdString();
    EXPECT_FALSE(titles.contains("Ventana oculta"));
    EXPECT_TRUE(titles.contains("Nombre UTF-8"));
    EXPECT_FALSE(titles.contains("Nombre antiguo"));
    EXPECT_TRUE(titles.contains(QStringLiteral("Conexión")));
    EXPECT_FALSE(titles.contains("Hija con titulo"));
    EXPECT_FALSE(titles.contains(""));

    XDestroyWindow(display_, host);
    XSync(display_, False);
    EXPECT_FALSE(visibleTopLevelWindowTitles().contains(QStringLiteral("Sistema Vardeno ñ")));
}

TEST_F(HostWindows, AFrameWithoutTitleStandsForItsClientWindow)
{
    const Window frame = create();
    const Window inner = create(frame);
    const Window client = create(inner);
    setNetTitle(client, "Cliente enmarcado");
    markAsClient(client);
    mapAndWait(client);
    mapAndWait(inner);
    mapAndWait(frame);

    EXPECT_TRUE(visibleTopLevelWindowTitles().contains("Cliente enmarcado"));
}

TEST_F(HostWindows, AMinimisedWindowIsPresentAndAWithdrawnOneIsNot)
{
    const Window minimizada = create();
    setNetTitle(minimizada, "Minimizada sola");
    markAsClient(minimizada, IconicState);

    // A window manager's frame, unmapped while its client is iconified.
    const Window frame = create();
    const Window client = create(frame);
    setNetTitle(client, "Minimizada enmarcada");
    markAsClient(client, IconicState);

    const Window retirada = create();
    setNetTitle(retirada, "Retirada");
    markAsClient(retirada, WithdrawnState);
    XSync(display_, False);

    const QStringList titles = visibleTopLevelWindowTitles();
    EXPECT_TRUE(titles.contains("Minimizada sola"));
    EXPECT_TRUE(titles.contains("Minimizada enmarcada"));
    EXPECT_FALSE(titles.contains("Retirada"));
}

TEST_F(HostWindows, TheTopOfTheStackingOrderComesFirst)
{
    const Window a = create();
    setWmName(a, "Ventana A");
    mapAndWait(a);
    const Window b = create();
    setWmName(b, "Ventana B");
    mapAndWait(b);

    XRaiseWindow(display_, a);
    XSync(display_, False);
    QStringList titles = visibleTopLevelWindowTitles();
    ASSERT_TRUE(titles.contains("Ventana A") && titles.contains("Ventana B"));
    EXPECT_LT(titles.indexOf("Ventana A"), titles.indexOf("Ventana B"));

    XRaiseWindow(display_, b);
    XSync(display_, False);
    titles = visibleTopLevelWindowTitles();
    EXPECT_LT(titles.indexOf("Ventana B"), titles.indexOf("Ventana A"));
}

TEST(HostWindowsWithoutDisplay, GiveNoTitles)
{
    const ScopedEnv display("DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_TRUE(visibleTopLevelWindowTitles().isEmpty());
    qputenv("DISPLAY", ":9999");
    EXPECT_TRUE(visibleTopLevelWindowTitles().isEmpty());
}
