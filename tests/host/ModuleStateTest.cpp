// State chunks and the play head through the module.
#include "TestModule.h"

#include <cstring>
#include <limits>

using namespace vst;

namespace
{
void setSomeParameters(clihost::PluginInstance& instance)
{
    for (int i = 0; i < 84; ++i)
        instance.setParameter(i, static_cast<float>(i % 7) / 8.0f);
}

void expectSomeParameters(clihost::PluginInstance& instance, const std::string& after)
{
    for (int i = 0; i < 84; ++i)
        ASSERT_FLOAT_EQ(instance.getParameter(i), static_cast<float>(i % 7) / 8.0f) << i << " after " << after;
}
} // namespace

TEST(ModuleState, ChunkRoundTripsIntoANewInstanceAndTheVeryBlockHandedOutCanBeHandedBack)
{
    auto module = testmodule::load();
    auto source = testmodule::create(*module);
    setSomeParameters(*source);
    const auto chunk = source->getChunk();
    EXPECT_EQ(chunk.size(), 4u + 4u + 84u * 4u);
    source->close();

    auto target = testmodule::create(*module);
    target->resume(44100.0, 256); // hosts hand the chunk to a resumed instance
    EXPECT_EQ(target->setChunk(chunk), 0);
    expectSomeParameters(*target, "round trip");

    void* kept = nullptr;
    const auto size = target->dispatch(effGetChunk, 0, 0, &kept);
    ASSERT_NE(kept, nullptr);
    target->setParameter(5, 1.0f);
    // Read before it is released: the sanitizer build catches a read of freed memory here.
    EXPECT_EQ(target->dispatch(effSetChunk, 0, size, kept), 0);
    expectSomeParameters(*target, "the kept block");
}

TEST(ModuleState, BadChunksLeaveTheStateUnchanged)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    setSomeParameters(*instance);
    const auto good = instance->getChunk();
    ASSERT_EQ(good.size(), 4u + 4u + 84u * 4u);

    std::vector<uint8_t> wrongMagic { 'X' };
    wrongMagic.insert(wrongMagic.end(), good.begin() + 1, good.end());
    auto outOfRange = good;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(outOfRange.data() + 8, &nan, 4);
    std::vector<uint8_t> garbage(4096);
    uint32_t seed = 12345;
    for (auto& byte : garbage)
        byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    const std::pair<const char*, std::vector<uint8_t>> bad[] = {
        { "empty", {} },
        { "3 bytes", { good.begin(), good.begin() + 3 } },
        { "truncated", { good.begin(), good.end() - 1 } },
        { "wrong magic", wrongMagic },
        { "a NaN value", outOfRange },
        { "garbage", garbage },
    };
    for (const auto& [name, chunk] : bad)
    {
        EXPECT_EQ(instance->setChunk(chunk), 0) << name;
        expectSomeParameters(*instance, name);
    }
    EXPECT_EQ(instance->dispatch(effSetChunk, 0, -5, const_cast<uint8_t*>(good.data())), 0);
    expectSomeParameters(*instance, "a negative size");
}

// An exception must not unwind into the host: the call answers as a refusal and the module goes on.
TEST(ModuleState, AProcessorThatThrowsAnswersAsARefusalAndGoesOn)
{
    testmodule::Resumed resumed(64);
    auto& instance = *resumed.instance;
    setSomeParameters(instance);
    EXPECT_EQ(instance.setChunk({ 'T', 'H', 'R', 'W', 0, 0, 0, 0 }), 0);
    expectSomeParameters(instance, "a chunk that throws");
    instance.setParameter(83, 0.0f); // not suspended

    std::vector<std::vector<float>> out(12, std::vector<float>(64, 5.0f));
    std::vector<float*> outputs;
    for (auto& channel : out)
        outputs.push_back(channel.data());
    for (const float throwing : { 1.0f, 0.0f })
    {
        instance.setParameter(82, throwing);
        instance.process(nullptr, outputs.data(), 64);
        EXPECT_EQ(out[0][10] == 0.0f, throwing > 0.5f) << "a block that threw is silence, the next one sounds";
    }
}

TEST(ModulePlayHead, PositionFollowsTheHostsTimeInfo)
{
    testmodule::Resumed instance(64, 48000.0);
    auto& info = instance->timeInfo;
    info = VstTimeInfo {};
    info.samplePos = 96000.4;
    info.sampleRate = 48000.0;
    info.ppqPos = 4.5;
    info.tempo = 133.0;
    info.barStartPos = 4.0;
    info.cycleStartPos = 2.0;
    info.cycleEndPos = 6.0;
    info.timeSigNumerator = 7;
    info.timeSigDenominator = 8;
    info.smpteOffset = 80 * 60; // one second at 59.94 frames per second, in 1/80 frames
    info.smpteFrameRate = kVstSmpte599fps;
    info.flags = kVstTransportPlaying | kVstTransportCycleActive | kVstPpqPosValid | kVstTempoValid | kVstBarsValid
                 | kVstCyclePosValid | kVstTimeSigValid | kVstSmpteValid;
    testmodule::Outputs out(64);
    instance->process(nullptr, out.pointers.data(), 64);

    info.flags = kVstTransportRecording; // nothing valid: defaults
    instance->process(nullptr, out.pointers.data(), 64);

    instance->answerTimeInfo = false;
    instance->process(nullptr, out.pointers.data(), 64);

    const auto positions = testmodule::reportLines(*instance, "position");
    ASSERT_EQ(positions.size(), 3u);
    // Sample position 96000.4 rounds to 96000 samples and is 2.0000083 s.
    EXPECT_EQ(positions[0], "position bpm 133 ppq 4.5 bar 4 sig 7/8 samples 96000 seconds 2.00001 playing 1 "
                            "recording 0 looping 1 loop 2-6 fps 59.940 origin 1.001");
    // Without valid fields: tempo 0, 4/4, positions 0, no frame rate; recording counts as playing.
    EXPECT_EQ(positions[1], "position bpm 0 ppq 0 bar 0 sig 4/4 samples 96000 seconds 2.00001 playing 1 "
                            "recording 1 looping 0 loop 0-0 fps none origin 0");
    EXPECT_EQ(positions[2], "position none");
    EXPECT_GE(instance->hostCalls[audioMasterGetTime], 3);
}
