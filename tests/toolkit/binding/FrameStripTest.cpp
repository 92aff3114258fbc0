#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/binding/BaseGFXController.h"
#include "toolkit/binding/FrameStrip.h"

#include <gtest/gtest.h>

#include <limits>

using namespace widget_testing;

TEST (FrameStrip, ValueChoosesTheNearestFrameWithinTheStrip)
{
    const struct
    {
        float value;
        int framesNum, frame;
    } cases[] = {
        { 0.5f, 61, 30 }, { 1.0f, 61, 60 }, { 0.0f, 61, 0 }, { 0.5f, 3, 1 }, { 1.0f, 12, 11 },
        { 0.49f, 2, 0 }, { 0.5f, 2, 1 }, { 1.5f, 61, 60 }, { -0.5f, 61, 0 },
        { std::numeric_limits<float>::quiet_NaN(), 61, 0 }, { 0.7f, 1, 0 }, { 0.7f, 0, 0 }, { 0.7f, -3, 0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (toolkit::frameForValue (c.value, c.framesNum), c.frame) << c.value << " on " << c.framesNum;
}

TEST (FrameStrip, AStripHoldsAtLeastOneFrameAndAtMostOnePerRow)
{
    const struct
    {
        int framesNum, imageHeight, held;
    } cases[] = { { 61, 366, 61 }, { 0, 30, 1 }, { -4, 30, 1 }, { 40, 30, 30 }, { 3, 0, 1 } };

    for (const auto& c : cases)
        EXPECT_EQ (toolkit::clampFrameCount (c.framesNum, c.imageHeight), c.held) << c.framesNum << " in " << c.imageHeight;

    // A control given no frames by a caller draws its strip as one frame.
    BaseGFXController strip;
    strip.setImage (makeFrameStrip (3), 0);
    EXPECT_EQ (strip.getFramesNum(), 1);
    EXPECT_EQ (strip.getFrameHeight(), 18);
}

TEST (FrameStrip, DrawsTheFrameAtOneToOneAndClampsTheIndexIntoTheStrip)
{
    const auto strip = makeFrameStrip (5);
    const struct
    {
        int asked, drawn;
    } cases[] = { { 0, 0 }, { 3, 3 }, { 4, 4 }, { 5, 4 }, { 99, 4 }, { -1, 0 } };

    for (const auto& c : cases)
    {
        juce::Image target (juce::Image::ARGB, 8, 6, true);
        juce::Graphics g (target);
        g.setColour (juce::Colours::black.withAlpha (0.4f)); // what the caller drew with last does not show through
        toolkit::drawFrame (g, strip, c.asked, 8, 6);

        EXPECT_EQ (frameAt (target, 0, 0), c.drawn) << c.asked;
        EXPECT_EQ (frameAt (target, 7, 5), c.drawn) << c.asked;
    }

    juce::Image target (juce::Image::ARGB, 8, 6, true);
    juce::Graphics g (target);
    toolkit::drawFrame (g, {}, 0, 8, 6);
    toolkit::drawFrame (g, strip, 0, 8, 0);
    EXPECT_EQ (target.getPixelAt (3, 3).getAlpha(), 0) << "nothing drawn from a null strip or an empty frame";
}
