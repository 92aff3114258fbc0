#pragma once

#include "tools/skinart/ArtKit.h"

#include <functional>
#include <vector>

// The image strips of the built-in skin: each a column of equal frames, frame
// 0 at the top, as the skin widgets cut them. Build tool only.
namespace skinart
{
struct Strip
{
    juce::String file;  // the resource's file name, "KnobSmall.png"
    int frames = 1;
    int width = 0;      // of one frame, pixels
    int height = 0;
    std::function<void (juce::Graphics&, int frame, const Fonts&)> drawFrame;
};

// The bitmap font of the character displays: one glyph per row for the codes
// firstGlyph to lastGlyph, then the same rows again drawn as the caret cell.
namespace lcdFont
{
constexpr char firstGlyph = ' ';
constexpr char lastGlyph = '~';
constexpr int numGlyphs = lastGlyph - firstGlyph + 1;
constexpr int glyphWidth = 9;
constexpr int glyphHeight = 15;
} // namespace lcdFont

// Every strip, the background aside.
std::vector<Strip> makeStrips();

// The strip's whole image: every frame drawn in its own rows.
juce::Image renderStrip (const Strip& strip, const Fonts& fonts);

// The product's word mark, drawn into the area (the logo resource and the
// panel's top left corner).
void drawLogo (juce::Graphics& g, juce::Rectangle<float> area, const Fonts& fonts);
} // namespace skinart
