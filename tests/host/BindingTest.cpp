// The binding driven directly, around a small processor: a suspend that lands
// after a block began, and the processor's own
// parameter reports, which go straight to the host's callback and not through
// JUCE's listener list (whose lock the audio thread must not take).
#include "host/JuceVSTWrapper.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vst;

namespace
{
// Four host slots and two outputs it fills with 1.0.
class SlotProcessor final : public HostedProcessor
{
public:
    SlotProcessor() : HostedProcessor(BusesProperties().withOutput("Output", juce::AudioChannelSet::stereo())) {}
    int getNumHostOutputChannels() override { return 2; }
    int getNumParameters() override { return 4; }
    const juce::String getName() const override { return "Slots"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            juce::FloatVectorOperations::fill(buffer.getWritePointer(channel), 1.0f, buffer.getNumSamples());
        ++blocks;
    }

    int blocks = 0;
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

struct HostCall
{
    VstInt32 opcode, index;
    float value;
};
std::vector<HostCall> parameterCalls;

// The host's answer to the process level, asked at the start of the first block after a resume,
// runs this: a host that suspends from another thread at that very moment.
std::function<void()> whileTheBlockStarts;

VstIntPtr fakeHost(vst::AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
    switch (opcode)
    {
    case audioMasterVersion: return kVstVersion;
    case audioMasterGetSampleRate: return 48000;
    case audioMasterGetBlockSize: return 64;
    case audioMasterGetCurrentProcessLevel:
        if (whileTheBlockStarts)
            std::exchange(whileTheBlockStarts, nullptr)();
        return 2;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit: parameterCalls.push_back({ opcode, index, opt }); return 0;
    default: return 0;
    }
}

struct Block
{
    explicit Block(int frames) : left(static_cast<size_t>(frames), -7.0f), right(left) {}
    std::vector<float> left, right;
    float* pointers[2] { left.data(), right.data() };
};

struct Binding
{
    Binding() : processor(new SlotProcessor()), wrapper(fakeHost, std::unique_ptr<HostedProcessor>(processor))
    {
        dispatch(effOpen);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0) { return wrapper.dispatcher(opcode, 0, value, nullptr, 0.0f); }
    SlotProcessor* processor;
    host::JuceVSTWrapper wrapper;
};

struct ListenerSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override { ++changes; }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int) override { ++gestures; }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int) override { ++gestures; }
    int changes = 0, gestures = 0;
};

void reportAGesture(HostedProcessor& processor, int index, float value)
{
    processor.beginHostGesture(index);
    processor.notifyHostOfParameterChange(index, value);
    processor.endHostGesture(index);
}
} // namespace

TEST(BindingLifecycle, ASuspendThatLandsAfterTheBlockBeganGivesASilentBlock)
{
    Binding binding;
    binding.dispatch(effMainsChanged, 1);
    whileTheBlockStarts = [&] { binding.dispatch(effMainsChanged, 0); };
    Block block(200); // longer than announced: would be rendered in slices of the prepared size
    binding.wrapper.processReplacing(nullptr, block.pointers, 200);
    EXPECT_EQ(whileTheBlockStarts, nullptr);
    for (const float sample : block.left)
        ASSERT_EQ(sample, 0.0f);
    EXPECT_EQ(binding.processor->blocks, 0);

    binding.dispatch(effMainsChanged, 1);
    binding.wrapper.processReplacing(nullptr, block.pointers, 200);
    EXPECT_EQ(block.right[199], 1.0f);
    EXPECT_GT(binding.processor->blocks, 0);
}

TEST(HostReporter, TheProcessorsChangesGoStraightToTheHostAndPassNoJuceListener)
{
    parameterCalls.clear();
    Binding binding;
    ListenerSpy spy;
    binding.processor->addListener(&spy);
    reportAGesture(*binding.processor, 2, 0.25f);
    binding.processor->notifyHostOfParameterChange(4, 0.5f); // no such slot
    binding.processor->notifyHostOfParameterChange(-1, 0.5f);
    binding.processor->removeListener(&spy);

    ASSERT_EQ(parameterCalls.size(), 3u);
    EXPECT_EQ(parameterCalls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(parameterCalls[0].index, 2);
    EXPECT_EQ(parameterCalls[1].opcode, audioMasterAutomate);
    EXPECT_EQ(parameterCalls[1].index, 2);
    EXPECT_FLOAT_EQ(parameterCalls[1].value, 0.25f);
    EXPECT_EQ(parameterCalls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(spy.changes, 0);
    EXPECT_EQ(spy.gestures, 0);
}

TEST(HostReporter, AProcessorWithoutABindingTellsJucesListeners)
{
    juce::ScopedJuceInitialiser_GUI library;
    SlotProcessor processor;
    ListenerSpy spy;
    processor.addListener(&spy);
    reportAGesture(processor, 1, 0.75f);
    processor.removeListener(&spy);
    EXPECT_EQ(spy.changes, 1);
    EXPECT_EQ(spy.gestures, 2);
}
