#include "tools/skinart/ArtKit.h"

#include <cmath>

namespace skinart
{
namespace
{
juce::Typeface::Ptr loadTypeface (const juce::File& file)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data) || data.isEmpty())
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}
} // namespace

bool Fonts::load (const juce::File& folder)
{
    regularFace = loadTypeface (folder.getChildFile ("DejaVuSans.ttf"));
    boldFace = loadTypeface (folder.getChildFile ("DejaVuSans-Bold.ttf"));
    return regularFace != nullptr && boldFace != nullptr;
}

juce::Font Fonts::regular (float height) const { return juce::Font (regularFace).withHeight (height); }
juce::Font Fonts::bold (float height) const { return juce::Font (boldFace).withHeight (height); }

juce::Image makeImage (int width, int height)
{
    return juce::Image (juce::Image::ARGB, width, height, true);
}

void drawLabel (juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Colour colour,
                juce::Rectangle<float> area, juce::Justification justification)
{
    auto fitted = font;
    const float width = font.getStringWidthFloat (text);
    if (width > area.getWidth())
        fitted = font.withHorizontalScale (juce::jmax (0.7f, area.getWidth() / width));
    g.setColour (colour);
    g.setFont (fitted);
    g.drawText (text, area, justification, false);
}

void drawCap (juce::Graphics& g, juce::Rectangle<float> area, float corner, juce::Colour face, bool pressed)
{
    if (pressed)
        area.translate (0.0f, 1.0f);
    else
    {
        g.setColour (juce::Colours::black.withAlpha (0.55f));
        g.fillRoundedRectangle (area.translated (0.0f, 1.5f), corner);
    }

    const auto top = pressed ? face.darker (0.15f) : face.brighter (0.18f);
    const auto bottom = pressed ? face.darker (0.35f) : face.darker (0.22f);
    g.setGradientFill (juce::ColourGradient (top, area.getX(), area.getY(), bottom, area.getX(), area.getBottom(), false));
    g.fillRoundedRectangle (area, corner);

    // A thin light edge along the top, as light falls on a raised cap.
    if (! pressed)
    {
        g.setColour (juce::Colours::white.withAlpha (0.16f));
        g.drawHorizontalLine ((int) area.getY() + 1, area.getX() + corner, area.getRight() - corner);
    }
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);
}

void drawLamp (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit)
{
    const auto body = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    if (lit)
    {
        const float halo = radius * 1.9f;
        g.setGradientFill (juce::ColourGradient (colour.withAlpha (0.45f), centre, colour.withAlpha (0.0f),
                                                 centre.translated (halo, 0.0f), true));
        g.fillEllipse (juce::Rectangle<float> (halo * 2.0f, halo * 2.0f).withCentre (centre));
        g.setGradientFill (juce::ColourGradient (colour.brighter (0.9f), centre.translated (-radius * 0.3f, -radius * 0.3f),
                                                 colour, centre.translated (radius, radius), true));
    }
    else
    {
        const auto off = colour.withMultipliedSaturation (0.6f).withMultipliedBrightness (0.28f);
        g.setGradientFill (juce::ColourGradient (off.brighter (0.3f), centre.translated (-radius * 0.3f, -radius * 0.3f),
                                                 off, centre.translated (radius, radius), true));
    }
    g.fillEllipse (body);
    g.setColour (juce::Colours::black.withAlpha (0.75f));
    g.drawEllipse (body, 1.0f);
}

void drawBarLamp (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, bool lit)
{
    const float corner = juce::jmin (1.5f, area.getHeight() * 0.5f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.fillRoundedRectangle (area, corner);
    const auto inner = area.reduced (1.0f);
    if (lit)
    {
        g.setGradientFill (juce::ColourGradient (colour.brighter (0.6f), inner.getX(), inner.getY(), colour,
                                                 inner.getX(), inner.getBottom(), false));
    }
    else
        g.setColour (colour.withMultipliedSaturation (0.6f).withMultipliedBrightness (0.25f));
    g.fillRoundedRectangle (inner, juce::jmax (0.5f, corner - 0.5f));
}

void drawPlate (juce::Graphics& g, juce::Rectangle<float> area)
{
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.fillRoundedRectangle (area.translated (0.0f, 2.0f), 6.0f);
    g.setGradientFill (juce::ColourGradient (colour::plate.brighter (0.06f), area.getX(), area.getY(),
                                             colour::plate.darker (0.12f), area.getX(), area.getBottom(), false));
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (colour::plateEdge);
    g.drawRoundedRectangle (area.reduced (0.5f), 6.0f, 1.0f);
}

float knobAngle (float value)
{
    return juce::MathConstants<float>::pi * (-0.75f + 1.5f * value);
}

float selectorAngle (int position, int positions)
{
    return knobAngle ((float) position / (float) (positions - 1));
}

juce::Point<float> direction (float angle)
{
    return { std::sin (angle), -std::cos (angle) };
}
} // namespace skinart
