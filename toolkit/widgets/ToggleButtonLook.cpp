#include "toolkit/widgets/ToggleButtonLook.h"

namespace toolkit
{
namespace
{
// Where the label starts: the box is as wide as the button is high, plus a gap.
int getLabelLeft (int height) { return (int) (1.2f * (float) height); }
} // namespace

juce::Colour getButtonFaceColour (const juce::Button& button, bool isMouseOver, bool isButtonDown)
{
    auto face = button.findColour (juce::TextButton::buttonColourId)
                    .withMultipliedSaturation (button.hasKeyboardFocus (true) ? 1.3f : 0.9f)
                    .withMultipliedAlpha (button.isEnabled() ? 0.9f : 0.5f);

    if (isButtonDown || isMouseOver)
        face = face.contrasting (isButtonDown ? 0.2f : 0.1f);

    return face;
}

void fillToggleShape (juce::Graphics& g, const juce::Path& shape, juce::Colour face)
{
    const auto bounds = shape.getBounds();
    const float alpha = face.getFloatAlpha();

    g.setGradientFill (juce::ColourGradient::vertical (face.brighter (0.2f), bounds.getY(),
                                                       face.darker (0.25f), bounds.getBottom()));
    g.fillPath (shape);

    // The highlight runs just inside the top half of the edge.
    g.setColour (juce::Colours::white.withAlpha (0.4f * alpha));
    g.strokePath (shape, juce::PathStrokeType (1.0f),
                  juce::AffineTransform::scale (1.0f, 0.5f, bounds.getCentreX(), bounds.getY() + 1.0f));

    g.setColour (juce::Colours::black.withAlpha (0.4f * alpha));
    g.strokePath (shape, juce::PathStrokeType (1.0f));
}

void drawToggleLabel (juce::Graphics& g, juce::TextButton& button)
{
    const int left = getLabelLeft (button.getHeight());

    g.setColour (button.findColour (juce::Label::textColourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    g.setFont (button.getLookAndFeel().getTextButtonFont (button, button.getHeight()));
    g.drawText (button.getButtonText(), left, 0, button.getWidth() - left, button.getHeight(),
                juce::Justification::centredLeft, false);
}

void fitToggleButtonToText (juce::TextButton& button, int height)
{
    if (height < 0)
        height = button.getHeight();

    const auto font = button.getLookAndFeel().getTextButtonFont (button, height);
    button.setSize (juce::roundToInt (font.getStringWidthFloat (button.getButtonText())) + getLabelLeft (height), height);
}
} // namespace toolkit
