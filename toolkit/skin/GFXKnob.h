#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

// A knob drawn from an image strip: a rotary slider over 0..1 (a vertical
// drag of 250 pixels covers the range, dragging up raises it, the wheel turns
// it) that shows its value as the nearest frame and writes its parameter as
// the user turns it, each drag one gesture. A disabled knob shows frame 0.
// Without an image it draws a plain slider with the value and parameter
// name. Message thread.
class GFXKnob : public BaseGFXController, public juce::Slider
{
public:
    explicit GFXKnob (const juce::String& name = {});
    ~GFXKnob() override;

    using GUIController::addListener;
    using GUIController::removeListener;
    using juce::Slider::addListener;
    using juce::Slider::removeListener;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;
    void paint (juce::Graphics& g) override;

    bool isDragging() const noexcept { return dragging; }

protected:
    // Message thread, from the slider: a drag (or one wheel step) starts or
    // ends, and the value moved.
    void startedDragging() override;
    void stoppedDragging() override;
    void valueChanged() override;

    // The frame that shows the value (frame 0 is shown when disabled).
    virtual int getFrameForValue() const;

    // The plain look without an image.
    virtual void paintWithoutImage (juce::Graphics& g);

    // The parameter's text, or the value when unbound.
    juce::String getValueText() const;

    // The slider's value and the parameter's normalised value, each from the
    // other.
    virtual float sliderToNormalised (double sliderValue) const { return static_cast<float> (sliderValue); }
    virtual double normalisedToSlider (float normalised) const { return static_cast<double> (normalised); }

private:
    bool dragging = false;
    std::optional<ScopedGesture> gesture;
};

// A stepped selector drawn from a strip (the instrument switch): values snap
// to 0.005 over 0..1, and the frame follows the value. Its skin element may
// say style="Rotary" (the default), "Horizontal" or "Vertical".
class GFXSwitch : public GFXKnob
{
public:
    explicit GFXSwitch (const juce::String& name = {});

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

protected:
    int getFrameForValue() const override;
};

// A pitch wheel: the slider runs from -1 to 1 (the parameter's 0..1) and
// springs back to the centre when released.
class PitchBender : public GFXKnob
{
public:
    explicit PitchBender (const juce::String& name = {});

protected:
    void stoppedDragging() override;
    float sliderToNormalised (double sliderValue) const override { return static_cast<float> ((sliderValue + 1.0) * 0.5); }
    double normalisedToSlider (float normalised) const override { return static_cast<double> (normalised) * 2.0 - 1.0; }
};

// A modulation wheel that springs back to its minimum when released.
class ModWheel : public GFXKnob
{
public:
    explicit ModWheel (const juce::String& name = {});

protected:
    void stoppedDragging() override;
};

// A MIDI channel selector: frames 1 to framesNum - 1 show the value; frame 0
// is kept for the disabled look.
class GFXMidiChannelDisplay : public GFXKnob
{
public:
    explicit GFXMidiChannelDisplay (const juce::String& name = {});

protected:
    int getFrameForValue() const override;
    void paintWithoutImage (juce::Graphics& g) override;
};
