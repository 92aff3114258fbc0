#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A lamp or indicator drawn from a strip: it shows the frame nearest its
// parameter's value, frame 0 in the dark phase of a blink, and can flash
// frame 1 for a moment (the MIDI activity lamp). Without an image it draws a
// small square with a dot as large as the value. Message thread.
class GFXAnimation : public BaseGFXController, public juce::Component, private juce::Timer
{
public:
    explicit GFXAnimation (const juce::String& name = {});
    ~GFXAnimation() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Shows frame 1 (when the strip has one) for the given time, then frame 0.
    void flash (int milliseconds);

    // Shows the frame (kept within the strip); repaints only when it changed.
    void setFrame (int newFrame);
    int getFrame() const noexcept { return frame; }

    void paint (juce::Graphics& g) override;

protected:
    void blinkStateChanged() override { repaint(); }

    // The plain look without an image.
    virtual void paintWithoutImage (juce::Graphics& g);

private:
    void timerCallback() override; // message thread

    int frame = 0;
};
