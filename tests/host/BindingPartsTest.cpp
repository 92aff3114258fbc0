// The binding's small parts where the module alone cannot reach them: the kept
// chunk's age across the clock's wrap, the outgoing list's fixed room, sysex
// lengths, inputs, and bad time info or arrangement codes.
#include "host/HostPlayHead.h"
#include "host/KeptChunk.h"
#include "host/MidiRoom.h"
#include "host/ProcessChannels.h"
#include "host/SpeakerArrangementNames.h"
#include "host/VSTMidiEventList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include <cstring>

using namespace host;
using namespace vst;

TEST(KeptChunk, IsReleasedOnlyOnceOlderThanTheKeepTimeAcrossTheClocksWrap)
{
    KeptChunk chunk;
    EXPECT_EQ(chunk.keep(juce::MemoryBlock(8, true), 0xFFFFFF00u, nullptr), 8);
    EXPECT_FALSE(chunk.releaseIfOlderThan(0xFFFFFF00u + KeptChunk::keepMilliseconds)); // exactly the keep time
    EXPECT_TRUE(chunk.releaseIfOlderThan(0xFFFFFF01u + KeptChunk::keepMilliseconds));
    EXPECT_EQ(chunk.getSize(), 0u);
    EXPECT_FALSE(chunk.releaseIfOlderThan(100000)); // nothing kept
}

TEST(VSTMidiEventList, RecordsAreReusedCleanAndWhatGoesBeyondTheRoomIsDropped)
{
    VSTMidiEventList list;
    list.reserve(40, 500); // 64 records
    const unsigned char note[] = { 0x90, 60, 100 };
    std::vector<unsigned char> sysex(300, 0x22);
    EXPECT_TRUE(list.addEvent(sysex.data(), 300, 0));
    EXPECT_FALSE(list.addEvent(sysex.data(), 300, 1)); // 200 bytes of sysex room left
    EXPECT_TRUE(list.addEvent(sysex.data(), 200, 2));
    EXPECT_FALSE(list.addEvent(nullptr, 3, 0));
    EXPECT_FALSE(list.addEvent(note, 0, 0));
    int added = 0;
    for (int i = 0; i < 100; ++i)
        added += list.addEvent(note, 3, i) ? 1 : 0;
    EXPECT_EQ(added, 62);
    EXPECT_EQ(list.getEvents()->numEvents, 64);
    const auto* second = reinterpret_cast<const VstMidiSysexEvent*>(eventPointers(*list.getEvents())[1]);
    EXPECT_EQ(second->dumpBytes, 200);
    EXPECT_EQ(std::memcmp(second->sysexDump, sysex.data(), 200), 0);

    // A new block has the whole room again, and a short event in a slot that held a sysex carries no stale data.
    list.clear();
    list.addEvent(note, 3, 1);
    list.addEvent(note, 2, 2);
    const auto* reused = reinterpret_cast<const VstMidiEvent*>(eventPointers(*list.getEvents())[1]);
    EXPECT_EQ(reused->type, kVstMidiType);
    EXPECT_EQ(reused->byteSize, 32);
    EXPECT_EQ(reused->midiData[2], 0);
    EXPECT_TRUE(list.addEvent(sysex.data(), 300, 0));
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

TEST(ProcessChannels, InputsAreCopiedIntoTheirOutputsUnlessInPlaceAndMissingOnesAreSilence)
{
    ProcessChannels channels;
    channels.prepare(2, 2, 8);
    std::vector<float> in0(8, 1.0f), in1(8, 2.0f), out0(8, 0.0f);
    float* inputs[] = { in0.data(), in1.data() };
    float* outputs[] = { out0.data(), in1.data() }; // output 2 is processed in place
    auto buffer = channels.setUp(inputs, outputs, 0, 8);
    EXPECT_EQ(buffer.getReadPointer(0), out0.data());
    EXPECT_EQ(out0[3], 1.0f);
    EXPECT_EQ(buffer.getReadPointer(1), in1.data());
    float* missingInputs[] = { nullptr, nullptr };
    channels.setUp(missingInputs, outputs, 4, 4);
    EXPECT_EQ(out0[5], 0.0f);
    EXPECT_EQ(out0[3], 1.0f); // outside the slice: untouched
}

TEST(BadHostValues, NoPositionWithoutARateAndNoTextForUnknownArrangements)
{
    EXPECT_FALSE(positionFromTimeInfo(nullptr).hasValue());
    VstTimeInfo info {};
    EXPECT_FALSE(positionFromTimeInfo(&info).hasValue());
    info.sampleRate = -1.0;
    EXPECT_FALSE(positionFromTimeInfo(&info).hasValue());
    // A sample position past any frame count (found by fuzzing the host's calls) or none at all.
    info.sampleRate = 44100.0;
    for (const auto& [samplePos, frame] : { std::pair { 6.35876e307, int64_t(9.0e18) }, { -1e300, int64_t(-9.0e18) },
                                            { std::nan(""), int64_t(0) }, { 99.6, int64_t(100) } })
    {
        info.samplePos = samplePos;
        EXPECT_EQ(*positionFromTimeInfo(&info)->getTimeInSamples(), frame) << samplePos;
    }
    double fps = 0.0;
    EXPECT_DOUBLE_EQ(frameRateFromSmpteCode(-1, fps).getEffectiveRate(), 1.0);
    EXPECT_TRUE(frameRateFromSmpteCode(4, fps).isDrop());
    for (const int type : { 29, -1, -2 })
        EXPECT_STREQ(speakerArrangementText(type), "") << type;
}
