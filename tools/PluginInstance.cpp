#include "tools/PluginInstance.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace clihost
{
using namespace vst;

namespace
{
thread_local PluginInstance* instanceBeingCreated = nullptr;
} // namespace

std::unique_ptr<PluginInstance> PluginInstance::create(const PluginModule& module, const HostSettings& settings,
                                                       std::string& error)
{
    std::unique_ptr<PluginInstance> instance(new PluginInstance(settings));
    instanceBeingCreated = instance.get();
    AEffect* effect = module.entry()(hostCallback);
    instanceBeingCreated = nullptr;
    if (effect == nullptr)
    {
        error = "the plug-in gave no record";
        return nullptr;
    }
    if (effect->magic != kEffectMagic)
    {
        error = "the plug-in's record has a wrong magic";
        return nullptr;
    }
    instance->record = effect;
    effect->resvd1 = reinterpret_cast<VstIntPtr>(instance.get());
    instance->dispatch(effOpen);
    return instance;
}

PluginInstance::~PluginInstance()
{
    if (record != nullptr)
        close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (record == nullptr)
        return 0;
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::close()
{
    if (record == nullptr)
        return 0;
    AEffect* closing = record;
    record = nullptr;
    return closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
}

void PluginInstance::resume(double sampleRate, int blockSize)
{
    hostSettings.sampleRate = sampleRate;
    hostSettings.blockSize = blockSize;
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void PluginInstance::suspend() { dispatch(effMainsChanged, 0, 0); }
void PluginInstance::idle() { dispatch(effEditIdle); }

void PluginInstance::setParameter(int index, float value)
{
    if (record != nullptr)
        record->setParameter(record, index, value);
}

float PluginInstance::getParameter(int index)
{
    return record != nullptr ? record->getParameter(record, index) : 0.0f;
}

std::string PluginInstance::parameterText(VstInt32 opcode, int index)
{
    char text[256] = {};
    dispatch(opcode, index, 0, text);
    return std::string(text, strnlen(text, sizeof text));
}

std::string PluginInstance::productText(VstInt32 opcode)
{
    char text[256] = {};
    dispatch(opcode, 0, 0, text);
    return std::string(text, strnlen(text, sizeof text));
}

void PluginInstance::sendEvents(const std::vector<MidiEventIn>& events)
{
    std::vector<MidiEventView> views;
    views.reserve(events.size());
    for (const auto& event : events)
        views.push_back({ event.deltaFrames, static_cast<uint32_t>(event.bytes.size()), event.bytes.data() });
    sendEvents(views);
}

void PluginInstance::sendEvents(const std::vector<MidiEventView>& events)
{
    // The records live until the next call: the plug-in may read them up to the end of the next block.
    size_t sysexCount = 0, sysexBytes = 0;
    for (const auto& event : events)
        if (event.size > 4)
        {
            ++sysexCount;
            sysexBytes += event.size;
        }
    midiRecords.assign(events.size() - sysexCount, VstMidiEvent {});
    sysexRecords.assign(sysexCount, VstMidiSysexEvent {});
    sysexData.resize(sysexBytes);
    eventBlock.assign(offsetof(VstEvents, events) + (events.size() + 2) * sizeof(VstEvent*), 0);
    auto* list = reinterpret_cast<VstEvents*>(eventBlock.data());
    auto** pointers = eventPointers(*list);
    auto midi = midiRecords.begin();
    auto sysex = sysexRecords.begin();
    char* dump = sysexData.data();
    for (size_t i = 0; i < events.size(); ++i)
    {
        const auto& event = events[i];
        if (event.size <= 4)
        {
            midi->type = kVstMidiType;
            midi->byteSize = sizeof(VstMidiEvent);
            midi->deltaFrames = event.deltaFrames;
            std::memcpy(midi->midiData, event.bytes, event.size);
            pointers[i] = reinterpret_cast<VstEvent*>(&*midi++);
        }
        else
        {
            std::memcpy(dump, event.bytes, event.size);
            sysex->type = kVstSysExType;
            sysex->byteSize = sizeof(VstMidiSysexEvent);
            sysex->deltaFrames = event.deltaFrames;
            sysex->dumpBytes = static_cast<VstInt32>(event.size);
            sysex->sysexDump = dump;
            dump += event.size;
            pointers[i] = reinterpret_cast<VstEvent*>(&*sysex++);
        }
    }
    list->numEvents = static_cast<VstInt32>(events.size());
    dispatch(effProcessEvents, 0, 0, list);
}

void PluginInstance::process(float** inputs, float** outputs, int frames, int64_t blockStart)
{
    if (record == nullptr)
        return;
    currentBlockStart = blockStart;
    record->processReplacing(record, inputs, outputs, frames);
}

std::vector<uint8_t> PluginInstance::getChunk(bool currentProgramOnly)
{
    void* data = nullptr;
    const auto size = dispatch(effGetChunk, currentProgramOnly ? 1 : 0, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr PluginInstance::setChunk(const std::vector<uint8_t>& data, bool currentProgramOnly)
{
    return dispatch(effSetChunk, currentProgramOnly ? 1 : 0, static_cast<VstIntPtr>(data.size()),
                    const_cast<uint8_t*>(data.data()));
}

std::vector<SentMidi> PluginInstance::takeSentMidi(size_t from)
{
    const std::lock_guard<std::mutex> lock(reportsGuard);
    from = std::min(from, sentMidi.size());
    const auto first = sentMidi.begin() + static_cast<std::ptrdiff_t>(from);
    std::vector<SentMidi> taken(std::make_move_iterator(first), std::make_move_iterator(sentMidi.end()));
    sentMidi.erase(first, sentMidi.end());
    return taken;
}

VstIntPtr PluginInstance::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                       float opt)
{
    PluginInstance* instance = nullptr;
    if (effect != nullptr && effect->resvd1 != 0)
        instance = reinterpret_cast<PluginInstance*>(effect->resvd1);
    else
        instance = instanceBeingCreated;
    if (instance == nullptr)
        return opcode == audioMasterVersion ? kVstVersion : 0;
    return instance->answer(opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::answer(VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float opt)
{
    const std::lock_guard<std::mutex> lock(reportsGuard);
    ++hostCalls[opcode];
    switch (opcode)
    {
    case audioMasterVersion: return hostSettings.version;
    case audioMasterGetTime: return answerTimeInfo ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
    case audioMasterGetSampleRate: // whole hertz, whatever rate a test sets
        return hostSettings.sampleRate > 0.0 ? static_cast<VstIntPtr>(std::min(hostSettings.sampleRate, 2147483647.0)) : 0;
    case audioMasterGetBlockSize: return hostSettings.blockSize;
    case audioMasterGetCurrentProcessLevel: return hostSettings.processLevel;
    case audioMasterWantMidi: return 1;
    case audioMasterCanDo:
        return ptr != nullptr && hostSettings.canDo.count(static_cast<const char*>(ptr)) != 0 ? 1 : 0;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit: parameterReports.push_back({ opcode, index, opt, std::this_thread::get_id() }); return 1;
    case audioMasterProcessEvents:
    {
        const auto* list = static_cast<const VstEvents*>(ptr);
        if (list == nullptr)
            return 0;
        const auto* pointers = eventPointers(*list);
        for (VstInt32 i = 0; i < list->numEvents; ++i)
        {
            const VstEvent* event = pointers[i];
            if (event == nullptr)
                continue;
            SentMidi sent;
            sent.deltaFrames = event->deltaFrames;
            sent.frame = currentBlockStart + event->deltaFrames;
            sent.type = event->type;
            sent.byteSize = event->byteSize;
            if (event->type == kVstMidiType)
            {
                const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
                sent.bytes.assign(midi->midiData, midi->midiData + 4);
            }
            else if (event->type == kVstSysExType)
            {
                const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
                if (sysex->sysexDump != nullptr && sysex->dumpBytes > 0)
                    sent.bytes.assign(sysex->sysexDump, sysex->sysexDump + sysex->dumpBytes);
            }
            sentMidi.push_back(std::move(sent));
        }
        return 1;
    }
    default: return 0;
    }
}
} // namespace clihost
