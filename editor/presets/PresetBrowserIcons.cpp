#include "editor/presets/PresetBrowserIcons.h"

namespace presetbrowser
{
namespace
{
// The colours of an icon on an unselected row and on a selected one: a
// selected row is grey, so its icon is outlined in white.
struct IconColours
{
    juce::Colour outline, body, back, accent;
};

IconColours coloursFor (bool selected)
{
    const juce::Colour darkGrey (0xFF5B5B5B), orange (0xFFFF6C00), paleOrange (0xFFFFA35F);
    return selected ? IconColours { juce::Colours::white, paleOrange, juce::Colours::white, orange }
                    : IconColours { darkGrey, paleOrange, orange, orange };
}

// A folder: its tab at the top left, its front a little lower.
void drawGroup (juce::Graphics& g, const IconColours& colours)
{
    juce::Path back;
    back.startNewSubPath (1.5f, 3.5f);
    back.lineTo (6.0f, 3.5f);
    back.lineTo (7.5f, 5.0f);
    back.lineTo (14.5f, 5.0f);
    back.lineTo (14.5f, 13.5f);
    back.lineTo (1.5f, 13.5f);
    back.closeSubPath();

    juce::Path front;
    front.addRoundedRectangle (1.5f, 6.5f, 13.0f, 7.0f, 1.0f);

    g.setColour (colours.back);
    g.fillPath (back);
    g.setColour (colours.outline);
    g.strokePath (back, juce::PathStrokeType (1.0f));
    g.setColour (colours.body);
    g.fillPath (front);
    g.setColour (colours.outline);
    g.strokePath (front, juce::PathStrokeType (1.0f));
}

// A sheet with a folded corner and three slider lines on it.
void drawPreset (juce::Graphics& g, const IconColours& colours)
{
    juce::Path sheet;
    sheet.startNewSubPath (3.5f, 1.5f);
    sheet.lineTo (10.0f, 1.5f);
    sheet.lineTo (12.5f, 4.0f);
    sheet.lineTo (12.5f, 14.5f);
    sheet.lineTo (3.5f, 14.5f);
    sheet.closeSubPath();

    g.setColour (juce::Colours::white);
    g.fillPath (sheet);
    g.setColour (colours.outline);
    g.strokePath (sheet, juce::PathStrokeType (1.0f));

    // Each line with its knob at another place, like three faders.
    const float knobs[] = { 9.0f, 6.0f, 8.0f };

    for (int i = 0; i < 3; ++i)
    {
        const float y = 6.0f + 3.0f * (float) i;
        g.setColour (juce::Colour (0xFF808080));
        g.fillRect (5.0f, y, 6.0f, 1.0f);
        g.setColour (colours.accent);
        g.fillRect (knobs[i] - 1.0f, y - 1.0f, 2.0f, 3.0f);
    }
}

juce::Image makeIcon (juce::int64 hashCode, void (*draw) (juce::Graphics&, const IconColours&), bool selected)
{
    auto image = juce::ImageCache::getFromHashCode (hashCode);

    if (image.isValid())
        return image;

    image = juce::Image (juce::Image::ARGB, iconSize, iconSize, true);
    {
        juce::Graphics g (image);
        draw (g, coloursFor (selected));
    }
    juce::ImageCache::addImageToCache (image, hashCode);
    return image;
}

// Keys of the cache, far from the hash codes of files and memory blocks.
constexpr juce::int64 iconHashBase = 0x50726573'65744963; // "PresetIc"
} // namespace

juce::Image getGroupIcon (bool selected)
{
    return makeIcon (iconHashBase + (selected ? 1 : 0), drawGroup, selected);
}

juce::Image getPresetIcon (bool selected)
{
    return makeIcon (iconHashBase + (selected ? 3 : 2), drawPreset, selected);
}
} // namespace presetbrowser
