#pragma once
// The MIDI a block carries, within room reserved on the message thread: the
// audio thread adds only what fits, so a MIDI buffer never grows there, and
// drops the rest. The sizes below bound one block.
#include <juce_audio_basics/juce_audio_basics.h>

namespace host
{
constexpr int maxMidiEventsPerBlock = 8192; // host events in, and processor events out
constexpr int maxSysexBytes = 2048;         // a longer incoming sysex is dropped whole
constexpr int sysexBytesPerBlock = 16384;   // sysex data a block carries in, and again out
// Bytes a buffer stores per event besides its data: sample position (int32) and size (uint16).
constexpr int midiEventHeaderBytes = 6;
// Room for one block's host events: short events counted at 4 data bytes, plus the sysex allowance.
constexpr int midiInRoomBytes = maxMidiEventsPerBlock * (midiEventHeaderBytes + 4) + sysexBytesPerBlock;
// Room of every MIDI buffer of the binding: the host's events and, on top of them, what the processor adds.
constexpr int midiBufferRoomBytes = 2 * midiInRoomBytes;

// Host's audio thread. Adds an event of at most maxBytes data bytes when it fits below roomBytes
// (no more than was reserved); false when it was dropped.
bool addWithinRoom(juce::MidiBuffer& buffer, int roomBytes, const void* data, int maxBytes, int position);

// Host's audio thread. Adds the source's events at positions [start, start + count) (count < 0: to the end),
// moved by shift, as many as fit below roomBytes.
void addEventsWithinRoom(juce::MidiBuffer& buffer, int roomBytes, const juce::MidiBuffer& source, int start,
                         int count, int shift);

// Host's audio thread. Bytes of a sysex dump the buffer would hold: up to and with its closing 0xF7,
// all of it when unclosed; 0 when that is longer than maxSysexBytes.
int storedSysexLength(const unsigned char* dump, int dumpBytes) noexcept;
} // namespace host
