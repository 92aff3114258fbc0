#pragma once

#include "tests/drummachine/processor/DrumMachineTestSupport.h"

#include "drummachine/product/Pulsetta.h"

// The product counting its pattern-state refreshes.
class CountingPulsetta : public Pulsetta
{
public:
    void refreshPatternState() override
    {
        ++patternRefreshes;
        Pulsetta::refreshPatternState();
    }
    int patternRefreshes = 0;
};

// The product in process, with the drum machine tests' transport and block loop.
class ProductTest : public DrumMachineTest
{
protected:
    static std::unique_ptr<CountingPulsetta> makeProduct()
    {
        auto* created = BasePlugin::startUp (std::make_unique<CountingPulsetta>());
        return std::unique_ptr<CountingPulsetta> (static_cast<CountingPulsetta*> (created));
    }

    void prepare (Pulsetta& product, int frames = 256)
    {
        DrumMachineTest::prepare (product, head, frames);
        blockSize = frames;
    }

    // Runs numSamples; the output lands in `audio`, the echo notes are returned.
    std::vector<EchoNote> run (Pulsetta& product, int numSamples, const std::vector<TimedMidi>& input = {})
    {
        auto result = DrumMachineTest::run (product, head, numSamples, blockSize, input);
        audio = std::move (result.audio);
        return result.midi;
    }

    FakePlayHead head;
    juce::AudioBuffer<float> audio;
    int blockSize = 256;
};
