// PLACEHOLDER processor for the product module, used only until the real
// product processor library exists. It answers the host with the product's
// pin layout and renders silence; it has no parameters, sound or state.
#include "host/HostedProcessor.h"

namespace
{
constexpr int placeholderOutputs = 12;

class PlaceholderProcessor final : public HostedProcessor
{
public:
    PlaceholderProcessor()
        : HostedProcessor(BusesProperties().withOutput("Output", juce::AudioChannelSet::discreteChannels(placeholderOutputs)))
    {
    }

    int getNumHostOutputChannels() override { return placeholderOutputs; }
    const juce::String getName() const override { return "Pulsetta (placeholder)"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    bool isBusesLayoutSupported(const BusesLayout& layout) const override
    {
        return layout.getMainInputChannels() == 0;
    }
    // Audio thread: silence, and no MIDI back.
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        buffer.clear();
        midi.clear();
    }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return "Default"; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}
};
} // namespace

juce::AudioProcessor* createPluginFilter() { return new PlaceholderProcessor(); }
