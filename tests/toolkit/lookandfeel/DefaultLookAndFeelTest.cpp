#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitArtwork.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"

#include <gtest/gtest.h>

#include <climits>

using toolkit_test::pixelAt;

TEST (DefaultLookAndFeel, IconsExistOnlyForTheirIds)
{
    DefaultLookAndFeel lookAndFeel;

    for (int id : { INT_MIN, -1, 9, 10, 11, 12, 17, 22, 23, 29, 1000 })
    {
        EXPECT_EQ (toolkit::getToolbarIcon (id), nullptr) << id;

        for (int style : { 1, 2 })
        {
            EXPECT_EQ (lookAndFeel.createIconButton ("x", id, style), nullptr) << id;
            juce::ImageButton button;
            EXPECT_FALSE (lookAndFeel.setIconButtonImages (button, id, style)) << id;
        }
    }

    for (int id : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16, 18, 19, 20, 21 })
    {
        EXPECT_NE (toolkit::getToolbarIcon (id), nullptr) << id;
        const auto button = lookAndFeel.createIconButton ("x", id);
        ASSERT_NE (button, nullptr) << id;
        EXPECT_EQ (button->getNormalImage().getWidth(), toolkit::iconBoxSize);
    }

    for (int id : { 24, 25, 26, 27, 28 }) // drawn only as vectors
    {
        EXPECT_NE (toolkit::getToolbarIcon (id), nullptr) << id;
        EXPECT_EQ (lookAndFeel.createIconButton ("x", id), nullptr) << id;
    }
}

TEST (DefaultLookAndFeel, IconsAreBlackOnTheirWholeBoxSoCallersCanRecolourThem)
{
    auto icon = toolkit::getToolbarIcon (13); // a plus sign, narrower than its box
    EXPECT_EQ (icon->getDrawableBounds(), juce::Rectangle<float> (0.0f, 0.0f, 24.0f, 24.0f));
    EXPECT_TRUE (icon->replaceColour (juce::Colours::black, juce::Colours::orange));
}

TEST (DefaultLookAndFeel, ScrollbarThumbTurnsBlackWhileTheMouseIsOverTheBar)
{
    toolkit_test::TestDesktop desktop;
    juce::ScrollBar bar (true);
    desktop.addAndMakeVisible (bar);
    bar.setBounds (0, 0, 13, 100);

    struct Case { bool enabled, mouseOver; juce::uint32 thumb; };
    const Case cases[] = {
        { true, false, 0xFF6E6E6E },
        { true, true, 0xFF000000 },
        { false, true, 0xFFA9A9A9 }, // half alpha over the half-alpha track
    };

    for (const auto& c : cases)
    {
        bar.setEnabled (c.enabled);
        juce::Image image (juce::Image::ARGB, 13, 100, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::white);
        desktop.lookAndFeel.drawScrollbar (g, bar, 0, 0, 13, 100, true, 20, 40, c.mouseOver, false);
        EXPECT_NEAR ((int) (pixelAt (image, 6, 40) & 0xFF), (int) (c.thumb & 0xFF), 1);
        EXPECT_EQ (pixelAt (image, 6, 80), c.enabled ? 0xFFCCCCCCu : 0xFFE5E5E5u); // the track
    }
}

TEST (ToolkitDrawing, RoundsOnlyTheChosenSide)
{
    struct Case { int side; bool topLeft, topRight, bottomLeft, bottomRight; };
    const Case cases[] = {
        { juce::Justification::left, true, false, true, false },
        { juce::Justification::right, false, true, false, true },
        { juce::Justification::bottom, false, false, true, true },
        { juce::Justification::centred, true, true, false, false }, // anything else: the top
    };

    for (const auto& c : cases)
    {
        juce::Image image (juce::Image::ARGB, 40, 30, true);
        juce::Graphics g (image);
        toolkit::fillRoundedRectangleOnSide (g, { 0.0f, 0.0f, 40.0f, 30.0f }, c.side, juce::Colours::black);

        auto isRounded = [&image] (int x, int y) { return image.getPixelAt (x, y).getAlpha() < 128; };
        EXPECT_EQ (isRounded (0, 0), c.topLeft) << c.side;
        EXPECT_EQ (isRounded (39, 0), c.topRight) << c.side;
        EXPECT_EQ (isRounded (0, 29), c.bottomLeft) << c.side;
        EXPECT_EQ (isRounded (39, 29), c.bottomRight) << c.side;
        EXPECT_EQ (pixelAt (image, 20, 15), 0xFF000000u);
    }
}

TEST (ToolkitDrawing, FramesAndOutlinesStayInsideTheirRectangle)
{
    juce::Image image (juce::Image::ARGB, 40, 30, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colours::white);
    toolkit::drawRoundedFrame (g, { 0.0f, 0.0f, 40.0f, 30.0f }, juce::Colours::black);
    EXPECT_EQ (pixelAt (image, 0, 0), 0xFF000000u);   // corner outside the rounding
    EXPECT_EQ (pixelAt (image, 20, 15), 0xFFFFFFFFu); // inside untouched

    juce::Image outlined (juce::Image::ARGB, 40, 30, true);
    juce::Graphics og (outlined);
    og.setColour (juce::Colours::black);
    toolkit::strokeRoundedRectangle (og, { 5.0f, 5.0f, 30.0f, 20.0f }, 4.0f, 2.0f);
    EXPECT_EQ (outlined.getPixelAt (4, 15).getAlpha(), 0);
    EXPECT_EQ (pixelAt (outlined, 5, 15), 0xFF000000u);
    EXPECT_EQ (pixelAt (outlined, 34, 15), 0xFF000000u);
    EXPECT_EQ (outlined.getPixelAt (35, 15).getAlpha(), 0);
}

TEST (ToolkitDrawing, SvgOnlyFromAnSvgDocument)
{
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 32 32\"><path d=\"M4 16 L12 24 L28 6\"/></svg>";
    const std::string html = "<html><body/></html>";
    const std::string garbage = "not a document";

    EXPECT_NE (toolkit::createDrawableFromSvg (svg.data(), svg.size()), nullptr);
    EXPECT_EQ (toolkit::createDrawableFromSvg (html.data(), html.size()), nullptr);
    EXPECT_EQ (toolkit::createDrawableFromSvg (garbage.data(), garbage.size()), nullptr);
    EXPECT_EQ (toolkit::createDrawableFromSvg (nullptr, 10), nullptr);
}
