// The drum machine through a real module and the command-line host, as a host
// drives it: notes into their outputs, and the sequencer's echo notes on the
// host's transport after a chunk switched the sequencer on.
#include "support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

using namespace vst;

namespace
{
constexpr int numChannels = 12; // mono outputs
constexpr int blockSize = 512;
constexpr double rate = 48000.0;

class DrumMachineModule : public ::testing::Test
{
protected:
    DrumMachineModule()
    {
        std::string error;
        module = clihost::PluginModule::load (PULSETTA_DRUMMACHINE_TEST_MODULE_PATH, error);
        EXPECT_NE (module, nullptr) << error;
        instance = clihost::PluginInstance::create (*module, {}, error);
        EXPECT_NE (instance, nullptr) << error;
        instance->resume (rate, blockSize);
    }

    ~DrumMachineModule() override
    {
        instance.reset();
        module.reset();
    }

    // One block; returns the channels.
    std::vector<std::vector<float>> process (int64_t blockStart)
    {
        std::vector<std::vector<float>> channels (numChannels, std::vector<float> (blockSize));
        std::vector<float*> outputs;
        for (auto& channel : channels)
            outputs.push_back (channel.data());
        instance->process (nullptr, outputs.data(), blockSize, blockStart);
        return channels;
    }

    static int firstSound (const std::vector<float>& channel)
    {
        for (size_t i = 0; i < channel.size(); ++i)
            if (std::abs (channel[i]) > 1.0e-6f)
                return (int) i;
        return -1;
    }

    testing_support::TemporarySettingsHome settingsHome { "pulsetta-drummachine-module-" };
    std::unique_ptr<clihost::PluginModule> module;
    std::unique_ptr<clihost::PluginInstance> instance;
};
} // namespace

TEST_F (DrumMachineModule, ANoteSoundsOnItsOutputFromItsSample)
{
    ASSERT_EQ (instance->effect()->numOutputs, numChannels);
    instance->sendEvents ({ { 100, { 0x90, 38, 100 } } }); // snare, output 1
    const auto channels = process (0);

    const int first = firstSound (channels[0]);
    EXPECT_GE (first, 100);
    EXPECT_LE (first, 102);
    for (int c = 1; c < numChannels; ++c)
        EXPECT_LT (firstSound (channels[(size_t) c]), 0) << "channel " << c;
}

TEST_F (DrumMachineModule, TheHostReceivesTheEchoNotesOfOneBar)
{
    // Switch the internal sequencer on, on the host's tempo, through the chunk.
    auto chunk = instance->getChunk();
    ASSERT_GT (chunk.size(), 8u);
    std::string text (chunk.begin() + 8, chunk.end());
    text = text.substr (0, text.find ('\0'));
    const std::string off = "<IntSeq state=\"off\"/>";
    const auto at = text.find (off);
    ASSERT_NE (at, std::string::npos) << text.substr (0, 400);
    text.replace (at, off.size(), "<IntSeq state=\"on\"/>");
    std::vector<uint8_t> edited (8 + text.size() + 1, 0); // header (magic, length), text, terminator
    const uint32_t header[] = { 0x21324356u, (uint32_t) text.size() };
    std::memcpy (edited.data(), header, sizeof (header));
    std::memcpy (edited.data() + sizeof (header), text.data(), text.size());
    instance->setChunk (edited);

    auto& info = instance->timeInfo;
    info = VstTimeInfo {};
    info.sampleRate = rate;
    info.tempo = 120.0;
    info.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;

    const int numBlocks = (int) (2.0 * rate / blockSize) + 1; // one bar at 120 bpm is 96000 samples
    for (int b = 0; b < numBlocks; ++b)
    {
        info.samplePos = (double) b * blockSize;
        info.ppqPos = info.samplePos / rate * 2.0;
        process ((int64_t) b * blockSize);
    }

    // Note-ons in the first bar: (frame, key, velocity).
    std::vector<std::tuple<int64_t, int, int>> noteOns;
    for (const auto& sent : instance->sentMidi)
        if (sent.bytes.size() >= 3 && (sent.bytes[0] & 0xf0) == 0x90 && sent.bytes[2] > 0 && sent.frame < 96000)
            noteOns.emplace_back (sent.frame, sent.bytes[1], sent.bytes[2]);

    std::vector<std::tuple<int64_t, int, int>> expected;
    for (int step = 0; step < 16; ++step)
    {
        const int64_t frame = step * 6000;
        if (step % 4 == 0)
            for (int key : { 35, 36 })
                expected.emplace_back (frame, key, step == 0 ? 96 : 48);
        if (step == 4 || step == 12)
            for (int key : { 38, 40 })
                expected.emplace_back (frame, key, 48);
        if (step % 2 == 0)
            for (int key : { 42, 44 })
                expected.emplace_back (frame, key, 48);
    }
    EXPECT_EQ (noteOns, expected);
}
