#pragma once
// Test programs that run in a real X server (ctest starts each on an Xvfb of
// its own, run-under-xvfb.sh): our own connection to the server, the message
// loop run until a condition holds, and the program's main.
//
// Include after every other header: it brings Xlib, whose macros (None,
// Bool, Status) clash with names elsewhere.
#include "support/MessageLoop.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

#include "support/WindowManagerAtoms.h"

namespace testing_support
{
// Our own connection to the server, opened by runTestsOnXServer before JUCE
// opens its own; null without a display.
inline Display*& xServer()
{
    static Display* display = nullptr;
    return display;
}

// Runs the message loop (which reads JUCE's X events) until the condition
// holds; false after five seconds.
inline bool runUntil (const std::function<bool()>& condition)
{
    const auto end = juce::Time::getMillisecondCounter() + 5000;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        XSync (xServer(), False);
        runMessagesFor (5);
    }
    return true;
}

// The program's main: the tests run on the message thread with JUCE's GUI
// initialised. Without a display the tests skip themselves (they check
// xServer()), and a program whose every test skipped exits with 77, which
// ctest reports as skipped.
inline int runTestsOnXServer (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    auto*& server = xServer();
    server = XOpenDisplay (nullptr);
    if (server != nullptr)
    {
        internWindowManagerAtoms (server);
        XSync (server, False);
    }

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        becomeMessageThread();
        result = RUN_ALL_TESTS();
    }

    if (server != nullptr)
        XCloseDisplay (server);
    const auto& tests = *::testing::UnitTest::GetInstance();
    return result == 0 && tests.skipped_test_count() == tests.test_to_run_count() ? 77 : result;
}
} // namespace testing_support
