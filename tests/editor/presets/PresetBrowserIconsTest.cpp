// The preset browser's icons as drawn: a folder and a sheet, outlined in
// dark grey on an unselected row and in white on a selected one.
#include "editor/presets/PresetBrowserIcons.h"

#include <gtest/gtest.h>

TEST (PresetBrowserIcons, EachShapeIsOutlinedAndFilledInItsRowsColours)
{
    struct Case
    {
        const char* name;
        juce::Image (*icon) (bool selected);
        juce::Point<int> onOutline, inside;
        juce::uint32 insideColour;
    };
    const Case cases[] = {
        { "group", presetbrowser::getGroupIcon, { 1, 3 }, { 8, 10 }, 0xFFFFA35F }, // the tab's corner; the front
        { "preset", presetbrowser::getPresetIcon, { 3, 1 }, { 6, 13 }, 0xFFFFFFFF }, // the sheet's corner; below the faders
    };

    for (const auto& c : cases)
    {
        for (const bool selected : { false, true })
        {
            SCOPED_TRACE (juce::String (c.name) + (selected ? " selected" : ""));
            const auto icon = c.icon (selected);
            ASSERT_EQ (icon.getBounds(), juce::Rectangle<int> (presetbrowser::iconSize, presetbrowser::iconSize));
            EXPECT_EQ (icon.getPixelAt (c.onOutline.x, c.onOutline.y).getARGB(), selected ? 0xFFFFFFFF : 0xFF5B5B5B);
            EXPECT_EQ (icon.getPixelAt (c.inside.x, c.inside.y).getARGB(), c.insideColour);
            EXPECT_EQ (icon.getPixelAt (0, 0).getAlpha(), 0) << "the corner stays clear";
        }
    }
}
