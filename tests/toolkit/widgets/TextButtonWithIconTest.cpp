#include "support/MessageLoop.h"
#include "toolkit/windows/TestDesktop.h"

#include "framework/core/Parameters.h"

#include "toolkit/lookandfeel/ToolkitArtwork.h"
#include "toolkit/widgets/TextButtonWithIcon.h"

#include <gtest/gtest.h>

using toolkit_test::ref;

namespace
{
struct IconButton
{
    IconButton()
    {
        desktop.addAndMakeVisible (button);
        button.setBounds (0, 0, 120, 20);
        button.setIconMargins ({ 3, 1, 5, 1 });
        button.setIcon (ref (toolkit::getToolbarIcon (5).get()));
    }

    toolkit_test::TestDesktop desktop;
    TextButtonWithIcon button;
};
} // namespace

TEST (TextButtonWithIcon, IconSquareSitsInsideItsMarginsAtEitherEnd)
{
    IconButton shown;
    EXPECT_EQ (shown.button.getIconArea(), juce::Rectangle<int> (1, 3, 12, 12));

    shown.button.setIconOnRight (true);
    EXPECT_EQ (shown.button.getIconArea(), juce::Rectangle<int> (107, 3, 12, 12));
    EXPECT_EQ (ref (shown.button.getShownIcon()).getBoundsInParent(), juce::Rectangle<int> (107, 3, 12, 12));

    shown.button.setIconMargins ({ 15, 1, 15, 1 }); // taller margins than the button: no icon, no crash
    EXPECT_EQ (shown.button.getIconArea().getHeight(), 0);
}

TEST (TextButtonWithIcon, ToggleWritesTheBoundBoolAndShowsTheOtherIcon)
{
    BoolParameter learn (7, "Learn"); // outlives the button bound to it
    IconButton shown;
    auto& button = shown.button;
    int changes = 0;
    struct Counter : Parameter::Listener
    {
        explicit Counter (int& count) : changes (count) {}
        void parameterChanged (Parameter*) override { ++changes; }
        int& changes;
    } counter (changes);
    learn.addListener (&counter);
    button.bindParameter (&learn);
    auto* off = button.getShownIcon();

    button.setToggleState (true, juce::sendNotification);
    EXPECT_TRUE (learn.getBool());
    auto* on = button.getShownIcon();
    EXPECT_NE (on, off);
    EXPECT_TRUE (ref (on).isVisible());
    EXPECT_FALSE (ref (off).isVisible());

    button.setToggleState (false, juce::sendNotification);
    EXPECT_FALSE (learn.getBool());
    EXPECT_EQ (changes, 2);

    // The parameter's own change shows without being written back.
    learn.setBool (true, true);
    testing_support::runPendingMessages();
    EXPECT_TRUE (button.getToggleState());
    EXPECT_EQ (button.getShownIcon(), on);
    EXPECT_EQ (changes, 3);
    learn.removeListener (&counter);
}

TEST (TextButtonWithIcon, DisabledShowsIconAndTextAtHalfAlpha)
{
    IconButton shown;
    shown.button.setButtonText ("Options");
    shown.button.setColour (juce::TextButton::textColourOffId, juce::Colours::black);
    shown.button.setEnabled (false);

    EXPECT_NEAR (ref (shown.button.getShownIcon()).getAlpha(), 0.5f, 0.01f);

    const auto image = toolkit_test::paintOver (shown.button);
    float darkest = 1.0f;
    for (int x = 20; x < 110; ++x)
        for (int y = 3; y < 17; ++y)
            darkest = juce::jmin (darkest, image.getPixelAt (x, y).getBrightness());
    EXPECT_GT (darkest, 0.3f); // black text at half alpha over the light face
    EXPECT_LT (darkest, 0.7f);
}

// The text is written once, beside the icon: it never runs under it.
TEST (TextButtonWithIcon, TextStaysOutOfTheIconSquare)
{
    toolkit_test::TestDesktop desktop;
    TextButtonWithIcon button;
    desktop.addAndMakeVisible (button);
    button.setBounds (0, 0, 60, 20);
    button.setButtonText ("WWWWWWWWWW");
    button.setColour (juce::TextButton::textColourOffId, juce::Colours::red);

    const auto image = toolkit_test::paintOver (button);
    int red = 0;
    for (int x = 0; x < 18; ++x)
        for (int y = 0; y < 20; ++y)
        {
            const auto colour = image.getPixelAt (x, y);
            red += colour.getRed() > colour.getGreen() + 60 ? 1 : 0;
        }
    EXPECT_EQ (red, 0);
}
