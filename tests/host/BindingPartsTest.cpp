// The binding's small parts on their own: kept chunk, outgoing event list,
// channel set-up, play head conversion and arrangement texts.
#include "host/HostPlayHead.h"
#include "host/KeptChunk.h"
#include "host/MidiRoom.h"
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
    list.reserve(1, 1024);
    EXPECT_EQ(list.getCapacity(), 32);
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

    for (int i = 0; i < 30; ++i)
        list.addEvent(note, 3, i);
    EXPECT_EQ(list.getNumEvents(), 32);
    EXPECT_EQ(eventPointers(*list.getEvents())[31]->deltaFrames, 29);
}

TEST(VSTMidiEventList, WhatGoesBeyondTheReservedRoomIsDroppedNotGrown)
{
    VSTMidiEventList list;
    list.reserve(40, 500); // 64 records
    const unsigned char note[] = { 0x90, 60, 100 };
    std::vector<unsigned char> sysex(300, 0x22);
    EXPECT_TRUE(list.addEvent(sysex.data(), 300, 0));
    EXPECT_FALSE(list.addEvent(sysex.data(), 300, 1)); // 200 bytes of sysex room left
    EXPECT_TRUE(list.addEvent(sysex.data(), 200, 2));
    int added = 0;
    for (int i = 0; i < 100; ++i)
        added += list.addEvent(note, 3, i) ? 1 : 0;
    EXPECT_EQ(added, 62);
    EXPECT_EQ(list.getNumEvents(), 64);
    EXPECT_EQ(list.getEvents()->numEvents, 64);
    const auto* second = reinterpret_cast<const VstMidiSysexEvent*>(eventPointers(*list.getEvents())[1]);
    EXPECT_EQ(second->dumpBytes, 200);
    EXPECT_EQ(second->deltaFrames, 2);

    // A new block has the whole room again; reserving the same room again keeps the list as it is.
    list.reserve(40, 500);
    EXPECT_EQ(list.getNumEvents(), 64);
    list.clear();
    EXPECT_TRUE(list.addEvent(sysex.data(), 300, 0));
    EXPECT_EQ(list.getNumEvents(), 1);
}

TEST(MidiRoom, EventsAreAddedOnlyWithinTheRoom)
{
    juce::MidiBuffer buffer;
    buffer.ensureSize(100);
    const unsigned char note[] = { 0x90, 60, 100, 0 };
    int added = 0;
    for (int i = 0; i < 20; ++i)
        added += addWithinRoom(buffer, 100, note, 4, 20 - i) ? 1 : 0;
    // Each is checked at 6 + 4 bytes and stored in 6 + 3: eleven fit.
    EXPECT_EQ(added, 11);
    EXPECT_EQ(buffer.getNumEvents(), 11);
    EXPECT_LE(buffer.data.size(), 100);
    EXPECT_EQ(buffer.getFirstEventTime(), 10); // kept in position order
    EXPECT_FALSE(addWithinRoom(buffer, 100, nullptr, 4, 0));

    juce::MidiBuffer copy;
    addEventsWithinRoom(copy, 40, buffer, 12, 5, 100); // positions 12..16 fit four times in 40 bytes
    EXPECT_EQ(copy.getNumEvents(), 4);
    EXPECT_EQ(copy.getFirstEventTime(), 112);
}

TEST(MidiRoom, SysexLengthEndsAtItsCloseAndOverlongDumpsAreRefused)
{
    std::vector<unsigned char> dump(maxSysexBytes * 4, 0x11);
    dump[0] = 0xF0;
    EXPECT_EQ(storedSysexLength(dump.data(), 0), 0);
    EXPECT_EQ(storedSysexLength(nullptr, 10), 0);
    EXPECT_EQ(storedSysexLength(dump.data(), maxSysexBytes), maxSysexBytes); // unclosed, within the limit
    EXPECT_EQ(storedSysexLength(dump.data(), maxSysexBytes + 1), 0);
    dump[9] = 0xF7;
    EXPECT_EQ(storedSysexLength(dump.data(), static_cast<int>(dump.size())), 10); // closed early: only that
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
