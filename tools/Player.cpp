#include "tools/Player.h"

#include "tools/Transport.h"

#include <algorithm>

namespace clihost
{
namespace
{
using Kind = ScriptEvent::Kind;

void apply(const ScriptEvent& event, Transport& transport, PluginInstance& instance)
{
    switch (event.kind)
    {
    case Kind::tempo:
    case Kind::tempoInBlock: transport.setTempo(event.value); break; // at the block's start: reported by it
    case Kind::play: transport.play(); break;
    case Kind::stop: transport.stop(); break;
    case Kind::position: transport.locate(event.value); break;
    case Kind::timeSignature: transport.setTimeSignature(event.first, event.second); break;
    case Kind::parameter: instance.setParameter(event.first, static_cast<float>(event.value)); break;
    case Kind::reportRounding: transport.setReportRounding(event.value); break;
    case Kind::reportTempoJitter: transport.setReportTempoJitter(event.value); break;
    case Kind::reportSamplePosition: transport.holdReportedSamplePosition(event.first != 0); break;
    case Kind::midi: break;
    }
}

MidiEventView viewOf(const ScriptEvent& event, int deltaFrames)
{
    return { deltaFrames, static_cast<uint32_t>(event.bytes.size()), event.bytes.data() };
}
} // namespace

int64_t renderLength(const Script& script, const PlaySettings& settings)
{
    if (settings.lengthFrames > 0)
        return settings.lengthFrames;
    if (script.lengthFrames > 0)
        return script.lengthFrames;
    return (script.events.empty() ? 0 : script.events.back().frame) + settings.blockSize;
}

bool play(PluginInstance& instance, const Script& script, const PlaySettings& settings,
          const std::function<bool(RenderedBlock&)>& onBlock)
{
    const vst::AEffect* effect = instance.effect();
    if (effect == nullptr || settings.blockSize <= 0)
        return true;
    if (settings.resume)
        instance.resume(settings.sampleRate, settings.blockSize);

    const auto blockSize = static_cast<size_t>(settings.blockSize);
    std::vector<std::vector<float>> outputs(static_cast<size_t>(std::max(0, effect->numOutputs)),
                                            std::vector<float>(blockSize));
    std::vector<std::vector<float>> inputs(static_cast<size_t>(std::max(0, effect->numInputs)),
                                           std::vector<float>(blockSize, 0.0f));
    std::vector<float*> inputPointers, outputPointers;
    for (auto& input : inputs)
        inputPointers.push_back(input.data());
    for (auto& output : outputs)
        outputPointers.push_back(output.data());

    const int64_t length = renderLength(script, settings);
    const size_t earlierMidi = instance.sentMidi.size(); // what was sent before the play stays
    Transport transport(settings.sampleRate);
    std::vector<MidiEventView> midi;
    std::vector<Transport::TempoChange> tempoWithin;
    size_t next = 0; // next script event
    for (int64_t position = 0; position < length;)
    {
        // Changes due now take effect before the block; MIDI and tempo changes inside blocks go with it.
        midi.clear();
        tempoWithin.clear();
        int64_t end = std::min(length, position + settings.blockSize);
        for (; next < script.events.size() && script.events[next].frame <= position; ++next)
            if (script.events[next].kind != Kind::midi)
                apply(script.events[next], transport, instance);
            else if (script.events[next].frame == position)
                midi.push_back(viewOf(script.events[next], 0));
        for (size_t i = next; i < script.events.size() && script.events[i].frame < end; ++i)
        {
            if (script.events[i].kind != Kind::midi && script.events[i].kind != Kind::tempoInBlock)
            {
                end = script.events[i].frame;
                break;
            }
        }
        for (; next < script.events.size() && script.events[next].frame < end; ++next)
        {
            const auto& event = script.events[next];
            if (event.kind == Kind::tempoInBlock)
                tempoWithin.push_back({ event.frame - position, event.value });
            else
                midi.push_back(viewOf(event, static_cast<int>(event.frame - position)));
        }

        // A plug-in that leaves an output alone leaves it silent, block after block.
        const int frames = static_cast<int>(end - position);
        for (auto& output : outputs)
            std::fill(output.begin(), output.begin() + frames, 0.0f);
        instance.timeInfo = transport.timeInfo();
        if (!midi.empty())
            instance.sendEvents(midi);
        instance.process(inputPointers.data(), outputPointers.data(), frames, position);
        transport.advance(frames, tempoWithin);
        if (settings.idleBetweenBlocks)
            instance.idle();
        RenderedBlock block { position, frames, outputPointers, instance.takeSentMidi(earlierMidi) };
        if (!onBlock(block))
            return false;
        position = end;
    }
    return true;
}

Rendering play(PluginInstance& instance, const Script& script, const PlaySettings& settings)
{
    Rendering rendering;
    const auto* effect = instance.effect();
    if (effect == nullptr || settings.blockSize <= 0)
        return rendering;
    const auto length = static_cast<size_t>(renderLength(script, settings));
    rendering.outputs.assign(static_cast<size_t>(std::max(0, effect->numOutputs)), {});
    for (auto& output : rendering.outputs)
        output.reserve(length);
    play(instance, script, settings, [&](RenderedBlock& block) {
        for (size_t i = 0; i < rendering.outputs.size(); ++i)
            rendering.outputs[i].insert(rendering.outputs[i].end(), block.outputs[i], block.outputs[i] + block.frames);
        rendering.midi.insert(rendering.midi.end(), block.midi.begin(), block.midi.end());
        return true;
    });
    instance.sentMidi.insert(instance.sentMidi.end(), rendering.midi.begin(), rendering.midi.end());
    return rendering;
}
} // namespace clihost
