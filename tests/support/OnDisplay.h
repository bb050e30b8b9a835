#pragma once

// Tests of real windows on an X display: activation, focus and message
// boxes as the window system delivers them. The test programs draw off
// screen, so such a test runs again by itself in a process of its own on an
// X server of its own (Xvfb), and its outcome there is the test's. A test
// still running there after two minutes, a modal loop that never ends, is
// ended and fails. Without Xvfb installed the test is skipped.

#include <QString>
#include <functional>
#include <gtest/gtest.h>

class QMessageBox;

enum class DisplayRun { Here, RanThere, NoDisplay };

// Here in the process on the display; elsewhere runs the current test there
// (a failure there fails this test).
DisplayRun runTestOnDisplay();

// The first statement of a test that needs the display.
#define REQUIRE_DISPLAY()                                      \
    switch (runTestOnDisplay()) {                              \
    case DisplayRun::Here: break;                              \
    case DisplayRun::NoDisplay: GTEST_SKIP() << "no X server"; \
    case DisplayRun::RanThere: return;                         \
    }

// Runs `act` on the next message box shown, once it is the active window;
// a box that does not come within the wait fails the test.
void whenBoxActive(std::function<void(QMessageBox*)> act);
// Clicks the button captioned `caption` of the box; a box without one fails
// the test and is closed.
void clickBoxButton(QMessageBox* box, const QString& caption);
// Clicks the button captioned `caption` of the next message box shown.
void answerShownBox(const QString& caption);

// Processes events until `condition` holds, for at most thirty seconds (on a
// busy machine the window system may answer late).
bool waitUntil(const std::function<bool()>& condition);
