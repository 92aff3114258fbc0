#pragma once

#include "platform/vst/Vst.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace host_tests
{
using namespace vst;

// One block's worth of host events, built before counting starts.
class EventList
{
public:
    void addShort(int frame, unsigned char status, unsigned char data1, unsigned char data2)
    {
        VstMidiEvent event {};
        event.type = kVstMidiType;
        event.byteSize = sizeof event;
        event.deltaFrames = frame;
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        shortEvents.push_back(event);
    }
    void addSysex(int frame, std::vector<char> bytes)
    {
        dumps.push_back(std::move(bytes));
        VstMidiSysexEvent event {};
        event.type = kVstSysExType;
        event.byteSize = sizeof event;
        event.deltaFrames = frame;
        event.dumpBytes = static_cast<VstInt32>(dumps.back().size());
        sysexEvents.push_back(event);
    }
    VstEvents* build()
    {
        std::vector<VstEvent*> pointers;
        for (size_t i = 0; i < sysexEvents.size(); ++i)
        {
            sysexEvents[i].sysexDump = dumps[i].data();
            pointers.push_back(reinterpret_cast<VstEvent*>(&sysexEvents[i]));
        }
        for (auto& event : shortEvents)
            pointers.push_back(reinterpret_cast<VstEvent*>(&event));
        block.assign(offsetof(VstEvents, events) + pointers.size() * sizeof(VstEvent*), 0);
        auto* events = reinterpret_cast<VstEvents*>(block.data());
        events->numEvents = static_cast<VstInt32>(pointers.size());
        std::copy(pointers.begin(), pointers.end(), eventPointers(*events));
        return events;
    }

private:
    std::vector<VstMidiEvent> shortEvents;
    std::vector<VstMidiSysexEvent> sysexEvents;
    std::vector<std::vector<char>> dumps;
    std::vector<unsigned char> block;
};
} // namespace host_tests
