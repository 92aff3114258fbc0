#include "host/JuceVSTWrapper.h"

#include "host/HostPlayHead.h"
#include "host/MessagePump.h"
#include "host/PluginIdentity.h"

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
