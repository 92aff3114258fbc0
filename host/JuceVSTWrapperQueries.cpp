#include "host/JuceVSTWrapper.h"

#include "host/PluginIdentity.h"
#include "host/SpeakerArrangementNames.h"
#include "host/TextServices.h"

#include <cstring>

// The binding's answers to the host's questions: parameter and program
// texts, product strings, capabilities, pins, speaker arrangements, key names.
namespace host
{
using namespace vst;
bool JuceVSTWrapper::isHostParameter(int index) const
{
    return index >= 0 && index < processor->getNumParameters();
}

bool JuceVSTWrapper::isProgramIndex(int index) const { return index >= 0 && index < processor->getNumPrograms(); }

void JuceVSTWrapper::setParameter(VstInt32 index, float value)
{
    if (isHostParameter(index))
        processor->setParameter(index, value);
}

float JuceVSTWrapper::getParameter(VstInt32 index)
{
    return isHostParameter(index) ? processor->getParameter(index) : 0.0f;
}

void JuceVSTWrapper::getParameterName(VstInt32 index, char* text)
{
    copyText(text, isHostParameter(index) ? processor->getParameterName(index, kParameterNameLength).toRawUTF8() : "",
             kParameterNameLength);
}

void JuceVSTWrapper::getParameterDisplay(VstInt32 index, char* text)
{
    copyText(text, isHostParameter(index) ? processor->getParameterText(index, kParameterTextLength).toRawUTF8() : "",
             kParameterTextLength);
}

void JuceVSTWrapper::getParameterLabel(VstInt32 index, char* text)
{
    copyText(text, isHostParameter(index) ? processor->getParameterLabel(index).toRawUTF8() : "",
             kParameterTextLength);
}

bool JuceVSTWrapper::canParameterBeAutomated(VstInt32 index)
{
    return isHostParameter(index) && processor->isParameterAutomatable(index);
}

VstInt32 JuceVSTWrapper::getProgram() { return processor->getCurrentProgram(); }

void JuceVSTWrapper::setProgram(VstInt32 program)
{
    if (isProgramIndex(program))
        processor->setCurrentProgram(program);
}

void JuceVSTWrapper::setProgramName(const char* name)
{
    if (name != nullptr)
        processor->changeProgramName(processor->getCurrentProgram(), juce::String::fromUTF8(name));
}

void JuceVSTWrapper::getProgramName(char* text)
{
    const int current = processor->getCurrentProgram();
    copyText(text, isProgramIndex(current) ? processor->getProgramName(current).toRawUTF8() : "",
             kProgramNameLength);
}

bool JuceVSTWrapper::getProgramNameIndexed(VstInt32, VstInt32 index, char* text)
{
    if (!isProgramIndex(index))
        return false;
    copyText(text, processor->getProgramName(index).toRawUTF8(), kProgramNameLength);
    return true;
}

bool JuceVSTWrapper::setBypass(bool on)
{
    isBypassed.store(on);
    return true;
}

bool JuceVSTWrapper::getEffectName(char* text)
{
    copyText(text, kPluginName, kProductTextLength);
    return true;
}

bool JuceVSTWrapper::getVendorString(char* text)
{
    copyText(text, kVendorName, kProductTextLength);
    return true;
}

bool JuceVSTWrapper::getProductString(char* text)
{
    copyText(text, kPluginName, kProductTextLength);
    return true;
}

VstInt32 JuceVSTWrapper::getVendorVersion() { return kPluginVersion; }

VstInt32 JuceVSTWrapper::canDo(const char* text)
{
    static constexpr const char* yes[] = { "receiveVstEvents",   "receiveVstMidiEvent", "receiveVstMidiEvents",
                                           "sendVstEvents",      "sendVstMidiEvent",    "sendVstMidiEvents",
                                           "receiveVstTimeInfo", "conformsToWindowRules", "bypass" };
    for (const char* answer : yes)
        if (std::strcmp(text, answer) == 0)
            return 1;
    if (std::strcmp(text, "openCloseAnyThread") == 0)
        return -1;
    return 0;
}

VstInt32 JuceVSTWrapper::getGetTailSize()
{
    const double samples = processor->getTailLengthSeconds() * static_cast<double>(getSampleRate());
    return samples > 0.0 && samples < 2147483647.0 ? static_cast<VstInt32>(samples) : 0;
}

bool JuceVSTWrapper::getInputProperties(VstInt32 index, VstPinProperties* properties)
{
    if (index < 0 || index >= numInputPins)
        return false;
    const auto name = juce::String(index + 1);
    copyText(properties->label, name.toRawUTF8(), sizeof properties->label - 1);
    copyText(properties->shortLabel, name.toRawUTF8(), sizeof properties->shortLabel - 1);
    properties->flags = kVstPinIsActive;
    properties->arrangementType = 0;
    return true;
}

bool JuceVSTWrapper::getOutputProperties(VstInt32 index, VstPinProperties* properties)
{
    if (index < 0 || index >= numOutputPins)
        return false;
    const auto name = processor->getOutputChannelName(index);
    copyText(properties->label, name.toRawUTF8(), sizeof properties->label - 1);
    copyText(properties->shortLabel, name.toRawUTF8(), sizeof properties->shortLabel - 1);
    if (outputSpeakerType >= 0)
    {
        properties->flags = kVstPinUseSpeaker;
        properties->arrangementType = outputSpeakerType;
    }
    else
    {
        properties->flags = kVstPinIsActive | (processor->isOutputChannelStereoPair(index) ? kVstPinIsStereo : 0);
        properties->arrangementType = 0;
    }
    return true;
}

bool JuceVSTWrapper::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    // A missing arrangement has no channels. Only the instance's own pin counts are accepted.
    const int inputChannels = input != nullptr ? input->numChannels : 0;
    const int outputChannels = output != nullptr ? output->numChannels : 0;
    if (inputChannels != processor->getNumHostInputChannels()
        || outputChannels != processor->getNumHostOutputChannels())
    {
        processor->setSpeakerArrangementTexts({}, {});
        return false;
    }
    inputSpeakerType = input != nullptr ? input->type : -1;
    outputSpeakerType = output != nullptr ? output->type : -1;
    {
        const juce::ScopedLock lock(processor->getCallbackLock());
        numInputPins = inputChannels;
        numOutputPins = outputChannels;
        applyPlayConfiguration(processor->getSampleRate(), processor->getBlockSize());
    }
    processor->setSpeakerArrangementTexts(speakerArrangementText(inputSpeakerType),
                                          speakerArrangementText(outputSpeakerType));
    return true;
}

VstInt32 JuceVSTWrapper::getMidiKeyName(VstInt32, MidiKeyName* keyName)
{
    const int key = keyName->thisKeyNumber;
    const auto name = key >= 0 && key < 128 ? processor->getNoteKeyName(key) : juce::String();
    copyText(keyName->keyName, name.toRawUTF8(), sizeof keyName->keyName - 1);
    return 1;
}
} // namespace host
