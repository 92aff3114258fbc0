// The processor's own parameter changes and gestures reach the host's callback
// straight from the binding, not through JUCE's listener list (whose lock the
// audio thread must not take); a processor without a binding still tells
// JUCE's listeners.
#include "SlotProcessor.h"

#include "host/JuceVSTWrapper.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vst;

namespace
{
struct HostCall
{
    VstInt32 opcode, index;
    float value;
};
std::vector<HostCall> hostCalls;

VstIntPtr recordingHost(vst::AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
    if (opcode == audioMasterVersion)
        return kVstVersion;
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
        hostCalls.push_back({ opcode, index, opt });
    return 0;
}

struct ListenerSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override { ++changes; }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int) override { ++gestures; }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int) override { ++gestures; }
    int changes = 0, gestures = 0;
};
} // namespace

TEST(HostReporter, TheProcessorsChangesGoStraightToTheHostAndPassNoJuceListener)
{
    hostCalls.clear();
    auto owned = std::make_unique<SlotProcessor>();
    auto* processor = owned.get();
    ListenerSpy spy;
    {
        host::JuceVSTWrapper binding(recordingHost, std::move(owned));
        processor->addListener(&spy);
        processor->beginHostGesture(2);
        processor->notifyHostOfParameterChange(2, 0.25f);
        processor->endHostGesture(2);
        processor->notifyHostOfParameterChange(4, 0.5f); // no such slot
        processor->notifyHostOfParameterChange(-1, 0.5f);
        processor->removeListener(&spy);

        ASSERT_EQ(hostCalls.size(), 3u);
        EXPECT_EQ(hostCalls[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(hostCalls[0].index, 2);
        EXPECT_EQ(hostCalls[1].opcode, audioMasterAutomate);
        EXPECT_EQ(hostCalls[1].index, 2);
        EXPECT_FLOAT_EQ(hostCalls[1].value, 0.25f);
        EXPECT_EQ(hostCalls[2].opcode, audioMasterEndEdit);
        EXPECT_EQ(spy.changes, 0);
        EXPECT_EQ(spy.gestures, 0);
    }
}

TEST(HostReporter, AProcessorWithoutABindingTellsJucesListeners)
{
    juce::ScopedJuceInitialiser_GUI library;
    SlotProcessor processor;
    ListenerSpy spy;
    processor.addListener(&spy);
    processor.beginHostGesture(1);
    processor.notifyHostOfParameterChange(1, 0.75f);
    processor.endHostGesture(1);
    processor.removeListener(&spy);
    EXPECT_EQ(spy.changes, 1);
    EXPECT_EQ(spy.gestures, 2);
}
