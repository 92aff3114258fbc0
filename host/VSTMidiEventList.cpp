#include "host/VSTMidiEventList.h"

#include <cstddef>
#include <cstring>

namespace host
{
using namespace vst;

VstEvent** VSTMidiEventList::pointers() noexcept
{
    return reinterpret_cast<VstEvent**>(block.data() + offsetof(VstEvents, events));
}

void VSTMidiEventList::clear() noexcept
{
    numEvents = 0;
    sysexUsed = 0;
    if (!block.empty())
        getEvents()->numEvents = 0;
}

void VSTMidiEventList::reserve(int events, int sysexBytes)
{
    // Once the room is there this touches nothing: the host may be reading the last block's list.
    if (sysexBytes <= static_cast<int>(sysexRoom.size()) && events <= static_cast<int>(records.size()))
        return;
    if (sysexBytes > static_cast<int>(sysexRoom.size()))
        sysexRoom.assign(static_cast<size_t>(sysexBytes), 0);
    if (events > static_cast<int>(records.size()))
    {
        const auto capacity = static_cast<size_t>((events + 32) / 32 * 32);
        records.assign(capacity, Record {});
        block.assign(offsetof(VstEvents, events) + capacity * sizeof(VstEvent*), 0);
        for (size_t i = 0; i < capacity; ++i)
            pointers()[i] = reinterpret_cast<VstEvent*>(records[i].storage);
    }
    clear();
}

bool VSTMidiEventList::addEvent(const void* data, int numBytes, int frameOffset) noexcept
{
    if (data == nullptr || numBytes < 1 || numEvents >= static_cast<int>(records.size()))
        return false;
    auto& record = records[static_cast<size_t>(numEvents)];
    std::memset(record.storage, 0, sizeof record.storage);
    if (numBytes <= 4)
    {
        VstMidiEvent midi {};
        midi.type = kVstMidiType;
        midi.byteSize = sizeof(VstMidiEvent);
        midi.deltaFrames = frameOffset;
        std::memcpy(midi.midiData, data, static_cast<size_t>(numBytes));
        std::memcpy(record.storage, &midi, sizeof midi);
    }
    else
    {
        const auto bytes = static_cast<size_t>(numBytes);
        if (bytes > sysexRoom.size() - sysexUsed)
            return false;
        char* copy = sysexRoom.data() + sysexUsed;
        std::memcpy(copy, data, bytes);
        sysexUsed += bytes;
        VstMidiSysexEvent sysex {};
        sysex.type = kVstSysExType;
        sysex.byteSize = sizeof(VstMidiSysexEvent);
        sysex.deltaFrames = frameOffset;
        sysex.dumpBytes = numBytes;
        sysex.sysexDump = copy;
        std::memcpy(record.storage, &sysex, sizeof sysex);
    }
    getEvents()->numEvents = ++numEvents;
    return true;
}

void VSTMidiEventList::freeEvents()
{
    records = {};
    sysexRoom = {};
    block = {};
    sysexUsed = 0;
    numEvents = 0;
}
} // namespace host
