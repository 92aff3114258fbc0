#pragma once
// One plug-in instance as the command-line host drives it: the host callback
// with its answers, the dispatcher and process calls, and what the plug-in
// sent back (MIDI, automation, edit gestures).
#include "platform/vst/Vst.h"
#include "tools/PluginModule.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace clihost
{
// How the host presents itself to the plug-in.
struct HostSettings
{
    vst::VstIntPtr version = vst::kVstVersion; // answered to audioMasterVersion; 0 refuses every plug-in
    double sampleRate = 44100.0;               // Hz, answered to audioMasterGetSampleRate
    int blockSize = 512;                       // frames, answered to audioMasterGetBlockSize
    vst::VstIntPtr processLevel = 2;           // 2 realtime, 4 offline
    std::set<std::string> canDo;               // host capabilities answered with 1
};

// A MIDI or sysex event the plug-in sent back.
struct SentMidi
{
    int64_t frame = 0;       // block start + deltaFrames
    int deltaFrames = 0;     // inside the block it came with
    vst::VstInt32 type = 0;  // kVstMidiType or kVstSysExType
    vst::VstInt32 byteSize = 0;
    std::vector<uint8_t> bytes;
};

// A host callback that reports a parameter: automation or an edit gesture.
struct ParameterReport
{
    vst::VstInt32 opcode = 0; // audioMasterAutomate, audioMasterBeginEdit or audioMasterEndEdit
    vst::VstInt32 index = 0;
    float value = 0.0f; // normalised, automation only
    std::thread::id thread; // the thread the plug-in reported on
};

// An event the host sends in, at a frame inside the next block.
struct MidiEventIn
{
    int deltaFrames = 0;
    std::vector<uint8_t> bytes; // up to 4 bytes: a MIDI event; longer: sysex
};

// An event to send, its bytes borrowed until sendEvents returns.
struct MidiEventView
{
    int deltaFrames = 0;
    uint32_t size = 0;
    const uint8_t* bytes = nullptr; // up to 4 bytes: a MIDI event; longer: sysex
};

class PluginInstance
{
public:
    // Calls the module's entry. Null with `error` set when the plug-in gives no record.
    static std::unique_ptr<PluginInstance> create(const PluginModule& module, const HostSettings& settings,
                                                  std::string& error);
    // Closes the plug-in unless close() was called.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    vst::AEffect* effect() const noexcept { return record; }
    HostSettings& settings() noexcept { return hostSettings; }

    vst::VstIntPtr dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    // effClose; answers what the record's dispatcher answered. The record is gone afterwards.
    vst::VstIntPtr close();

    // Sets rate and block size, then resumes (effMainsChanged 1).
    void resume(double sampleRate, int blockSize);
    void suspend();
    void idle(); // effEditIdle, as a host's UI thread does between blocks

    void setParameter(int index, float value);
    float getParameter(int index);
    std::string parameterText(vst::VstInt32 opcode, int index); // effGetParamName / Display / Label
    std::string productText(vst::VstInt32 opcode);              // effGetEffectName / Vendor / Product

    // Sends the events (effProcessEvents) for the next block; the bytes are copied, so they may go at once.
    void sendEvents(const std::vector<MidiEventIn>& events);
    void sendEvents(const std::vector<MidiEventView>& events);
    // processReplacing over the host's channel pointers; `blockStart` stamps the MIDI sent back.
    void process(float** inputs, float** outputs, int frames, int64_t blockStart = 0);

    std::vector<uint8_t> getChunk(bool currentProgramOnly = false);
    vst::VstIntPtr setChunk(const std::vector<uint8_t>& data, bool currentProgramOnly = false);

    // What the plug-in reported, kept under a lock: it calls back from the audio thread and the UI thread.
    // Read these once no other thread drives the instance.
    std::vector<SentMidi> sentMidi;
    std::vector<ParameterReport> parameterReports;
    std::map<vst::VstInt32, int> hostCalls; // host opcode -> times called
    // Moves the MIDI sent back from the `from`th event on out of sentMidi.
    std::vector<SentMidi> takeSentMidi(size_t from = 0);

    // The transport answered to audioMasterGetTime; answerTimeInfo false answers null.
    // Set between blocks, on the thread that processes.
    vst::VstTimeInfo timeInfo {};
    bool answerTimeInfo = true;

    static vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                       vst::VstIntPtr value, void* ptr, float opt);

private:
    explicit PluginInstance(const HostSettings& settings) : hostSettings(settings) {}
    vst::VstIntPtr answer(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);

    HostSettings hostSettings;
    std::mutex reportsGuard;
    vst::AEffect* record = nullptr;
    int64_t currentBlockStart = 0;
    std::vector<unsigned char> eventBlock;  // VstEvents head and pointers
    std::vector<vst::VstMidiEvent> midiRecords;
    std::vector<vst::VstMidiSysexEvent> sysexRecords;
    std::vector<char> sysexData; // every sysex message's bytes, one after the other
};
} // namespace clihost
