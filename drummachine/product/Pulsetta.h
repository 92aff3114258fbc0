#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "drummachine/sequencer/PulsettaSeq.h"

#include <atomic>
#include <cstdint>

// The product: the drum machine with its identity, its eleven voices and
// 96-pattern sequencer, the velocities of sequencer hits, flam, the chain
// section of its state, what the sixteen step buttons do in each mode, and
// pattern and bank selection from MIDI notes.
class Pulsetta : public DrumMachine
{
public:
    static constexpr int numHostParameters = 84;
    static constexpr int numOutputs = 12;
    static constexpr int numStepButtons = 16;
    static constexpr int firstStepEvent = 3030;         // "Press Step 01" .. 3045
    static constexpr int firstStepWithCtrlEvent = 3046; // "Press Step 01 With Ctrl" .. 3061
    static constexpr int firstStepStateParameter = 3046; // "Step 01 State" .. 3061
    static constexpr int firstTapEvent = 68;            // "Tap Bass Drum" .. 79
    static constexpr int firstTapAccentedEvent = 80;    // "Tap Bass Drum Accented" .. 91

    Pulsetta();
    ~Pulsetta() override;

    //==== Identity =======================================================================
    juce::String getPluginName() const override { return "Pulsetta"; }
    juce::String getInternalName() const override { return "Pulsetta Drum Machine"; }
    juce::String getVersion() const override { return "1.6.2"; }
    juce::String getWebPage() const override { return "https://pulsetta.example.org/"; }
    juce::String getYear() const override { return "2007"; }
    juce::String getBuildDate() const override { return "2015-02-12"; }
    juce::String getReservedText() const override { return {}; }
    juce::String getBuildNumber() const override { return "9078395"; }
    juce::String getPluginFormat() const override { return "VST"; }
    juce::String getBranch() const override { return "master"; }
    juce::String getVersionText() const override { return "v1.6.2"; }
    juce::String getNumberText() const override { return "0"; }
    juce::String getResourcePrefix() const override { return "XR"; }

    //==== Constants ======================================================================
    int getNumHostParameters() const override { return numHostParameters; }
    int getNumOutputs() const override { return numOutputs; }
    std::unique_ptr<DrumMachineCore> createCore() override;
    std::unique_ptr<DrumMachineSeq> createSequencer() override;
    // 48/127 for a plain hit; + 0.377 strong; + 0.623 x Accent Level on accent steps.
    float getBaseVelocity() const override { return 48.0f / 127.0f; }
    float getStrongVelocityBoost() const override { return 0.377f; }
    float getAccentVelocityScale() const override { return 0.623f; }
    bool supportsFlam() const override { return true; }

    //==== State (message thread) =========================================================
    // The drum machine's state with the chain ("XRState") as its first child.
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    // A "PulsettaBank" document loads as patterns only; otherwise the drum
    // machine's state and then the chain.
    void restorePluginState (const juce::XmlElement& element) override;
    bool isPluginStateXml (const juce::XmlElement* element) const override;

    //==== Editor ==========================================================================
    // Message thread, once at start-up: the persistent editor.
    std::unique_ptr<juce::Component> createEditorComponent() override;

    //==== Front panel =====================================================================
    // Message thread: the step buttons by mode, everything else to the drum machine.
    void handleEvent (int eventId) override;
    // Audio thread: pattern and bank selection by MIDI notes.
    void handleIncomingMidi (const juce::MidiMessage& message) override;
    // Message thread: the sixteen step lights (1 lit, 0.5 half lit, 0 off).
    void refreshStepStates() override;

    // Any thread: the chain as the sequencer holds it.
    PulsettaSeq::Chain getChain() const noexcept;
    // The step lights as computed, 16 values (message thread).
    float getStepLight (int step) const noexcept;

    PulsettaSeq* getPulsettaSeq() const noexcept;

private:
    bool isWriteMode() const noexcept { return isPatternWriteMode() || isHostMode(); }
    void handleStepPress (int step);
    void handleStepPressWithCtrl (int step);
    void selectBankButton (int bank);
    void computeStepLights (std::array<float, numStepButtons>& lights) const;

    // Audio thread only: the held pattern keys for MIDI chain selection.
    std::int32_t firstHeldSlot = -1;
    std::int32_t secondHeldSlot = -1;
    std::array<float, numStepButtons> stepLights {};
};
