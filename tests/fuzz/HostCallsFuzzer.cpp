// libFuzzer target for the host's calls: the input is decoded into a sequence
// of dispatcher opcodes, MIDI and sysex events, parameter changes, transport
// answers and process calls, played on a fresh instance of the product module,
// loaded through VSTPluginMain as the command-line host loads it. Pointers are
// always what the opcode asks for (a host that lies about those crashes any
// plug-in); every number and every byte behind them is the fuzzer's. Checks:
// no crash, hang or leak; every rendered sample is finite; a chunk the module
// hands out reads back to the same chunk.
#include "tools/PluginInstance.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace vst;

namespace
{
clihost::PluginModule* module = nullptr;

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::vector<uint8_t> chunkFrom(FuzzedDataProvider& input)
{
    auto text = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 4096));
    if (!input.ConsumeBool())
        return text;
    // The state-blob frame around the bytes, so the XML behind it is reached.
    const uint32_t header[] = { 0x21324356u, static_cast<uint32_t>(text.size()) };
    std::vector<uint8_t> framed(sizeof header);
    std::memcpy(framed.data(), header, sizeof header);
    framed.insert(framed.end(), text.begin(), text.end());
    return framed;
}

void process(clihost::PluginInstance& instance, FuzzedDataProvider& input)
{
    const int frames = input.ConsumeIntegralInRange<int>(0, 20000);
    const auto* effect = instance.effect();
    std::vector<std::vector<float>> outputs(static_cast<size_t>(effect->numOutputs),
                                            std::vector<float>(static_cast<size_t>(frames), 0.0f));
    std::vector<float*> pointers;
    for (auto& channel : outputs)
        pointers.push_back(channel.data());
    instance.process(nullptr, pointers.data(), frames);
    for (const auto& channel : outputs)
        for (const float sample : channel)
            if (!std::isfinite(sample))
                fail("a rendered sample is not finite");
}

void sendEvents(clihost::PluginInstance& instance, FuzzedDataProvider& input)
{
    std::vector<clihost::MidiEventIn> events(input.ConsumeIntegralInRange<size_t>(0, 16));
    for (auto& event : events)
    {
        event.deltaFrames = input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(0, 600) : input.ConsumeIntegral<int>();
        event.bytes = input.ConsumeBytes<uint8_t>(input.ConsumeBool() ? 3 : input.ConsumeIntegralInRange<size_t>(1, 300));
        if (event.bytes.empty())
            event.bytes.push_back(0x90);
    }
    instance.sendEvents(events);
}

void setTransport(clihost::PluginInstance& instance, FuzzedDataProvider& input)
{
    auto& info = instance.timeInfo;
    info.samplePos = input.ConsumeFloatingPoint<double>();
    info.sampleRate = input.ConsumeFloatingPoint<double>();
    info.ppqPos = input.ConsumeBool() ? input.ConsumeFloatingPointInRange<double>(0.0, 1000.0) : input.ConsumeFloatingPoint<double>();
    info.tempo = input.ConsumeBool() ? input.ConsumeFloatingPointInRange<double>(20.0, 300.0) : input.ConsumeFloatingPoint<double>();
    info.barStartPos = input.ConsumeFloatingPoint<double>();
    info.cycleStartPos = input.ConsumeFloatingPoint<double>();
    info.cycleEndPos = input.ConsumeFloatingPoint<double>();
    info.timeSigNumerator = input.ConsumeIntegral<VstInt32>();
    info.timeSigDenominator = input.ConsumeIntegral<VstInt32>();
    info.flags = input.ConsumeIntegral<VstInt32>();
    instance.answerTimeInfo = input.ConsumeBool();
}

// An opcode with the kind of pointer it asks for, filled by the fuzzer.
void dispatchOther(clihost::PluginInstance& instance, FuzzedDataProvider& input)
{
    static constexpr VstInt32 opcodes[] = {
        effSetProgram, effGetProgram, effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
        effGetParamName, effEditGetRect, effEditIdle, effIdentify, effCanBeAutomated, effString2Parameter,
        effGetProgramNameIndexed, effGetInputProperties, effGetOutputProperties, effGetPlugCategory,
        effSetSpeakerArrangement, effSetBypass, effGetEffectName, effGetVendorString, effGetProductString,
        effGetVendorVersion, effVendorSpecific, effCanDo, effGetTailSize, effIdle, effGetParameterProperties,
        effGetVstVersion, effGetMidiProgramName, effGetCurrentMidiProgram, effGetMidiProgramCategory,
        effHasMidiProgramsChanged, effGetMidiKeyName, effBeginSetProgram, effEndSetProgram, effGetSpeakerArrangement,
        effStartProcess, effStopProcess, effSetTotalSampleToProcess, effSetPanLaw, effBeginLoadBank,
        effBeginLoadProgram, effSetProcessPrecision, effGetNumMidiInputChannels, effGetNumMidiOutputChannels,
        3000, -7,
    };
    const VstInt32 opcode = input.PickValueInArray(opcodes);
    const auto index = input.ConsumeIntegral<VstInt32>();
    VstIntPtr value = input.ConsumeIntegral<VstInt32>();
    const float opt = input.ConsumeFloatingPoint<float>();

    alignas(16) std::array<char, 4096> buffer {};
    alignas(16) std::array<char, 4096> second {};
    const auto text = input.ConsumeRandomLengthString(200);
    std::memcpy(buffer.data(), text.data(), text.size()); // NUL-terminated by the zeroed rest
    void* ptr = buffer.data();

    if (opcode == effSetSpeakerArrangement)
    {
        // Both are arrangements with at most the eight speakers the record holds.
        for (auto* arrangement : { reinterpret_cast<VstSpeakerArrangement*>(buffer.data()),
                                   reinterpret_cast<VstSpeakerArrangement*>(second.data()) })
            arrangement->numChannels = input.ConsumeIntegralInRange<VstInt32>(-1, 8);
        value = reinterpret_cast<VstIntPtr>(second.data());
    }
    else if (opcode == effGetSpeakerArrangement)
        value = reinterpret_cast<VstIntPtr>(second.data());
    instance.dispatch(opcode, index, value, ptr, opt);
}

void chunkRoundTrip(clihost::PluginInstance& instance, bool currentProgramOnly)
{
    const auto chunk = instance.getChunk(currentProgramOnly);
    instance.setChunk(chunk, currentProgramOnly);
    if (instance.getChunk(currentProgramOnly) != chunk)
        fail("a chunk the module handed out does not read back to itself");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The module keeps user settings: in a folder of this run.
    const auto folder = std::filesystem::temp_directory_path() / ("pulsetta-fuzz-host-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    std::string error;
    module = clihost::PluginModule::load(PULSETTA_PRODUCT_MODULE_PATH, error).release();
    if (module == nullptr)
        fail(error.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string error;
    auto instance = clihost::PluginInstance::create(*module, {}, error);
    if (instance == nullptr)
        fail(error.c_str());
    if (input.ConsumeBool())
        instance->resume(44100.0, 256);

    for (int call = 0; call < 64 && input.remaining_bytes() > 0; ++call)
    {
        switch (input.ConsumeIntegralInRange<int>(0, 11))
        {
        case 0: instance->dispatch(effSetSampleRate, 0, 0, nullptr, input.ConsumeFloatingPoint<float>()); break;
        case 1: instance->dispatch(effSetBlockSize, 0, input.ConsumeIntegral<VstInt32>()); break;
        case 2: instance->dispatch(effMainsChanged, 0, input.ConsumeBool() ? 1 : 0); break;
        case 3: sendEvents(*instance, input); break;
        case 4: process(*instance, input); break;
        case 5: instance->setParameter(input.ConsumeIntegralInRange<int>(-2, 200), input.ConsumeFloatingPoint<float>()); break;
        case 6: instance->getParameter(input.ConsumeIntegralInRange<int>(-2, 200)); break;
        case 7: setTransport(*instance, input); break;
        case 8: instance->setChunk(chunkFrom(input), input.ConsumeBool()); break;
        case 9: chunkRoundTrip(*instance, input.ConsumeBool()); break;
        case 10: dispatchOther(*instance, input); break;
        default: instance->idle(); break;
        }
    }
    instance->close();
    return 0;
}
