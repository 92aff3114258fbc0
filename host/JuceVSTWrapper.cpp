#include "host/JuceVSTWrapper.h"

#include "host/HostPlayHead.h"
#include "host/MessagePump.h"
#include "host/PluginIdentity.h"
#include "host/SpeakerArrangementNames.h"
#include "host/TextServices.h"

#include <cstring>

namespace host
{
using namespace vst;
using vst::AEffect; // JUCE declares a global AEffect of its own

namespace
{
constexpr int housekeepingIntervalMs = 250;
constexpr int reservedMidiBytes = 2048;
constexpr int reservedOutgoingEvents = 512;
constexpr double fallbackSampleRate = 44100.0; // Hz, when the host gives none
} // namespace

JuceVSTWrapper::JuceVSTWrapper(audioMasterCallback host, std::unique_ptr<HostedProcessor> owned)
    : AudioEffectX(host, owned->getNumPrograms(), owned->getNumParameters()), processor(std::move(owned))
{
    numInputPins = processor->getNumHostInputChannels();
    numOutputPins = processor->getNumHostOutputChannels();
    processor->setPlayConfigDetails(numInputPins, numOutputPins, 0.0, 0);
    processor->setPlayHead(this);
    processor->addListener(this);

    setNumInputs(numInputPins);
    setNumOutputs(numOutputPins);
    setUniqueID(kPluginUniqueId);
    record.version = kPluginVersion;
    canProcessReplacing(true);
    canDoubleReplacing(false);
    programsAreChunks(true);
    setSynth(true);
    // The instrument sounds while the host is stopped (its own clock, live notes, decaying voices):
    // a host honouring "no sound in stop" would cut it off.
    noTail(false);
    setEditorFlag(processor->hasEditor());
    setInitialDelay(processor->getLatencySamples());
}

JuceVSTWrapper::~JuceVSTWrapper()
{
    hasShutDown = true;
    stopTimer();
    cancelPendingUpdate();
    processor->removeListener(this);
    processor->setPlayHead(nullptr);
    processor.reset();
}

VstIntPtr JuceVSTWrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (hasShutDown)
        return 0;
    switch (opcode)
    {
    case effEditGetRect:
    case effEditOpen:
    case effEditClose: return dispatchEditorOpcode(opcode, ptr);
    default: return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    }
}

// Until an editor is hosted, these answer as they do for a processor without one.
VstIntPtr JuceVSTWrapper::dispatchEditorOpcode(VstInt32 opcode, void* ptr)
{
    switch (opcode)
    {
    case effEditGetRect:
        if (ptr != nullptr)
            *static_cast<ERect**>(ptr) = nullptr;
        return 0;
    case effEditOpen:
        if (auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
            messageManager != nullptr && messageManager->isThisTheMessageThread())
            startTimer(housekeepingIntervalMs);
        return 0;
    default: return 0;
    }
}

void JuceVSTWrapper::open() { setEditorFlag(processor->hasEditor()); }

void JuceVSTWrapper::close() { stopTimer(); }

void JuceVSTWrapper::idle() { drainMessageQueue(); }

void JuceVSTWrapper::applyPlayConfiguration(double rate, int frames)
{
    processor->setPlayConfigDetails(numInputPins, numOutputPins, rate, frames);
}

void JuceVSTWrapper::resume()
{
    double rate = updateSampleRate();
    if (!(rate > 0.0))
        rate = fallbackSampleRate;
    const int frames = std::max(1, static_cast<int>(updateBlockSize()));
    processor->setNonRealtime(getCurrentProcessLevel() == kVstProcessLevelOffline);
    {
        // A host that still processes while it resumes must not see the buffers change under it.
        const juce::ScopedLock lock(processor->getCallbackLock());
        isProcessing = true;
        firstProcessCallback = true;
        applyPlayConfiguration(rate, frames);
        channels.prepare(numInputPins, numOutputPins, frames);
        processor->prepareToPlay(rate, frames);
        midiEvents.ensureSize(reservedMidiBytes);
        midiEvents.clear();
        sliceEvents.ensureSize(reservedMidiBytes);
        sliceOutput.ensureSize(reservedMidiBytes);
        outgoingEvents.ensureSize(reservedOutgoingEvents);
    }
    setInitialDelay(processor->getLatencySamples());
    wantEvents(1);
}

void JuceVSTWrapper::suspend()
{
    const juce::ScopedLock lock(processor->getCallbackLock());
    processor->releaseResources();
    outgoingEvents.freeEvents();
    channels.release();
    isProcessing = false;
}

void JuceVSTWrapper::processReplacing(float** inputs, float** outputs, VstInt32 frames)
{
    if (frames <= 0)
        return;
    if (firstProcessCallback.load() || !isProcessing.load())
    {
        // A host that processes without resuming first is resumed here.
        if (!isProcessing.load())
            resume();
        firstProcessCallback = false;
        processor->setNonRealtime(getCurrentProcessLevel() == kVstProcessLevelOffline);
    }

    {
        const juce::ScopedLock lock(processor->getCallbackLock());
        if (processor->isSuspended())
            channels.clearHostOutputs(outputs, frames);
        else
            renderBlock(inputs, outputs, frames);
    }
    sendMidiToHost();
}

void JuceVSTWrapper::renderBlock(float** inputs, float** outputs, int frames)
{
    const int maxSlice = channels.getMaxFrames();
    if (frames <= maxSlice)
    {
        renderSlice(inputs, outputs, 0, frames, midiEvents);
        return;
    }
    // The host sent more frames than it announced: render in slices of the prepared size,
    // each with its own events, and gather what the processor sends back at block positions.
    sliceOutput.clear();
    for (int offset = 0; offset < frames; offset += maxSlice)
    {
        const int sliceFrames = std::min(maxSlice, frames - offset);
        const bool isLast = offset + sliceFrames >= frames;
        sliceEvents.clear();
        // Events past the block's end stay with the last slice, as they would with an unsliced block.
        sliceEvents.addEvents(midiEvents, offset, isLast ? -1 : sliceFrames, -offset);
        renderSlice(inputs, outputs, offset, sliceFrames, sliceEvents);
        sliceOutput.addEvents(sliceEvents, 0, -1, offset);
    }
    midiEvents.swapWith(sliceOutput);
}

void JuceVSTWrapper::renderSlice(float** inputs, float** outputs, int offset, int frames, juce::MidiBuffer& midi)
{
    auto buffer = channels.setUp(inputs, outputs, offset, frames);
    if (isBypassed.load())
    {
        channels.clearOutputsWithoutInput(buffer);
        processor->processBlockBypassed(buffer, midi);
    }
    else
    {
        processor->processBlock(buffer, midi);
    }
    if (outputs != nullptr)
        channels.copyBack(outputs, offset, frames);
}

// Host's audio thread, after the callback lock is released.
void JuceVSTWrapper::sendMidiToHost()
{
    if (midiEvents.isEmpty())
        return;
    outgoingEvents.ensureSize(midiEvents.getNumEvents());
    outgoingEvents.clear();
    for (const auto metadata : midiEvents)
        outgoingEvents.addEvent(metadata.data, metadata.numBytes, metadata.samplePosition);
    sendVstEventsToHost(outgoingEvents.getEvents());
    midiEvents.clear();
}

VstInt32 JuceVSTWrapper::processEvents(VstEvents* events)
{
    if (events == nullptr)
        return 1;
    const auto* pointers = eventPointers(*events);
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = pointers[i];
        if (event == nullptr)
            continue;
        const int position = std::max(0, static_cast<int>(event->deltaFrames));
        if (event->type == kVstMidiType)
        {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            midiEvents.addEvent(midi->midiData, 4, position);
        }
        else if (event->type == kVstSysExType)
        {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            if (sysex->sysexDump != nullptr && sysex->dumpBytes > 0)
                midiEvents.addEvent(sysex->sysexDump, sysex->dumpBytes, position);
        }
    }
    return 1;
}

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

VstInt32 JuceVSTWrapper::getChunk(void** data, bool isPreset)
{
    juce::MemoryBlock state;
    if (isPreset)
        processor->getCurrentProgramStateInformation(state);
    else
        processor->getStateInformation(state);
    return chunk.keep(std::move(state), juce::Time::getApproximateMillisecondCounter(), data);
}

VstInt32 JuceVSTWrapper::setChunk(void* data, VstInt32 byteSize, bool isPreset)
{
    // The host may hand back the very block it got from getChunk: read it before releasing it.
    chunk.readThenRelease([&] {
        if (data == nullptr || byteSize < 1)
            return;
        if (isPreset)
            processor->setCurrentProgramStateInformation(data, byteSize);
        else
            processor->setStateInformation(data, byteSize);
    });
    return 0;
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

void JuceVSTWrapper::audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value)
{
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    beginEdit(index);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) { endEdit(index); }

void JuceVSTWrapper::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&)
{
    setInitialDelay(processor->getLatencySamples());
    updateDisplay();
    triggerAsyncUpdate();
}

void JuceVSTWrapper::handleAsyncUpdate() { ioChanged(); }

juce::Optional<juce::AudioPlayHead::PositionInfo> JuceVSTWrapper::getPosition() const
{
    const auto answer = callHost(audioMasterGetTime, 0, kVstTimeInfoRequest);
    return positionFromTimeInfo(reinterpret_cast<const VstTimeInfo*>(answer));
}

void JuceVSTWrapper::timerCallback() { chunk.releaseIfOlderThan(juce::Time::getApproximateMillisecondCounter()); }
} // namespace host
