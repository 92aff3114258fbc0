// Suspend, resume and a host that skips resuming, with the binding driven
// directly: the audio thread never prepares, and a suspend that lands after a
// block began leaves that block silent instead of hanging it.
#include "SlotProcessor.h"

#include "host/JuceVSTWrapper.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vst;

namespace
{
// The host's answer to the process level, asked at the start of the first block after a resume,
// runs this: a host that suspends from another thread at that very moment.
std::function<void()> whileTheBlockStarts;

VstIntPtr lifecycleHost(vst::AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
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
    Binding() : processor(new SlotProcessor()), wrapper(lifecycleHost, std::unique_ptr<HostedProcessor>(processor))
    {
        dispatch(effOpen);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0)
    {
        return wrapper.dispatcher(opcode, 0, value, nullptr, 0.0f);
    }
    SlotProcessor* processor;
    host::JuceVSTWrapper wrapper;
};
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

TEST(BindingLifecycle, AHostThatNeverResumesIsServedFromThePreparationOnItsUiThread)
{
    Binding binding; // opened: prepared at the host's 48000 Hz and 64 frames
    binding.dispatch(effSetBlockSize, 128);
    const int preparedOnUiThread = binding.processor->preparations;
    EXPECT_EQ(preparedOnUiThread, 2);
    std::thread audio([&] {
        Block block(128);
        binding.wrapper.processReplacing(nullptr, block.pointers, 128);
        EXPECT_EQ(block.left[127], 1.0f);
    });
    audio.join();
    EXPECT_EQ(binding.processor->preparations, preparedOnUiThread);
    EXPECT_EQ(binding.processor->preparationsOnAnotherThread, 0);
}
