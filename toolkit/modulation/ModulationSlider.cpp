#include "toolkit/modulation/ModulationSlider.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"

#include <cmath>

namespace
{
// t(x): cut toward zero.
int cut (float value) noexcept
{
    return static_cast<int> (value);
}

const juce::Colour levelColour { 0xffa90000 };

// The look is set on its own slider only, so every slider it is asked about
// is that one.
const ModulationSlider& ownerOf (const juce::Slider& slider) noexcept
{
    return static_cast<const ModulationSlider&> (slider);
}
} // namespace

const std::array<const char*, 7> ModulationSlider::scaleTexts { "-1.0", "-0.5", "-0", "0.0", "+0", "+0.5", "+1.0" };

ModulationSlider::Scale::Scale (int width, int height, float m, const std::array<int, 7>& w)
{
    const auto W = static_cast<float> (width);
    centre = static_cast<float> (height) / 2.0f;
    barLength = W - m;
    halfMargin = m / 2.0f;
    ratio = width > 0 ? barLength / W : 0.0f;

    const float c = centre, L = barLength, h = halfMargin;
    track = { static_cast<int> (std::floor (h)) - 2, cut (c) + 12, static_cast<int> (std::ceil (W - h - 3.0f)), 3 };

    size_t minor = 0;
    for (int i = 1; i < 20; ++i)
        if (i % 5 != 0)
            minorTickX[minor++] = cut (h) + cut (static_cast<float> (i) * ratio * W * 0.05f);

    minorTickTop = c + 7.0f;
    minorTickBottom = c + 14.0f;

    const int majorTop = cut (c) - 1;
    majorTicks = { juce::Rectangle<int> (cut (h) - 2, majorTop, 3, 15), juce::Rectangle<int> (width / 2 - 1, majorTop, 3, 15),
                   juce::Rectangle<int> (cut (L + h), majorTop, 3, 15), juce::Rectangle<int> (cut (L / 4.0f + h), majorTop, 2, 15),
                   juce::Rectangle<int> (cut (3.0f * L / 4.0f + h) - 1, majorTop, 2, 15) };

    const int textTop = cut (c) - 15;
    textBoxes = { juce::Rectangle<int> (cut (m / 2.0f), textTop, w[0], 13),
                  juce::Rectangle<int> (cut (L / 4.0f + h - static_cast<float> (w[2])), textTop, w[1], 13),
                  juce::Rectangle<int> (cut (L / 2.0f + h - static_cast<float> (w[3] / 2)), textTop, w[3], 13),
                  juce::Rectangle<int> (cut (3.0f * L / 4.0f + h - static_cast<float> (w[4])) - 1, textTop, w[5], 13),
                  juce::Rectangle<int> (width - cut (m / 2.0f) - w[6], textTop, w[6], 13) };
}

ModulationSlider::ModulationSlider()
    : juce::Slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox),
      font (toolkit::makeFont (13.0f))
{
    setLookAndFeel (&ownLook);
    setRange (-1.0, 1.0, 0.0001);
    setValue (0.0, juce::dontSendNotification);
}

ModulationSlider::~ModulationSlider()
{
    // The look is a member: the slider lets go of it before it goes.
    setLookAndFeel (nullptr);
}

void ModulationSlider::setLevel (float newLevel)
{
    if (newLevel == level)
        return;

    level = newLevel;
    repaint();
}

void ModulationSlider::resized()
{
    juce::Slider::resized();

    std::array<int, 7> widths {};
    for (size_t i = 0; i < widths.size(); ++i)
        widths[i] = font.getStringWidth (scaleTexts[i]);

    scale = Scale (getWidth(), getHeight(), margin, widths);
}

int ModulationSlider::OwnLookAndFeel::getSliderThumbRadius (juce::Slider& slider)
{
    return cut (ownerOf (slider).getMargin() / 2.0f);
}

void ModulationSlider::OwnLookAndFeel::drawLinearSliderBackground (juce::Graphics& g, int, int, int, int, float, float, float,
                                                                   const juce::Slider::SliderStyle, juce::Slider& slider)
{
    const auto& own = ownerOf (slider);
    const auto& s = own.getScale();
    const auto W = static_cast<float> (slider.getWidth());
    g.setFont (own.getScaleFont());

    // The source's level as the amount passes it on, from the centre.
    const float lineY = s.centre + 10.0f;
    const float levelEnd = (static_cast<float> (slider.getValue()) * own.getLevel() * s.barLength + W) / 2.0f;
    g.setColour (levelColour);
    g.drawLine (W / 2.0f, lineY, levelEnd, lineY, 4.0f);

    g.setColour (juce::Colours::black);
    g.fillRect (s.track);

    for (const int tickX : s.minorTickX)
        g.fillRect (juce::Rectangle<float> (static_cast<float> (tickX), s.minorTickTop, 1.0f, s.minorTickBottom - s.minorTickTop));

    for (const auto& tick : s.majorTicks)
        g.fillRect (tick);

    const juce::Justification justifications[] = { juce::Justification::right, juce::Justification::left, juce::Justification::centred,
                                                   juce::Justification::left, juce::Justification::left };
    const char* const texts[] = { scaleTexts[0], scaleTexts[1], scaleTexts[3], scaleTexts[5], scaleTexts[6] };

    for (size_t i = 0; i < s.textBoxes.size(); ++i)
        g.drawText (texts[i], s.textBoxes[i], justifications[i], false);
}

void ModulationSlider::OwnLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int, int y, int, int height, float sliderPos,
                                                              float, float, const juce::Slider::SliderStyle, juce::Slider& slider)
{
    // Pointing down, its tip half a pixel right of the value's position.
    const float m = ownerOf (slider).getMargin();
    juce::Path thumb;
    thumb.addTriangle (1.0f, 0.5f, m - 1.0f, 0.5f, m / 2.0f, 13.0f);
    thumb.applyTransform (juce::AffineTransform::translation (sliderPos + 0.5f - m / 2.0f,
                                                              static_cast<float> (y) + static_cast<float> (height) / 2.0f));
    g.setColour (juce::Colours::white);
    g.fillPath (thumb);
    g.setColour (juce::Colours::black);
    g.strokePath (thumb, juce::PathStrokeType (1.0f));
}
