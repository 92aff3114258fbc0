#pragma once
// The MIDI a processor sends back, in the record form the host reads: a
// VstEvents block whose pointers each own a record big enough for a sysex
// event. Records are reused from block to block.
#include "platform/vst/Vst.h"

#include <memory>
#include <vector>

namespace host
{
class VSTMidiEventList
{
public:
    VSTMidiEventList() = default;
    ~VSTMidiEventList();
    VSTMidiEventList(const VSTMidiEventList&) = delete;
    VSTMidiEventList& operator=(const VSTMidiEventList&) = delete;

    // Host's audio thread (allocates only beyond the capacity reserved by ensureSize on the message thread).
    void clear() noexcept;
    // Up to 4 bytes become a MIDI event, longer data a sysex event with its own copy.
    void addEvent(const void* data, int numBytes, int frameOffset);
    // Room for n events; the capacity grows to a multiple of 32.
    void ensureSize(int n);
    // Releases every record, sysex copies included.
    void freeEvents();

    vst::VstEvents* getEvents() noexcept { return reinterpret_cast<vst::VstEvents*>(block.data()); }
    int getNumEvents() const noexcept { return numEvents; }

private:
    struct Record
    {
        // Room for the larger of the two record kinds; the host reads it through a VstEvent pointer.
        alignas(vst::VstMidiSysexEvent) unsigned char storage[sizeof(vst::VstMidiSysexEvent)] {};
        std::vector<char> sysexCopy;
    };

    vst::VstEvent** pointers() noexcept;

    std::vector<std::unique_ptr<Record>> records;
    std::vector<unsigned char> block; // the VstEvents head followed by one pointer per record
    int numEvents = 0;
};
} // namespace host
