#pragma once

#include "editor/drummachine/DrumMachineEditor.h"

// The product's editor: the drum machine's editor with the flam knob, which
// like the shuffle knob only turns while a pattern is being edited, and the
// product's sizes of the about and options windows. Message thread.
class PulsettaEditor : public DrumMachineEditor
{
public:
    static constexpr int aboutWidth = 550, aboutHeight = 300;     // pixels
    static constexpr int optionsWidth = 640, optionsHeight = 480; // pixels

    explicit PulsettaEditor (DrumMachine& processor);

    GFXKnob* getFlamKnob() const noexcept { return flamKnob; }

    // Parameter::Listener, deferred list: message thread.
    void parameterChanged (Parameter* parameter) override;

private:
    GFXKnob* flamKnob = nullptr; // of the built-in skin

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PulsettaEditor)
};
