#pragma once
// Base of the plug-in object behind the VST 2.4 record: holds the record,
// answers dispatcher opcodes 0 to 24 and anything unknown, and wraps the host
// callback. Plain C++, no JUCE: the binding derives from AudioEffectX.
#include "platform/vst/Vst.h"

namespace host
{
class AudioEffect
{
public:
    // Host's UI thread (module entry).
    AudioEffect(vst::audioMasterCallback host, vst::VstInt32 numPrograms, vst::VstInt32 numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // Host's UI thread as a rule. Opcodes 0-24; anything else, negative included, answers 0.
    virtual vst::VstIntPtr dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                      float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(vst::VstInt32 frames) { blockSize = frames; }

    // Host's audio thread.
    virtual void processReplacing(float** inputs, float** outputs, vst::VstInt32 frames);
    virtual void processDoubleReplacing(double** inputs, double** outputs, vst::VstInt32 frames);
    virtual void process(float** inputs, float** outputs, vst::VstInt32 frames); // deprecated, does nothing

    // Any host thread.
    virtual void setParameter(vst::VstInt32 index, float value);
    virtual float getParameter(vst::VstInt32 index);
    virtual void setParameterAutomated(vst::VstInt32 index, float value);

    virtual vst::VstInt32 getProgram() { return currentProgram; }
    virtual void setProgram(vst::VstInt32 program) { currentProgram = program; }
    virtual void setProgramName(const char* name);
    virtual void getProgramName(char* text);
    virtual void getParameterLabel(vst::VstInt32 index, char* text);
    virtual void getParameterDisplay(vst::VstInt32 index, char* text);
    virtual void getParameterName(vst::VstInt32 index, char* text);
    virtual vst::VstInt32 getChunk(void** data, bool isPreset);
    virtual vst::VstInt32 setChunk(void* data, vst::VstInt32 byteSize, bool isPreset);

    void setUniqueID(vst::VstInt32 id) { record.uniqueID = id; }
    void setNumInputs(vst::VstInt32 pins) { record.numInputs = pins; }
    void setNumOutputs(vst::VstInt32 pins) { record.numOutputs = pins; }
    void canProcessReplacing(bool state = true) { setFlag(vst::effFlagsCanReplacing, state); }
    void canDoubleReplacing(bool state = true) { setFlag(vst::effFlagsCanDoubleReplacing, state); }
    void programsAreChunks(bool state = true) { setFlag(vst::effFlagsProgramChunks, state); }
    void hasVu(bool state = true) { setFlag(vst::effFlagsHasVu, state); }
    void hasClip(bool state = true) { setFlag(vst::effFlagsHasClip, state); }
    void canMono(bool state = true) { setFlag(vst::effFlagsCanMono, state); }
    void setInitialDelay(vst::VstInt32 samples) { record.initialDelay = samples; }
    void setRealtimeQualities(vst::VstInt32 qualities) { record.realQualities = qualities; }
    void setOfflineQualities(vst::VstInt32 qualities) { record.offQualities = qualities; }

    vst::AEffect* getAeffect() noexcept { return &record; }
    float getSampleRate() const noexcept { return sampleRate; }
    vst::VstInt32 getBlockSize() const noexcept { return blockSize; }
    vst::VstInt32 getNumPrograms() const noexcept { return numPrograms; }
    vst::VstInt32 getNumParams() const noexcept { return numParams; }

    // Host callback wrappers; each answers 0 without a host callback.
    vst::VstInt32 getMasterVersion(); // 1 when the host gives 0 or there is no host
    vst::VstInt32 getCurrentUniqueId();
    void masterIdle();
    bool isInputConnected(vst::VstInt32 pin);
    bool isOutputConnected(vst::VstInt32 pin);

    void dB2string(float value, char* text, vst::VstInt32 maxLength) const;
    void Hz2string(float samples, char* text, vst::VstInt32 maxLength) const;
    void ms2string(float samples, char* text, vst::VstInt32 maxLength) const;
    void float2string(float value, char* text, vst::VstInt32 maxLength) const;
    void int2string(vst::VstInt32 value, char* text, vst::VstInt32 maxLength) const;

    // Finds the object behind a record, null for a record that is not ours.
    static AudioEffect* fromRecord(vst::AEffect* effect) noexcept;

protected:
    vst::VstIntPtr callHost(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f) const;
    void setFlag(vst::VstInt32 flag, bool state) noexcept;
    bool isParameterIndex(vst::VstInt32 index) const noexcept { return index >= 0 && index < numParams; }

    vst::audioMasterCallback audioMaster;
    float sampleRate = 44100.0f;     // Hz
    vst::VstInt32 blockSize = 1024;  // frames
    vst::VstInt32 numPrograms;
    vst::VstInt32 numParams;
    vst::VstInt32 currentProgram = 0;
    vst::AEffect record {};

private:
    // The six callbacks stored in the record.
    static vst::VstIntPtr dispatchEffectClass(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                              vst::VstIntPtr value, void* ptr, float opt);
    static float getParameterClass(vst::AEffect* effect, vst::VstInt32 index);
    static void setParameterClass(vst::AEffect* effect, vst::VstInt32 index, float value);
    static void processClass(vst::AEffect* effect, float** inputs, float** outputs, vst::VstInt32 frames);
    static void processClassReplacing(vst::AEffect* effect, float** inputs, float** outputs, vst::VstInt32 frames);
    static void processClassDoubleReplacing(vst::AEffect* effect, double** inputs, double** outputs,
                                            vst::VstInt32 frames);
};
} // namespace host
