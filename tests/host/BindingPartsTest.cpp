// The binding's small parts on their own: kept chunk, outgoing event list,
// channel set-up, play head conversion and arrangement texts.
#include "host/HostPlayHead.h"
#include "host/KeptChunk.h"
#include "host/ProcessChannels.h"
#include "host/SpeakerArrangementNames.h"
#include "host/VSTMidiEventList.h"

#include <gtest/gtest.h>

using namespace host;
using namespace vst;

TEST(KeptChunk, LivesUntilReplacedOrOlderThanTheKeepTime)
{
    KeptChunk chunk;
    juce::MemoryBlock data("abcd", 4);
    void* pointer = nullptr;
    EXPECT_EQ(chunk.keep(std::move(data), 1000, &pointer), 4);
    EXPECT_EQ(std::memcmp(pointer, "abcd", 4), 0);
    EXPECT_FALSE(chunk.releaseIfOlderThan(3000)); // exactly the keep time: still kept
    EXPECT_EQ(chunk.getSize(), 4u);
    EXPECT_TRUE(chunk.releaseIfOlderThan(3001));
    EXPECT_EQ(chunk.getSize(), 0u);
    EXPECT_FALSE(chunk.releaseIfOlderThan(100000)); // nothing kept
}

TEST(KeptChunk, SurvivesTheMillisecondCounterWrapping)
{
    KeptChunk chunk;
    EXPECT_EQ(chunk.keep(juce::MemoryBlock(8, true), 0xFFFFFF00u, nullptr), 8);
    EXPECT_FALSE(chunk.releaseIfOlderThan(0x00000100u)); // 512 ms later across the wrap
    EXPECT_TRUE(chunk.releaseIfOlderThan(0x00001000u));
}

TEST(KeptChunk, ReadThenReleaseSeesTheBlockAlive)
{
    KeptChunk chunk;
    void* pointer = nullptr;
    chunk.keep(juce::MemoryBlock("state", 5), 10, &pointer);
    std::string seen;
    chunk.readThenRelease([&] { seen.assign(static_cast<const char*>(pointer), 5); });
    EXPECT_EQ(seen, "state");
    EXPECT_EQ(chunk.getSize(), 0u);
}

TEST(VSTMidiEventList, ShortEventsAndSysexRecords)
{
    VSTMidiEventList list;
    list.ensureSize(1);
    const unsigned char note[] = { 0x90, 60, 100 };
    std::vector<unsigned char> sysex(300, 0x11);
    list.addEvent(note, 3, 7);
    list.addEvent(sysex.data(), 300, 9);
    list.addEvent(nullptr, 3, 0);
    list.addEvent(note, 0, 0);
    VstEvents* events = list.getEvents();
    ASSERT_EQ(events->numEvents, 2);
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(eventPointers(*events)[0]);
    EXPECT_EQ(midi->type, kVstMidiType);
    EXPECT_EQ(midi->byteSize, 32);
    EXPECT_EQ(midi->deltaFrames, 7);
    EXPECT_EQ(static_cast<unsigned char>(midi->midiData[0]), 0x90);
    EXPECT_EQ(midi->midiData[3], 0);
    const auto* dump = reinterpret_cast<const VstMidiSysexEvent*>(eventPointers(*events)[1]);
    EXPECT_EQ(dump->type, kVstSysExType);
    EXPECT_EQ(dump->byteSize, 48);
    EXPECT_EQ(dump->dumpBytes, 300);
    EXPECT_EQ(std::memcmp(dump->sysexDump, sysex.data(), 300), 0);

    // Records are reused: a short event after a sysex in the same slot carries no stale data.
    list.clear();
    list.addEvent(note, 3, 1);
    list.addEvent(note, 2, 2);
    const auto* reused = reinterpret_cast<const VstMidiEvent*>(eventPointers(*list.getEvents())[1]);
    EXPECT_EQ(reused->type, kVstMidiType);
    EXPECT_EQ(reused->midiData[2], 0);

    for (int i = 0; i < 100; ++i)
        list.addEvent(note, 3, i);
    EXPECT_EQ(list.getNumEvents(), 102);
    EXPECT_EQ(eventPointers(*list.getEvents())[101]->deltaFrames, 99);
}

TEST(ProcessChannels, InputsAreCopiedIntoTheirOutputsUnlessInPlace)
{
    ProcessChannels channels;
    channels.prepare(2, 2, 8);
    std::vector<float> in0(8, 1.0f), in1(8, 2.0f), out0(8, 0.0f);
    float* inputs[] = { in0.data(), in1.data() };
    float* outputs[] = { out0.data(), in1.data() }; // output 2 is processed in place
    auto buffer = channels.setUp(inputs, outputs, 0, 8);
    EXPECT_EQ(buffer.getNumChannels(), 2);
    EXPECT_EQ(buffer.getReadPointer(0), out0.data());
    EXPECT_EQ(out0[3], 1.0f);
    EXPECT_EQ(buffer.getReadPointer(1), in1.data());
    float* missingInputs[] = { nullptr, nullptr };
    buffer = channels.setUp(missingInputs, outputs, 4, 4);
    EXPECT_EQ(out0[5], 0.0f); // a missing input reads as silence
    EXPECT_EQ(out0[3], 1.0f); // outside the slice: untouched
}

TEST(HostPlayHead, SmpteCodesGiveTheirFrameRates)
{
    const std::pair<VstInt32, double> expected[] = { { 0, 24.0 },  { 1, 25.0 },     { 2, 29.97 },     { 3, 30.0 },
                                                     { 4, 29.97 }, { 5, 30.0 },     { 6, 24.0 },      { 7, 24.0 },
                                                     { 10, 23.976 }, { 11, 24.976 }, { 12, 59.94 }, { 13, 60.0 },
                                                     { 8, 1.0 },   { -1, 1.0 } };
    for (const auto& [code, fps] : expected)
    {
        double framesPerSecond = 0.0;
        const auto rate = frameRateFromSmpteCode(code, framesPerSecond);
        EXPECT_DOUBLE_EQ(framesPerSecond, fps) << code;
        EXPECT_NEAR(rate.getEffectiveRate(), fps, 0.002) << code;
    }
    double fps = 0.0;
    EXPECT_TRUE(frameRateFromSmpteCode(4, fps).isDrop());
    EXPECT_FALSE(frameRateFromSmpteCode(2, fps).isDrop());
}

TEST(HostPlayHead, NoPositionWithoutARecordOrARate)
{
    EXPECT_FALSE(positionFromTimeInfo(nullptr).hasValue());
    VstTimeInfo info {};
    EXPECT_FALSE(positionFromTimeInfo(&info).hasValue());
    info.sampleRate = -1.0;
    EXPECT_FALSE(positionFromTimeInfo(&info).hasValue());
    info.sampleRate = 44100.0;
    info.samplePos = 44100.0 * 3;
    const auto position = positionFromTimeInfo(&info);
    ASSERT_TRUE(position.hasValue());
    EXPECT_EQ(*position->getTimeInSamples(), 132300);
    EXPECT_DOUBLE_EQ(*position->getTimeInSeconds(), 3.0);
    EXPECT_FALSE(position->getIsPlaying());
}

TEST(SpeakerArrangementNames, KnownTypesAndTheRest)
{
    EXPECT_STREQ(speakerArrangementText(0), "M");
    EXPECT_STREQ(speakerArrangementText(1), "L R");
    EXPECT_STREQ(speakerArrangementText(17), "L R Ls Rs Sl Sr ");
    EXPECT_STREQ(speakerArrangementText(28), "L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2");
    EXPECT_STREQ(speakerArrangementText(29), "");
    EXPECT_STREQ(speakerArrangementText(-1), "");
    EXPECT_STREQ(speakerArrangementText(-2), "");
}
