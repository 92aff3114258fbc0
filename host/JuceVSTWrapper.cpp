#include "host/JuceVSTWrapper.h"

#include "host/EditorCompWrapper.h"
#include "host/HostPlayHead.h"
#include "host/MessageThread.h"
#include "host/PluginIdentity.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host
{
using namespace vst;
using vst::AEffect; // JUCE declares a global AEffect of its own

namespace
{
constexpr double fallbackSampleRate = 44100.0; // Hz, when the host gives none
// Frames the buffers are made for, whatever block size the host announces: a longer block is rendered
// in slices of this size, and a wild announcement cannot make the module allocate gigabytes.
constexpr int maxPreparedFrames = 8192;

// Rates a host may announce are held within what the voices' per-sample counters can take.
constexpr double lowestSampleRate = 1000.0;    // Hz
constexpr double highestSampleRate = 768000.0; // Hz

double usableRate(double rate)
{
    return rate > 0.0 && std::isfinite(rate) ? std::clamp(rate, lowestSampleRate, highestSampleRate) : fallbackSampleRate;
}
int usableFrames(VstInt32 frames) { return std::clamp(static_cast<int>(frames), 1, maxPreparedFrames); }

// The opcodes that may read or change what the editor reads or changes on the message thread: the editor
// and idle calls themselves, state, programs, parameter texts, preparation, pins and key names. The rest
// (effProcessEvents above all, which comes on the audio thread) never enter the host call gate.
bool reachesTheEditorsSide(VstInt32 opcode)
{
    switch (opcode)
    {
    case effOpen:
    case effClose:
    case effSetProgram:
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effSetSampleRate:
    case effSetBlockSize:
    case effMainsChanged:
    case effEditGetRect:
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
    case effIdle:
    case effGetChunk:
    case effSetChunk:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effSetSpeakerArrangement:
    case effGetMidiKeyName: return true;
    default: return false;
    }
}
} // namespace

// The last instance's library shuts JUCE down, message manager included: the mark of where the message
// thread was moved goes with it.
JuceLibraryInUse::~JuceLibraryInUse()
{
    library.reset();
    messagethread::forgetMove();
}

JuceVSTWrapper::JuceVSTWrapper(audioMasterCallback host, std::unique_ptr<HostedProcessor> owned)
    : AudioEffectX(host, owned->getNumPrograms(), owned->getNumParameters()), processor(std::move(owned))
{
    numInputPins = processor->getNumHostInputChannels();
    numOutputPins = processor->getNumHostOutputChannels();
    processor->setPlayConfigDetails(numInputPins, numOutputPins, 0.0, 0);
    processor->setPlayHead(this);
    processor->setHostReporter(this);
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

// Host's UI thread, from effClose: the editor's side is torn down as the message thread, inside the gate.
JuceVSTWrapper::~JuceVSTWrapper()
{
    teardown.emplace();
    hasShutDown = true;
    stopTimer();
    deleteEditor(false);
    cancelPendingUpdate();
    processor->removeListener(this);
    processor->setHostReporter(nullptr);
    processor->setPlayHead(nullptr);
    processor.reset();
}

VstIntPtr JuceVSTWrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (hasShutDown)
        return 0;
    if (!reachesTheEditorsSide(opcode))
        return dispatchOpcode(opcode, index, value, ptr, opt);
    const HostCallScope scope;
    return dispatchOpcode(opcode, index, value, ptr, opt);
}

VstIntPtr JuceVSTWrapper::dispatchOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode)
    {
    case effEditGetRect:
    case effEditOpen:
    case effEditClose: return dispatchEditorOpcode(opcode, ptr);
    default: return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    }
}

void JuceVSTWrapper::open()
{
    setEditorFlag(processor->hasEditor());
    isOpen = true;
    updateSampleRate();
    updateBlockSize();
    prepareBeforeFirstResume();
}

void JuceVSTWrapper::setSampleRate(float rate)
{
    AudioEffectX::setSampleRate(rate);
    prepareBeforeFirstResume();
}

void JuceVSTWrapper::setBlockSize(VstInt32 frames)
{
    AudioEffectX::setBlockSize(frames);
    prepareBeforeFirstResume();
}

void JuceVSTWrapper::applyPlayConfiguration(double rate, int frames)
{
    processor->setPlayConfigDetails(numInputPins, numOutputPins, rate, frames);
}

// Host's UI thread: a host that processes without ever resuming is served from this preparation.
// Once the host has resumed or suspended, a block after a suspend stays silent until it resumes.
void JuceVSTWrapper::prepareBeforeFirstResume()
{
    if (!isOpen || hostDrivesPreparation)
        return;
    const double rate = usableRate(getSampleRate());
    const int frames = usableFrames(getBlockSize());
    if (channels.getMaxFrames() > 0 && rate == preparedRate && frames == preparedFrames)
        return;
    prepare(rate, frames);
}

// Host's UI thread: everything the audio thread will use is allocated here.
void JuceVSTWrapper::prepare(double rate, int frames)
{
    processor->setNonRealtime(getCurrentProcessLevel() == kVstProcessLevelOffline);
    {
        // A host that still processes while it resumes must not see the buffers change under it.
        const juce::ScopedLock lock(processor->getCallbackLock());
        firstProcessCallback = true;
        applyPlayConfiguration(rate, frames);
        channels.prepare(numInputPins, numOutputPins, frames);
        processor->prepareToPlay(rate, frames);
        for (auto* buffer : { &midiEvents, &sliceEvents, &sliceOutput })
        {
            buffer->ensureSize(static_cast<size_t>(midiBufferRoomBytes));
            buffer->clear();
        }
        eventsThisBlock = 0;
        outgoingEvents.reserve(maxMidiEventsPerBlock, sysexBytesPerBlock);
        preparedRate = rate;
        preparedFrames = frames;
    }
    setInitialDelay(processor->getLatencySamples());
}

void JuceVSTWrapper::resume()
{
    const double rate = usableRate(updateSampleRate());
    const int frames = usableFrames(updateBlockSize());
    prepare(rate, frames);
    hostDrivesPreparation = true;
    isResumed = true;
    wantEvents(1);
}

void JuceVSTWrapper::suspend()
{
    hostDrivesPreparation = true;
    isResumed = false;
    const juce::ScopedLock lock(processor->getCallbackLock());
    processor->releaseResources();
    // The MIDI buffers and the outgoing list keep their room: the host may still be reading the last
    // block's outgoing events, and the next resume needs the same room again.
    midiEvents.clear();
    eventsThisBlock = 0;
    channels.release();
}

void JuceVSTWrapper::processReplacing(float** inputs, float** outputs, VstInt32 frames)
{
    sendHandedOverNotifications();
    if (frames <= 0)
        return;
    if (firstProcessCallback.exchange(false))
        processor->setNonRealtime(getCurrentProcessLevel() == kVstProcessLevelOffline);

    {
        const juce::ScopedLock lock(processor->getCallbackLock());
        if (channels.getMaxFrames() < 1)
        {
            // Suspended, or never prepared: silence, and the host's events go nowhere.
            clearHostOutputs(outputs, frames);
            midiEvents.clear();
            eventsThisBlock = 0;
            outgoingEvents.clear();
            return;
        }
        if (processor->isSuspended())
            clearHostOutputs(outputs, frames);
        else
            renderBlock(inputs, outputs, frames);
        collectMidiForHost();
    }
    // Sent after the lock is released; a suspend or resume meanwhile leaves the list as it is.
    if (outgoingEvents.getNumEvents() > 0)
        sendVstEventsToHost(outgoingEvents.getEvents());
}

void JuceVSTWrapper::clearHostOutputs(float** outputs, int frames) const noexcept
{
    if (outputs == nullptr)
        return;
    for (int i = 0; i < numOutputPins; ++i)
        if (outputs[i] != nullptr)
            std::memset(outputs[i], 0, static_cast<size_t>(frames) * sizeof(float));
}

void JuceVSTWrapper::renderBlock(float** inputs, float** outputs, int frames)
{
    const int maxSlice = channels.getMaxFrames();
    if (maxSlice < 1)
        return;
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
        addEventsWithinRoom(sliceEvents, midiBufferRoomBytes, midiEvents, offset, isLast ? -1 : sliceFrames, -offset);
        renderSlice(inputs, outputs, offset, sliceFrames, sliceEvents);
        addEventsWithinRoom(sliceOutput, midiBufferRoomBytes, sliceEvents, 0, -1, offset);
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

// Host's audio thread, under the callback lock: what the processor left becomes the outgoing list,
// as far as its reserved records and sysex room go; the rest is dropped.
void JuceVSTWrapper::collectMidiForHost()
{
    outgoingEvents.clear();
    for (const auto metadata : midiEvents)
        outgoingEvents.addEvent(metadata.data, metadata.numBytes, metadata.samplePosition);
    midiEvents.clear();
    eventsThisBlock = 0;
}

// Host's audio thread. Events beyond one block's room (maxMidiEventsPerBlock events, sysexBytesPerBlock
// of sysex data) and sysex longer than maxSysexBytes are dropped; the first ones that fit are kept.
VstInt32 JuceVSTWrapper::processEvents(VstEvents* events)
{
    if (events == nullptr)
        return 1;
    const juce::ScopedLock lock(processor->getCallbackLock());
    if (channels.getMaxFrames() < 1)
        return 1; // suspended: nothing to deliver them to
    const auto* pointers = eventPointers(*events);
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = pointers[i];
        if (event == nullptr)
            continue;
        if (eventsThisBlock >= maxMidiEventsPerBlock)
            break;
        const int position = std::max(0, static_cast<int>(event->deltaFrames));
        if (event->type == kVstMidiType)
        {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            if (addWithinRoom(midiEvents, midiInRoomBytes, midi->midiData, 4, position))
                ++eventsThisBlock;
        }
        else if (event->type == kVstSysExType)
        {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            const auto* dump = reinterpret_cast<const unsigned char*>(sysex->sysexDump);
            if (const int length = storedSysexLength(dump, sysex->dumpBytes); length > 0)
                if (addWithinRoom(midiEvents, midiInRoomBytes, dump, length, position))
                    ++eventsThisBlock;
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

void JuceVSTWrapper::reportParameterChange(int index, float normalisedValue)
{
    notifyHost(audioMasterAutomate, index, normalisedValue);
}

void JuceVSTWrapper::reportGestureBegin(int index) { notifyHost(audioMasterBeginEdit, index, 0.0f); }

void JuceVSTWrapper::reportGestureEnd(int index) { notifyHost(audioMasterEndEdit, index, 0.0f); }

void JuceVSTWrapper::notifyHost(VstInt32 opcode, VstInt32 index, float value)
{
    if (handsNotificationsToTheAudioThread() && notificationsForTheAudioThread.push({ opcode, index, value }))
        return;
    callHost(opcode, index, 0, nullptr, value);
}

// Only the message thread hands over (the audio thread reports straight away), only while it is not the
// thread that made the instance, and only while blocks will come to take them.
bool JuceVSTWrapper::handsNotificationsToTheAudioThread() const
{
    return isResumed.load() && messagethread::isCurrentThread() && juce::Thread::getCurrentThreadId() != instanceThread;
}

void JuceVSTWrapper::sendHandedOverNotifications()
{
    HostNotification notification;
    while (notificationsForTheAudioThread.pop(notification))
        callHost(notification.opcode, notification.index, 0, nullptr, notification.value);
}

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
} // namespace host
