#pragma once
// The VST 2.x layer over AudioEffect: opcodes 25 to 79 and the host callback
// wrappers the binding uses. Plain C++, no JUCE.
#include "host/AudioEffect.h"

namespace host
{
class AudioEffectX : public AudioEffect
{
public:
    using AudioEffect::AudioEffect;

    // Host's UI thread as a rule (effProcessEvents: audio thread). Opcodes 25-79, the rest to AudioEffect.
    vst::VstIntPtr dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                              float opt) override;

    void resume() override { wantEvents(1); }

    virtual vst::VstInt32 processEvents(vst::VstEvents*) { return 0; }
    virtual bool canParameterBeAutomated(vst::VstInt32) { return false; }
    virtual bool string2parameter(vst::VstInt32, char*) { return false; }
    virtual bool getProgramNameIndexed(vst::VstInt32 /*category*/, vst::VstInt32 /*index*/, char*) { return false; }
    virtual bool getInputProperties(vst::VstInt32, vst::VstPinProperties*) { return false; }
    virtual bool getOutputProperties(vst::VstInt32, vst::VstPinProperties*) { return false; }
    virtual vst::VstInt32 getPlugCategory();
    virtual bool setSpeakerArrangement(vst::VstSpeakerArrangement*, vst::VstSpeakerArrangement*) { return false; }
    virtual bool getSpeakerArrangement(vst::VstSpeakerArrangement** input, vst::VstSpeakerArrangement** output);
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual vst::VstInt32 getVendorVersion() { return 0; }
    virtual vst::VstIntPtr vendorSpecific(vst::VstInt32, vst::VstIntPtr, void*, float) { return 0; }
    virtual vst::VstInt32 canDo(const char*) { return 0; }
    virtual vst::VstInt32 getGetTailSize() { return 0; }
    virtual vst::VstInt32 getVstVersion() { return vst::kVstVersion; }
    virtual vst::VstInt32 getMidiKeyName(vst::VstInt32 /*channel*/, vst::MidiKeyName*) { return 0; }
    virtual vst::VstInt32 getCurrentMidiProgram(vst::VstInt32, void*) { return -1; }
    virtual vst::VstInt32 setTotalSampleToProcess(vst::VstInt32 value) { return value; }
    // Host's UI thread: the host's idle calls (effEditIdle, and the older effIdle).
    virtual void idle() {}

    bool isSynth() const noexcept { return (record.flags & vst::effFlagsIsSynth) != 0; }
    void setSynth(bool state = true) { setFlag(vst::effFlagsIsSynth, state); }
    void noTail(bool state = true) { setFlag(vst::effFlagsNoSoundInStop, state); }
    void setEditorFlag(bool state) { setFlag(vst::effFlagsHasEditor, state); }

    // Host callback wrappers.
    void wantEvents(vst::VstInt32 filter = 1);
    vst::VstTimeInfo* getTimeInfo(vst::VstInt32 filter);
    bool sendVstEventsToHost(vst::VstEvents* events);
    bool ioChanged();
    bool sizeWindow(vst::VstInt32 width, vst::VstInt32 height);
    double updateSampleRate(); // Hz
    vst::VstInt32 updateBlockSize();
    vst::VstInt32 getCurrentProcessLevel();
    bool canHostDo(const char* text);
    bool updateDisplay();
    bool beginEdit(vst::VstInt32 index);
    bool endEdit(vst::VstInt32 index);
};
} // namespace host
