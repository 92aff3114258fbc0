#pragma once

#include "framework/processor/BasePluginOldStyle.h"

#include <juce_events/juce_events.h>

// A product on the preset bank processor, as the drum machine will be one:
// the product's identity and host row, and nothing of its own sound.
class TestProduct : public BasePluginOldStyle
{
public:
    TestProduct()
        : BasePluginOldStyle (BusesProperties().withOutput ("Output", juce::AudioChannelSet::discreteChannels (12)))
    {
        migrateUserSettings();
    }

    ~TestProduct() override { saveUserSettings(); }

    // Tests that look at the queue between off-thread work and the poll
    // stop the timer, so that only the test polls.
    using BasePlugin::stopPolling;

    juce::String getPluginName() const override { return "Pulsetta"; }
    juce::String getResourcePrefix() const override { return "XR"; }
    int getNumHostParameters() const override { return 84; }
    int getNumHostOutputChannels() override { return 12; }
    bool hasPresetChangingSetting() const override { return false; }
    bool isBusesLayoutSupported (const BusesLayout& layout) const override { return layout.getMainInputChannels() == 0; }

    // Audio thread.
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        BasePluginOldStyle::processBlock (buffer, midi);

        for (const auto event : midi)
            if (event.getMessage().isProgramChange())
                handleProgramChange (event.getMessage().getProgramChangeNumber());

        buffer.clear();
    }
};
