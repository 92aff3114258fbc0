#pragma once
// A small processor for tests that drive the binding directly: four host
// slots, two outputs it fills with 1.0, and a count of its preparations with
// the threads they ran on.
#include "host/HostedProcessor.h"

#include <atomic>
#include <thread>

namespace
{
class SlotProcessor final : public HostedProcessor
{
public:
    SlotProcessor() : HostedProcessor(BusesProperties().withOutput("Output", juce::AudioChannelSet::stereo())) {}
    int getNumHostOutputChannels() override { return 2; }
    int getNumParameters() override { return 4; }
    const juce::String getName() const override { return "Slots"; }
    void prepareToPlay(double, int) override
    {
        ++preparations;
        if (std::this_thread::get_id() != preparingThread)
            ++preparationsOnAnotherThread;
    }
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            juce::FloatVectorOperations::fill(buffer.getWritePointer(channel), 1.0f, buffer.getNumSamples());
        ++blocks;
    }

    std::thread::id preparingThread = std::this_thread::get_id(); // the host's UI thread
    std::atomic<int> preparations { 0 }, preparationsOnAnotherThread { 0 }, blocks { 0 };
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}
};

} // namespace
