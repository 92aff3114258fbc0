#include "toolkit/lookandfeel/ToolkitDrawing.h"

#include "framework/core/XmlTags.h"

namespace toolkit
{
void strokeRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, float thickness)
{
    g.drawRoundedRectangle (area.reduced (thickness * 0.5f), cornerSize - thickness * 0.5f, thickness);
}

void fillRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize)
{
    g.fillRoundedRectangle (area, cornerSize);
}

void fillAndStrokeRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize,
                                    juce::Colour fill, juce::Colour outline, float thickness)
{
    g.setColour (fill);
    g.fillRoundedRectangle (area.reduced (1.0f), cornerSize);
    g.setColour (outline);
    strokeRoundedRectangle (g, area, cornerSize, thickness);
}

void fillRoundedRectangleOnSide (juce::Graphics& g, juce::Rectangle<float> area, int side, juce::Colour colour)
{
    const bool left = side == juce::Justification::left;
    const bool right = side == juce::Justification::right;
    const bool bottom = side == juce::Justification::bottom;
    const bool top = ! (left || right || bottom);

    juce::Path shape;
    shape.addRoundedRectangle (area.getX(), area.getY(), area.getWidth(), area.getHeight(), 8.0f, 8.0f,
                               top || left, top || right, bottom || left, bottom || right);
    g.setColour (colour);
    g.fillPath (shape);
}

void drawRoundedFrame (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour)
{
    juce::Path inner;
    inner.addRoundedRectangle (area.reduced (1.0f), 6.0f);

    juce::Path frame;
    frame.addRectangle (area);
    frame.addPath (inner);
    frame.setUsingNonZeroWinding (false);

    g.setColour (colour);
    g.fillPath (frame);
    g.setColour (juce::Colours::white);
    g.strokePath (inner, juce::PathStrokeType (1.0f));
}

std::unique_ptr<juce::Drawable> createDrawableFromSvg (const char* text, size_t length)
{
    if (text == nullptr)
        return nullptr;

    const auto document = juce::parseXML (juce::String::fromUTF8 (text, (int) length));

    if (! tagIs (document.get(), "svg"))
        return nullptr;

    return juce::Drawable::createFromSVG (*document);
}
} // namespace toolkit
