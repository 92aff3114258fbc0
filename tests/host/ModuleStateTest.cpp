// State chunks and the play head through the module.
#include "TestModule.h"

#include "tools/ChunkFiles.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <unistd.h>
#include <filesystem>
#include <fstream>

using namespace vst;

namespace
{
void setSomeParameters(clihost::PluginInstance& instance)
{
    for (int i = 0; i < 84; ++i)
        instance.setParameter(i, static_cast<float>(i % 7) / 8.0f);
}

void expectSomeParameters(clihost::PluginInstance& instance)
{
    for (int i = 0; i < 84; ++i)
        EXPECT_FLOAT_EQ(instance.getParameter(i), static_cast<float>(i % 7) / 8.0f) << i;
}
} // namespace

TEST(ModuleState, ChunkRoundTripsIntoANewInstance)
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
    expectSomeParameters(*target);
}

TEST(ModuleState, TheVeryBlockHandedOutCanBeHandedBack)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    setSomeParameters(*instance);
    void* kept = nullptr;
    const auto size = instance->dispatch(effGetChunk, 0, 0, &kept);
    ASSERT_NE(kept, nullptr);
    instance->setParameter(5, 1.0f);
    // Read before it is released: the sanitizer build catches a read of freed memory here.
    EXPECT_EQ(instance->dispatch(effSetChunk, 0, size, kept), 0);
    expectSomeParameters(*instance);
}

TEST(ModuleState, AskingTwiceReplacesTheKeptBlock)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    void* first = nullptr;
    void* second = nullptr;
    const auto firstSize = instance->dispatch(effGetChunk, 0, 0, &first);
    instance->setParameter(0, 0.5f);
    const auto secondSize = instance->dispatch(effGetChunk, 0, 0, &second);
    ASSERT_EQ(firstSize, secondSize);
    float value = 0.0f;
    std::memcpy(&value, static_cast<char*>(second) + 8, sizeof value);
    EXPECT_EQ(value, 0.5f);
    EXPECT_EQ(instance->dispatch(effGetChunk, 0, 0, nullptr), 0);
}

TEST(ModuleState, BadChunksLeaveTheStateUnchanged)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    setSomeParameters(*instance);
    const auto good = instance->getChunk();

    std::vector<std::vector<uint8_t>> bad;
    bad.emplace_back(); // empty
    bad.emplace_back(good.begin(), good.begin() + 3);
    bad.emplace_back(good.begin(), good.end() - 1); // truncated
    auto wrongMagic = good;
    wrongMagic[0] = 'X';
    bad.push_back(wrongMagic);
    auto outOfRange = good;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(outOfRange.data() + 8, &nan, 4);
    bad.push_back(outOfRange);
    std::vector<uint8_t> garbage(4096);
    uint32_t seed = 12345;
    for (auto& byte : garbage)
        byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    bad.push_back(garbage);

    for (const auto& chunk : bad)
    {
        EXPECT_EQ(instance->setChunk(chunk), 0);
        expectSomeParameters(*instance);
    }
    EXPECT_EQ(instance->dispatch(effSetChunk, 0, 100, nullptr), 0);
    EXPECT_EQ(instance->dispatch(effSetChunk, 0, -5, const_cast<uint8_t*>(good.data())), 0);
    expectSomeParameters(*instance);
}

TEST(ModuleState, ChunkFilesRoundTrip)
{
    const auto folder = std::filesystem::temp_directory_path() / ("pulsetta-chunk-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = (folder / "state.bin").string();
    auto module = testmodule::load();
    {
        auto source = testmodule::create(*module);
        setSomeParameters(*source);
        ASSERT_TRUE(clihost::saveChunk(*source, file));
    }
    auto target = testmodule::create(*module);
    ASSERT_TRUE(clihost::loadChunk(*target, file));
    expectSomeParameters(*target);
    EXPECT_FALSE(clihost::loadChunk(*target, (folder / "missing.bin").string()));
    std::filesystem::remove_all(folder);
}

TEST(ModulePlayHead, PositionFollowsTheHostsTimeInfo)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    instance->resume(48000.0, 64);
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
    std::vector<float> out(12 * 64);
    std::vector<float*> outputs;
    for (int c = 0; c < 12; ++c)
        outputs.push_back(out.data() + c * 64);
    instance->process(nullptr, outputs.data(), 64);

    info.flags = kVstTransportRecording; // nothing valid: defaults
    instance->process(nullptr, outputs.data(), 64);

    instance->answerTimeInfo = false;
    instance->process(nullptr, outputs.data(), 64);

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
