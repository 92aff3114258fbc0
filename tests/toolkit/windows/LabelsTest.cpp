#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/windows/CreditsText.h"
#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/TextButtonEx.h"

#include <gtest/gtest.h>

TEST (HardLabel, IsMeasuredInTheLabelFontAndDrawsNoBackground)
{
    toolkit_test::TestDesktop desktop;
    HardLabel label ("Realtime", "Real-time");
    label.setFont (juce::Font (30.0f)); // the look and feel's font wins
    label.setColour (juce::Label::backgroundColourId, juce::Colours::red);
    label.setBounds (0, 0, 100, 20);
    desktop.addAndMakeVisible (label);

    EXPECT_EQ (label.getTextWidth(), juce::roundToInt (toolkit::makeFont (13.0f).getStringWidthFloat ("Real-time")));

    const auto image = toolkit_test::paintOver (label, juce::Colours::white);
    EXPECT_EQ (toolkit_test::pixelAt (image, 95, 2), 0xFFFFFFFFu);

    // Under another look and feel it is a plain label.
    juce::LookAndFeel_V4 other;
    label.setLookAndFeel (&other);
    EXPECT_EQ (toolkit_test::pixelAt (toolkit_test::paintOver (label), 95, 2), 0xFFFF0000u);
    label.setLookAndFeel (nullptr);
}

TEST (TextButtonEx, IsItsTextPlusTheCapsOfItsImageSet)
{
    toolkit_test::TestDesktop desktop;
    const int textWidth = (int) std::ceil (toolkit::makeFont (13.0f).getStringWidthFloat ("OK"));

    for (const auto& [style, cap, height] : { std::tuple (1, 12, 24), std::tuple (2, 14, 28) })
    {
        auto button = desktop.lookAndFeel.createWindowButton ("OK", style);
        EXPECT_EQ (button->getWidth(), textWidth + 2 * cap);
        EXPECT_EQ (button->getHeight(), height);

        desktop.addAndMakeVisible (*button);
        button->sendLookAndFeelChange(); // keeps its style's set
        EXPECT_EQ (button->getHeight(), height);
    }

    TextButtonEx plain ("Cancel"); // under no toolkit look: the default caps
    EXPECT_EQ (plain.getHeight(), 20);
    EXPECT_EQ (plain.getWidth(), plain.getTextWidth() + 20);
}

TEST (CreditsText, StartsAgainBelowOnceTheLastLineLeftAtTheTop)
{
    CreditsText credits ("Pulsetta\nDrums\nby us");
    credits.setSize (200, 50);
    const int lineHeight = (int) toolkit::makeFont (13.0f).getHeight();
    ASSERT_EQ (credits.getTextBounds(), juce::Rectangle<int> (0, 55, 200, 3 * lineHeight));

    // One pixel a tick while any line shows; the tick that takes the last
    // line out puts the text back below.
    int ticks = 0;
    for (int lastY = 56; credits.getTextBounds().getY() < lastY && ticks < 1000; ++ticks)
    {
        lastY = credits.getTextBounds().getY();
        credits.timerCallback();
    }
    EXPECT_EQ (ticks, 55 + 3 * lineHeight + 1);
    EXPECT_EQ (credits.getTextBounds().getY(), 55);
}
