#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "drummachine/sequencer/PulsettaSeq.h"
#include "voices/PulsettaCore.h"

#include <memory>

// The drum machine with the product's core, sequencer and values, as the
// product class will make it.
class TestDrumMachine : public DrumMachine
{
public:
    juce::String getPluginName() const override { return "Pulsetta"; }
    juce::String getResourcePrefix() const override { return "XR"; }
    int getNumHostParameters() const override { return 84; }
    std::unique_ptr<DrumMachineCore> createCore() override { return std::make_unique<PulsettaCore> (this); }
    std::unique_ptr<DrumMachineSeq> createSequencer() override { return std::make_unique<PulsettaSeq> (*this, "Pulsetta", "XR"); }
    float getBaseVelocity() const override { return 48.0f / 127.0f; }
    float getStrongVelocityBoost() const override { return 0.377f; }
    float getAccentVelocityScale() const override { return 0.623f; }
    bool supportsFlam() const override { return true; }

    PulsettaSeq& seq() { return *static_cast<PulsettaSeq*> (getSequencer()); }

    // Tests that look at what waits between a block and the poll stop the
    // timer, so that only the test polls.
    using BasePlugin::stopPolling;
};
