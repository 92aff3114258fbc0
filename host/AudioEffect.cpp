#include "host/AudioEffect.h"

#include "host/TextServices.h"

#include <algorithm>

namespace host
{
using namespace vst;

AudioEffect::AudioEffect(audioMasterCallback host, VstInt32 programs, VstInt32 params)
    : audioMaster(host), numPrograms(programs), numParams(params)
{
    record.magic = kEffectMagic;
    record.dispatcher = dispatchEffectClass;
    record.process = processClass;
    record.setParameter = setParameterClass;
    record.getParameter = getParameterClass;
    record.numPrograms = programs;
    record.numParams = params;
    record.numInputs = 1;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing;
    record.ioRatio = 1.0f;
    record.object = this;
    record.uniqueID = fourCharCode("NoEf");
    record.version = 1;
    record.processReplacing = processClassReplacing;
    record.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    // A host that keeps the record past effClose finds no object behind it.
    record.object = nullptr;
    record.magic = 0;
}

AudioEffect* AudioEffect::fromRecord(AEffect* effect) noexcept
{
    if (effect == nullptr || effect->magic != kEffectMagic)
        return nullptr;
    return static_cast<AudioEffect*>(effect->object);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    auto* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName:
        if (text != nullptr)
            setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text != nullptr)
            getProgramName(text);
        return 0;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
        if (text == nullptr)
            return 0;
        text[0] = 0;
        if (!isParameterIndex(index))
            return 0;
        if (opcode == effGetParamLabel)
            getParameterLabel(index, text);
        else if (opcode == effGetParamDisplay)
            getParameterDisplay(index, text);
        else
            getParameterName(index, text);
        return 0;
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); return 0;
    case effMainsChanged:
        if (value != 0)
            resume();
        else
            suspend();
        return 0;
    case effIdentify: return fourCharCode("NvEf");
    case effGetChunk:
        if (ptr == nullptr)
            return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        if (value > 0x7fffffff)
            return 0;
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default: return 0;
    }
}

void AudioEffect::processReplacing(float**, float**, VstInt32) {}
void AudioEffect::processDoubleReplacing(double**, double**, VstInt32) {}
void AudioEffect::process(float**, float**, VstInt32) {}
void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32) { return 0.0f; }

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(const char*) {}
void AudioEffect::getProgramName(char* text) { copyText(text, "", 0); }
void AudioEffect::getParameterLabel(VstInt32, char* text) { copyText(text, "", 0); }
void AudioEffect::getParameterDisplay(VstInt32, char* text) { copyText(text, "", 0); }
void AudioEffect::getParameterName(VstInt32, char* text) { copyText(text, "", 0); }
VstInt32 AudioEffect::getChunk(void**, bool) { return 0; }
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) { return 0; }

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
    if (audioMaster == nullptr)
        return 0;
    return audioMaster(const_cast<AEffect*>(&record), opcode, index, value, ptr, opt);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) noexcept
{
    if (state)
        record.flags |= flag;
    else
        record.flags &= ~flag;
}

VstInt32 AudioEffect::getMasterVersion()
{
    const auto version = static_cast<VstInt32>(callHost(audioMasterVersion));
    return version == 0 ? 1 : version;
}

VstInt32 AudioEffect::getCurrentUniqueId() { return static_cast<VstInt32>(callHost(audioMasterCurrentId)); }
void AudioEffect::masterIdle() { callHost(audioMasterIdle); }
// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(VstInt32 pin) { return callHost(audioMasterPinConnected, pin, 0) == 0; }
bool AudioEffect::isOutputConnected(VstInt32 pin) { return callHost(audioMasterPinConnected, pin, 1) == 0; }

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLength) const
{
    host::dB2string(value, text, maxLength);
}
void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLength) const
{
    host::Hz2string(samples, sampleRate, text, maxLength);
}
void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLength) const
{
    host::ms2string(samples, sampleRate, text, maxLength);
}
void AudioEffect::float2string(float value, char* text, VstInt32 maxLength) const
{
    host::float2string(value, text, maxLength);
}
void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLength) const
{
    host::int2string(value, text, maxLength);
}

namespace
{
// The host is C: an exception must never unwind into it. A call that throws answers as a refusal.
template <typename Result, typename Call>
Result answeringExceptionsWith(Result refusal, Call&& call) noexcept
{
    try
    {
        return call();
    }
    catch (...)
    {
        return refusal;
    }
}

// A replacing block that threw leaves silence, not whatever half of it was written.
template <typename Sample>
void silenceOutputs(const AEffect* effect, Sample** outputs, VstInt32 frames) noexcept
{
    if (outputs == nullptr || frames <= 0)
        return;
    for (VstInt32 i = 0; i < effect->numOutputs; ++i)
        if (outputs[i] != nullptr)
            std::fill(outputs[i], outputs[i] + frames, Sample(0));
}
} // namespace

// Host's UI thread as a rule. effClose also deletes the object and answers 1.
VstIntPtr AudioEffect::dispatchEffectClass(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt)
{
    auto* object = fromRecord(effect);
    if (object == nullptr)
        return 0;
    if (opcode == effClose)
    {
        answeringExceptionsWith(VstIntPtr(0), [&] { return object->dispatcher(opcode, index, value, ptr, opt); });
        delete object;
        return 1;
    }
    return answeringExceptionsWith(VstIntPtr(0), [&] { return object->dispatcher(opcode, index, value, ptr, opt); });
}

// Any host thread.
float AudioEffect::getParameterClass(AEffect* effect, VstInt32 index)
{
    auto* object = fromRecord(effect);
    if (object == nullptr || !object->isParameterIndex(index))
        return 0.0f;
    return answeringExceptionsWith(0.0f, [&] { return object->getParameter(index); });
}

// Any host thread.
void AudioEffect::setParameterClass(AEffect* effect, VstInt32 index, float value)
{
    auto* object = fromRecord(effect);
    if (object != nullptr && object->isParameterIndex(index))
        answeringExceptionsWith(0, [&] {
            object->setParameter(index, value);
            return 0;
        });
}

// Host's audio thread.
void AudioEffect::processClass(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (auto* object = fromRecord(effect))
        answeringExceptionsWith(0, [&] {
            object->process(inputs, outputs, frames);
            return 0;
        });
}

// Host's audio thread.
void AudioEffect::processClassReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (auto* object = fromRecord(effect))
        if (answeringExceptionsWith(false, [&] {
                object->processReplacing(inputs, outputs, frames);
                return true;
            }) == false)
            silenceOutputs(effect, outputs, frames);
}

// Host's audio thread.
void AudioEffect::processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs, VstInt32 frames)
{
    if (auto* object = fromRecord(effect))
        if (answeringExceptionsWith(false, [&] {
                object->processDoubleReplacing(inputs, outputs, frames);
                return true;
            }) == false)
            silenceOutputs(effect, outputs, frames);
}
} // namespace host
