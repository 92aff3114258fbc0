// The audio thread allocates nothing in the product module, whatever MIDI the
// host sends: thousands of events per block, a big sysex, blocks longer than
// announced. This executable counts every allocation of the counting thread,
// the module's included: the support library replaces the C allocator (or, in
// the sanitizer build, hooks the sanitizer's allocator), so JUCE's buffers are
// seen as well as operator new.
#include "platform/vst/Vst.h"
#include "tools/PluginModule.h"

#include "support/AllocationCounter.h"
#include "support/TemporarySettingsHome.h"
#include "VstEventList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <unistd.h>
#include <vector>

using testing_support::AllocationCounter;
using testing_support::AllocationCountingPaused;

using namespace vst;
using host_tests::EventList;

namespace
{
constexpr int announcedFrames = 256;
constexpr double sampleRate = 48000.0; // Hz
VstTimeInfo timeInfo {};

// The host's side; called from inside the plug-in, so nothing counted here is the plug-in's.
VstIntPtr host(vst::AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
    const AllocationCountingPaused paused;
    VstIntPtr answer = 0;
    switch (opcode)
    {
    case audioMasterVersion: answer = kVstVersion; break;
    case audioMasterGetSampleRate: answer = static_cast<VstIntPtr>(sampleRate); break;
    case audioMasterGetBlockSize: answer = announcedFrames; break;
    case audioMasterGetCurrentProcessLevel: answer = 2; break;
    case audioMasterGetTime: answer = reinterpret_cast<VstIntPtr>(&timeInfo); break;
    case audioMasterProcessEvents: answer = ptr != nullptr ? 1 : 0; break;
    default: break;
    }
    return answer;
}

class AudioThreadAllocation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        module = clihost::PluginModule::load(PULSETTA_PRODUCT_MODULE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        effect = module->entry()(host);
        ASSERT_NE(effect, nullptr);
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
        dispatch(effSetBlockSize, 0, announcedFrames);
        dispatch(effMainsChanged, 0, 1);
        outputs.assign(static_cast<size_t>(effect->numOutputs), std::vector<float>(4 * announcedFrames, 0.0f));
        for (auto& channel : outputs)
            outputPointers.push_back(channel.data());
        timeInfo.sampleRate = sampleRate;
        timeInfo.tempo = 120.0;
        timeInfo.timeSigNumerator = 4;
        timeInfo.timeSigDenominator = 4;
        timeInfo.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid;
    }
    void TearDown() override
    {
        if (effect != nullptr)
        {
            dispatch(effMainsChanged, 0, 0);
            dispatch(effClose);
        }
        module.reset();
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // One block on the calling thread: its events, then the audio.
    void processBlock(VstEvents* events, int frames)
    {
        if (events != nullptr)
            dispatch(effProcessEvents, 0, 0, events);
        effect->processReplacing(effect, nullptr, outputPointers.data(), frames);
    }

    testing_support::TemporarySettingsHome settingsHome { "pulsetta-allocation-" };
    std::unique_ptr<clihost::PluginModule> module;
    vst::AEffect* effect = nullptr;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> outputPointers;
};
} // namespace

TEST_F(AudioThreadAllocation, TheCounterSeesTheModulesAllocations)
{
    AllocationCounter counter;
    void* chunk = nullptr;
    const auto size = dispatch(effGetChunk, 0, 0, &chunk); // builds the state document inside the module
    counter.stop();
    EXPECT_GT(size, 0);
    EXPECT_GT(counter.count(), 0);
}

TEST_F(AudioThreadAllocation, ThousandsOfEventsAndABigSysexAllocateNothing)
{
    EventList heavy, light;
    // Far more than a block's room: notes on and off all over the block, a big dump and small ones.
    std::vector<char> bigDump(200000, 0x11);
    bigDump.front() = static_cast<char>(0xF0);
    bigDump.back() = static_cast<char>(0xF7);
    heavy.addSysex(0, bigDump);
    for (int i = 0; i < 40; ++i)
        heavy.addSysex(i * 6, std::vector<char> { static_cast<char>(0xF0), 0x7D, static_cast<char>(i), static_cast<char>(0xF7) });
    heavy.addSysex(3, std::vector<char>(1500, 0x22)); // unclosed, within the sysex limit
    for (int i = 0; i < 12000; ++i)
        heavy.addShort(i % (2 * announcedFrames), i % 2 == 0 ? 0x99 : 0x89, static_cast<unsigned char>(35 + i % 47),
                       100);
    light.addShort(10, 0x99, 36, 100);
    VstEvents* heavyEvents = heavy.build();
    VstEvents* lightEvents = light.build();

    long counted = -1;
    std::thread audio([&] {
        // Warm-up blocks, as a host's first cycles, then counted ones: announced size, shorter, and longer
        // than announced (rendered in slices).
        for (int block = 0; block < 4; ++block)
            processBlock(block % 2 == 0 ? heavyEvents : lightEvents, announcedFrames);
        AllocationCounter counter;
        for (int block = 0; block < 24; ++block)
        {
            const int frames = block % 3 == 0 ? announcedFrames : block % 3 == 1 ? 100 : 3 * announcedFrames;
            processBlock(block % 4 == 3 ? lightEvents : heavyEvents, frames);
        }
        counter.stop();
        counted = counter.count();
    });
    audio.join();
    EXPECT_EQ(counted, 0);
    bool sounded = false; // the notes played
    for (const auto& channel : outputs)
        for (const float sample : channel)
            sounded = sounded || sample != 0.0f;
    EXPECT_TRUE(sounded);
}
