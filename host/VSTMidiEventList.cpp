#include "host/VSTMidiEventList.h"

#include <cstring>

namespace host
{
using namespace vst;

VSTMidiEventList::~VSTMidiEventList() { freeEvents(); }

VstEvent** VSTMidiEventList::pointers() noexcept
{
    return reinterpret_cast<VstEvent**>(block.data() + offsetof(VstEvents, events));
}

void VSTMidiEventList::clear() noexcept
{
    numEvents = 0;
    if (!block.empty())
        getEvents()->numEvents = 0;
}

void VSTMidiEventList::ensureSize(int n)
{
    if (n <= static_cast<int>(records.size()))
        return;
    const auto capacity = static_cast<size_t>((n + 32) / 32 * 32);
    while (records.size() < capacity)
    {
        auto record = std::make_unique<Record>();
        VstMidiEvent empty {};
        empty.type = kVstMidiType;
        empty.byteSize = sizeof(VstMidiEvent);
        std::memcpy(record->storage, &empty, sizeof empty);
        records.push_back(std::move(record));
    }
    block.assign(offsetof(VstEvents, events) + capacity * sizeof(VstEvent*), 0);
    for (size_t i = 0; i < capacity; ++i)
        pointers()[i] = reinterpret_cast<VstEvent*>(records[i]->storage);
    getEvents()->numEvents = numEvents;
}

void VSTMidiEventList::addEvent(const void* data, int numBytes, int frameOffset)
{
    if (data == nullptr || numBytes < 1)
        return;
    ensureSize(numEvents + 1);
    auto& record = *records[static_cast<size_t>(numEvents)];
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
        const auto* bytes = static_cast<const char*>(data);
        record.sysexCopy.assign(bytes, bytes + numBytes);
        VstMidiSysexEvent sysex {};
        sysex.type = kVstSysExType;
        sysex.byteSize = sizeof(VstMidiSysexEvent);
        sysex.deltaFrames = frameOffset;
        sysex.dumpBytes = numBytes;
        sysex.sysexDump = record.sysexCopy.data();
        std::memcpy(record.storage, &sysex, sizeof sysex);
    }
    getEvents()->numEvents = ++numEvents;
}

void VSTMidiEventList::freeEvents()
{
    records.clear();
    block.clear();
    block.shrink_to_fit();
    numEvents = 0;
}
} // namespace host
