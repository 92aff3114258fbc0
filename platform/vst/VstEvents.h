#pragma once
// Event records of effProcessEvents and audioMasterProcessEvents.
#include "platform/vst/VstRecord.h"

namespace vst
{
enum : VstInt32
{
    kVstMidiType = 1,
    kVstSysExType = 6,
};

// Common head of every event record.
struct VstEvent
{
    VstInt32 type;
    VstInt32 byteSize; // size of the whole record in bytes
    VstInt32 deltaFrames; // sample offset inside the block
    VstInt32 flags;
    char data[16];
};
static_assert(sizeof(VstEvent) == 32);
static_assert(offsetof(VstEvent, deltaFrames) == 8);

// Event list; the host allocates it with as many pointers as it needs.
struct VstEvents
{
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};
static_assert(offsetof(VstEvents, numEvents) == 0);
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(sizeof(VstEvents) == 32);

// The pointers of a list, reached past the two declared ones (the host allocates as many as it holds).
inline VstEvent* const* eventPointers(const VstEvents& list) noexcept
{
    return reinterpret_cast<VstEvent* const*>(reinterpret_cast<const char*>(&list) + offsetof(VstEvents, events));
}
inline VstEvent** eventPointers(VstEvents& list) noexcept
{
    return reinterpret_cast<VstEvent**>(reinterpret_cast<char*>(&list) + offsetof(VstEvents, events));
}

struct VstMidiEvent
{
    VstInt32 type;        // kVstMidiType
    VstInt32 byteSize;    // sizeof (VstMidiEvent)
    VstInt32 deltaFrames; // sample offset inside the block
    VstInt32 flags;
    VstInt32 noteLength; // samples, 0 = unknown
    VstInt32 noteOffset; // samples into the note
    char midiData[4];    // one to three bytes of a short message, zero padded
    char detune;         // cents
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, type) == 0);
static_assert(offsetof(VstMidiEvent, byteSize) == 4);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, flags) == 12);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, noteOffset) == 20);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29);
static_assert(offsetof(VstMidiEvent, reserved1) == 30);
static_assert(offsetof(VstMidiEvent, reserved2) == 31);

struct VstMidiSysexEvent
{
    VstInt32 type;        // kVstSysExType
    VstInt32 byteSize;    // sizeof (VstMidiSysexEvent)
    VstInt32 deltaFrames; // sample offset inside the block
    VstInt32 flags;
    VstInt32 dumpBytes; // bytes in sysexDump
    VstIntPtr resvd1;
    char* sysexDump;
    VstIntPtr resvd2;
};
static_assert(sizeof(VstMidiSysexEvent) == 48);
static_assert(offsetof(VstMidiSysexEvent, type) == 0);
static_assert(offsetof(VstMidiSysexEvent, byteSize) == 4);
static_assert(offsetof(VstMidiSysexEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiSysexEvent, flags) == 12);
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16);
static_assert(offsetof(VstMidiSysexEvent, resvd1) == 24);
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == 32);
static_assert(offsetof(VstMidiSysexEvent, resvd2) == 40);
} // namespace vst
