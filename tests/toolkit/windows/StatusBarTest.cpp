#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/StatusBar.h"

#include <gtest/gtest.h>

// The timer is driven by calling its callback: the time itself is JUCE's.
TEST (StatusBar, AMessageReplacesTheShownOneOnlyAtANotLowerPriority)
{
    StatusBar bar;
    bar.showMessage ("Learning", 2);

    bar.showMessage ("Kick: 0.5", 1);
    EXPECT_EQ (bar.getMessage(), "Learning");
    bar.clearMessage (1);
    EXPECT_EQ (bar.getMessage(), "Learning");

    bar.showTimedMessage ("Snare: 0.7", 2);
    EXPECT_EQ (bar.getMessage(), "Snare: 0.7");
    EXPECT_TRUE (bar.isTimerRunning());

    bar.showMessage ("Loading skin...", 2); // a permanent message stops the clear timer
    EXPECT_FALSE (bar.isTimerRunning());

    bar.clearMessage (-1);
    EXPECT_EQ (bar.getMessage(), "");
    EXPECT_EQ (bar.getPriority(), 0);
}

TEST (StatusBar, SameTimedTextDoesNotRestartTheTimeAndExpiryResetsThePriority)
{
    StatusBar bar;
    bar.showTimedMessage ("Tempo: 120", 6);
    bar.stopTimer();

    bar.showTimedMessage ("Tempo: 120", 6);
    EXPECT_FALSE (bar.isTimerRunning());

    bar.showTimedMessage ("Tempo: 121", 6);
    EXPECT_TRUE (bar.isTimerRunning());
    EXPECT_EQ (bar.getTimerInterval(), StatusBar::timedMessageMs);

    bar.timerCallback();
    EXPECT_EQ (bar.getMessage(), "");
    EXPECT_FALSE (bar.isTimerRunning());

    bar.showMessage ("Default Map settings will be affected when plugin is loaded.", 0);
    EXPECT_EQ (bar.getPriority(), 0);
    EXPECT_NE (bar.getMessage(), "");
}

TEST (StatusBar, IsSixteenHighWhiteOnDarkGrey)
{
    toolkit_test::TestDesktop desktop;
    StatusBar bar;
    bar.setBounds (0, 0, 300, 40);
    desktop.addAndMakeVisible (bar);
    EXPECT_EQ (bar.getHeight(), 40); // no look-and-feel change yet
    bar.sendLookAndFeelChange();
    EXPECT_EQ (bar.getBounds(), juce::Rectangle<int> (0, 0, 300, 16));

    bar.showMessage ("MMMM", 1);
    const auto image = toolkit_test::paintOver (bar, juce::Colours::red);
    EXPECT_EQ (toolkit_test::pixelAt (image, 250, 8), 0xFF444444u);

    int lightText = 0;
    for (int x = 5; x < 60; ++x)
        for (int y = 0; y < 16; ++y)
            lightText += image.getPixelAt (x, y).getBrightness() > 0.8f ? 1 : 0;
    EXPECT_GT (lightText, 20);
}
