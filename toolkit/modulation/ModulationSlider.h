#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

// A route's amount: a horizontal slider from -1 to +1 drawn as a scale with
// ticks and figures, a downward triangle for the thumb, and a red line from
// the centre showing the live level of the route's source scaled by the
// amount. Message thread.
class ModulationSlider : public juce::Slider
{
public:
    // Where the scale's parts lie for a slider of a given size, in pixels
    // from its top left; "t" is a value cut toward zero. Worked out on every
    // resize, and drawn by the slider's own look.
    struct Scale
    {
        // width W, height, margin m and the measured widths of the scale
        // texts (in scaleTexts order).
        Scale (int width, int height, float margin, const std::array<int, 7>& textWidths);

        float centre;     // c: height / 2
        float barLength;  // L: W - m
        float halfMargin; // h: m / 2
        float ratio;      // r: L / W

        juce::Rectangle<int> track;                 // (t(h) - 2, t(c) + 12, ceil(W - h - 3), 3)
        std::array<int, 16> minorTickX {};          // at t(h) + t(i r W / 20), i in 1..19 but 5, 10, 15
        float minorTickTop, minorTickBottom;        // c + 7, c + 14
        std::array<juce::Rectangle<int>, 5> majorTicks; // -1.0, 0.0, +1.0, -0.5, +0.5; 15 high from t(c) - 1
        std::array<juce::Rectangle<int>, 5> textBoxes;  // "-1.0", "-0.5", "0.0", "+0.5", "+1.0"; 13 high from t(c) - 15
    };

    // "-1.0", "-0.5", "-0", "0.0", "+0", "+0.5", "+1.0": "-0" and "+0"
    // measure where the half texts end, at their ticks.
    static const std::array<const char*, 7> scaleTexts;

    ModulationSlider();
    ~ModulationSlider() override;

    // The live level (-1..+1) of the source; repaints when it changed.
    void setLevel (float newLevel);
    float getLevel() const noexcept { return level; }
    static constexpr float getMargin() noexcept { return margin; }
    const juce::Font& getScaleFont() const noexcept { return font; }
    const Scale& getScale() const noexcept { return scale; }

    void resized() override;

private:
    // The look of this slider only: the scale behind, the triangle thumb;
    // everything else as LookAndFeel_V2 draws it.
    class OwnLookAndFeel : public juce::LookAndFeel_V2
    {
    public:
        int getSliderThumbRadius (juce::Slider& slider) override;
        void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                         float minSliderPos, float maxSliderPos, const juce::Slider::SliderStyle style,
                                         juce::Slider& slider) override;
        void drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                                    float maxSliderPos, const juce::Slider::SliderStyle style, juce::Slider& slider) override;
    };

    static constexpr float margin = 16.0f; // pixels: twice the distance from each end to its value

    float level = 0.0f;
    OwnLookAndFeel ownLook;
    juce::Font font;
    Scale scale { 0, 0, margin, {} };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModulationSlider)
};
