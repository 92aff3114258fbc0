#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// Shared drawing operations of the toolkit's windows, menus and browsers.
// Message thread (they draw into the given context).
namespace toolkit
{
// The rounded rectangle inset by half the thickness, so the stroke stays
// inside the rectangle.
void strokeRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, float thickness);
void fillRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize);
// Fills the area reduced by 1 on every side, then strokes the whole area.
void fillAndStrokeRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize,
                                    juce::Colour fill, juce::Colour outline, float thickness);
// A rectangle of corner 8 rounded only on one side: juce::Justification
// left, right or bottom; any other value rounds the top.
void fillRoundedRectangleOnSide (juce::Graphics& g, juce::Rectangle<float> area, int side, juce::Colour colour);
// Fills the corners outside a rounded rectangle (corner 6, inside the area
// reduced by 1) with the colour and strokes that rounded edge in white.
void drawRoundedFrame (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour);

// An SVG document as a drawable; null unless its root element is "svg".
std::unique_ptr<juce::Drawable> createDrawableFromSvg (const char* text, size_t length);
} // namespace toolkit
