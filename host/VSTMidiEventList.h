#pragma once
// The MIDI a processor sends back, in the record form the host reads: a
// VstEvents block whose pointers each lead to a record big enough for a sysex
// event. Records and sysex data live in room reserved on the message thread
// and are reused from block to block; the audio thread never allocates here.
#include "platform/vst/Vst.h"

#include <vector>

namespace host
{
class VSTMidiEventList
{
public:
    VSTMidiEventList() = default;
    VSTMidiEventList(const VSTMidiEventList&) = delete;
    VSTMidiEventList& operator=(const VSTMidiEventList&) = delete;

    // Message thread. Room for at least `events` records (a multiple of 32 above it) and `sysexBytes` bytes
    // of sysex data per block; never shrinks. Emptied only when the room grew.
    void reserve(int events, int sysexBytes);
    // Releases every record and the sysex room.
    void freeEvents();

    // Host's audio thread.
    void clear() noexcept;
    // Up to 4 bytes become a MIDI event, longer data a sysex event with its own copy in the sysex room.
    // False, and nothing added, for empty data or when no record or not enough sysex room is left.
    bool addEvent(const void* data, int numBytes, int frameOffset) noexcept;

    vst::VstEvents* getEvents() noexcept { return reinterpret_cast<vst::VstEvents*>(block.data()); }
    int getNumEvents() const noexcept { return numEvents; }
    int getCapacity() const noexcept { return static_cast<int>(records.size()); }

private:
    struct Record
    {
        // Room for the larger of the two record kinds; the host reads it through a VstEvent pointer.
        alignas(vst::VstMidiSysexEvent) unsigned char storage[sizeof(vst::VstMidiSysexEvent)];
    };

    vst::VstEvent** pointers() noexcept;

    std::vector<Record> records;
    std::vector<char> sysexRoom; // the sysex data of this block's records, one after another
    std::vector<unsigned char> block; // the VstEvents head followed by one pointer per record
    size_t sysexUsed = 0;
    int numEvents = 0;
};
} // namespace host
