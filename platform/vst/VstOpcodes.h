#pragma once
// Opcodes of the VST 2.4 dispatcher (host to plug-in) and of the host callback
// (plug-in to host). Argument roles are noted where a pointer or value carries
// something other than a plain number.
#include "platform/vst/VstRecord.h"

namespace vst
{
// Dispatcher opcodes. Numbers without a name here are deprecated and answer 0.
enum EffectOpcode : VstInt32
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,     // value = program index
    effGetProgram = 3,
    effSetProgramName = 4, // ptr = const char*
    effGetProgramName = 5, // ptr = char[24 + 1]
    effGetParamLabel = 6,  // index, ptr = char[24 + 1]
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effSetSampleRate = 10, // opt = rate in Hz
    effSetBlockSize = 11,  // value = frames
    effMainsChanged = 12,  // value: 0 suspend, 1 resume
    effEditGetRect = 13,   // ptr = ERect** out
    effEditOpen = 14,      // ptr = native parent window (an X11 Window id on Linux)
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23, // ptr = void** out, index != 0: current program only; answer = size in bytes
    effSetChunk = 24, // ptr = data, value = size in bytes, index != 0: current program only
    effProcessEvents = 25, // ptr = VstEvents*
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29, // index = program, value = category, ptr = char[24 + 1]
    effGetInputProperties = 33,    // index = pin, ptr = VstPinProperties*
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42, // value = input VstSpeakerArrangement*, ptr = output one
    effSetBypass = 44,
    effGetEffectName = 45, // ptr = char[64 + 1]
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51, // ptr = const char*
    effGetTailSize = 52,
    effIdle = 53, // deprecated; some hosts still send it as their idle call
    effGetParameterProperties = 56,
    effGetVstVersion = 58,
    effEditKeyDown = 59, // index = character, value = virtual key, opt = modifiers
    effEditKeyUp = 60,
    effSetEditKnob = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66, // index = MIDI channel, ptr = MidiKeyName*
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69, // value = VstSpeakerArrangement** in, ptr = VstSpeakerArrangement** out
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

// Host callback opcodes.
enum HostOpcode : VstInt32
{
    audioMasterAutomate = 0,     // index = parameter, opt = normalised value
    audioMasterVersion = 1,      // answer: the host's VST version, 0 = unusable
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4, // index = pin, value 0 input / 1 output; answer 0 = connected
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,       // value = VstTimeInfo request flags; answer = VstTimeInfo* or 0
    audioMasterProcessEvents = 8, // ptr = VstEvents*
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15, // index = width, value = height (pixels)
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23, // answer 4 = offline rendering
    audioMasterCanDo = 37,                  // ptr = const char*
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43, // index = parameter
    audioMasterEndEdit = 44,
};

constexpr VstIntPtr kVstProcessLevelOffline = 4;
constexpr VstInt32 kVstVersion = 2400;
constexpr VstInt32 kHighestEffectOpcode = effGetNumMidiOutputChannels;

// Text buffer sizes this plug-in writes into (characters before the terminating zero).
constexpr int kParameterNameLength = 16;
constexpr int kParameterTextLength = 24;
constexpr int kProgramNameLength = 24;
constexpr int kProductTextLength = 64;
} // namespace vst
