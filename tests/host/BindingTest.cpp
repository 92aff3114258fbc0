// The binding driven directly, around the test module's processor (84 host
// slots, 12 outputs, a report of the blocks it rendered): a suspend that lands
// after a block began, and the processor's own parameter reports, which go
// straight to the host's callback and not through JUCE's listener list (whose
// lock the audio thread must not take).
#include "host/JuceVSTWrapper.h"

#include "Outputs.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vst;

namespace
{
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

std::unique_ptr<HostedProcessor> recordingProcessor()
{
    return std::unique_ptr<HostedProcessor>(dynamic_cast<HostedProcessor*>(createPluginFilter()));
}

struct Binding
{
    Binding() : Binding(recordingProcessor()) {}
    explicit Binding(std::unique_ptr<HostedProcessor> owned) : processor(*owned), wrapper(fakeHost, std::move(owned))
    {
        dispatch(effOpen);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0) { return wrapper.dispatcher(opcode, 0, value, nullptr, 0.0f); }
    // The lines of the processor's report that start with "block".
    int blocksRendered()
    {
        void* report = nullptr;
        const auto size = wrapper.dispatcher(effGetChunk, 1, 0, &report, 0.0f);
        const auto lines = juce::StringArray::fromLines(juce::String::fromUTF8(static_cast<const char*>(report), int(size)));
        int blocks = 0;
        for (const auto& line : lines)
            blocks += line.startsWith("block ") ? 1 : 0;
        return blocks;
    }
    HostedProcessor& processor; // owned by the wrapper
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
    testmodule::Outputs out(200); // longer than announced: would be rendered in slices of the prepared size
    binding.wrapper.processReplacing(nullptr, out.pointers.data(), 200);
    EXPECT_EQ(whileTheBlockStarts, nullptr);
    EXPECT_TRUE(out.silent());
    EXPECT_EQ(binding.blocksRendered(), 0);

    binding.dispatch(effMainsChanged, 1);
    binding.wrapper.processReplacing(nullptr, out.pointers.data(), 200);
    EXPECT_EQ(out.storage[1][199], testmodule::expectedSample(1, 199));
    EXPECT_GT(binding.blocksRendered(), 0);
}

TEST(HostReporter, TheProcessorsChangesGoStraightToTheHostAndPassNoJuceListener)
{
    parameterCalls.clear();
    Binding binding;
    auto& processor = binding.processor;
    ListenerSpy spy;
    processor.addListener(&spy);
    reportAGesture(processor, 2, 0.25f);
    processor.notifyHostOfParameterChange(84, 0.5f); // no such slot
    processor.notifyHostOfParameterChange(-1, 0.5f);
    processor.removeListener(&spy);

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
    auto processor = recordingProcessor();
    ListenerSpy spy;
    processor->addListener(&spy);
    reportAGesture(*processor, 1, 0.75f);
    processor->removeListener(&spy);
    EXPECT_EQ(spy.changes, 1);
    EXPECT_EQ(spy.gestures, 2);
}
