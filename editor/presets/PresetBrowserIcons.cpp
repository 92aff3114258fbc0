#include "editor/presets/PresetBrowserIcons.h"

#include <initializer_list>

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

// A closed outline through the points (two or more), in pixels of the icon.
juce::Path closedPath (std::initializer_list<juce::Point<float>> points)
{
    juce::Path path;
    path.startNewSubPath (*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point)
        path.lineTo (*point);
    path.closeSubPath();
    return path;
}

// Fills a shape, then outlines it with a one-pixel line.
void paintShape (juce::Graphics& g, const juce::Path& shape, juce::Colour fill, juce::Colour outline)
{
    g.setColour (fill);
    g.fillPath (shape);
    g.setColour (outline);
    g.strokePath (shape, juce::PathStrokeType (1.0f));
}

// A folder: its tab at the top left, its front a little lower.
void drawGroup (juce::Graphics& g, const IconColours& colours)
{
    const auto back = closedPath ({ { 1.5f, 3.5f }, { 6.0f, 3.5f }, { 7.5f, 5.0f }, { 14.5f, 5.0f }, { 14.5f, 13.5f }, { 1.5f, 13.5f } });
    juce::Path front;
    front.addRoundedRectangle (1.5f, 6.5f, 13.0f, 7.0f, 1.0f);

    paintShape (g, back, colours.back, colours.outline);
    paintShape (g, front, colours.body, colours.outline);
}

// A sheet with a folded corner and three slider lines on it.
void drawPreset (juce::Graphics& g, const IconColours& colours)
{
    const auto sheet = closedPath ({ { 3.5f, 1.5f }, { 10.0f, 1.5f }, { 12.5f, 4.0f }, { 12.5f, 14.5f }, { 3.5f, 14.5f } });
    paintShape (g, sheet, juce::Colours::white, colours.outline);

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
