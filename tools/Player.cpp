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
    case Kind::midi: break;
    }
}

int64_t lengthOf(const Script& script, const PlaySettings& settings)
{
    if (settings.lengthFrames > 0)
        return settings.lengthFrames;
    if (script.lengthFrames > 0)
        return script.lengthFrames;
    return (script.events.empty() ? 0 : script.events.back().frame) + settings.blockSize;
}
} // namespace

Rendering play(PluginInstance& instance, const Script& script, const PlaySettings& settings)
{
    const vst::AEffect* effect = instance.effect();
    Rendering rendering;
    if (effect == nullptr || settings.blockSize <= 0)
        return rendering;
    if (settings.resume)
        instance.resume(settings.sampleRate, settings.blockSize);

    const int64_t length = lengthOf(script, settings);
    rendering.outputs.assign(static_cast<size_t>(std::max(0, effect->numOutputs)),
                             std::vector<float>(static_cast<size_t>(length), 0.0f));
    std::vector<std::vector<float>> inputs(static_cast<size_t>(std::max(0, effect->numInputs)),
                                           std::vector<float>(static_cast<size_t>(settings.blockSize), 0.0f));
    std::vector<float*> inputPointers, outputPointers(rendering.outputs.size());
    for (auto& input : inputs)
        inputPointers.push_back(input.data());

    Transport transport(settings.sampleRate);
    const size_t firstSent = instance.sentMidi.size();
    size_t next = 0; // next script event
    for (int64_t position = 0; position < length;)
    {
        // Changes due now take effect before the block; MIDI and tempo changes inside blocks go with it.
        std::vector<MidiEventIn> midi;
        std::vector<Transport::TempoChange> tempoWithin;
        int64_t end = std::min(length, position + settings.blockSize);
        for (; next < script.events.size() && script.events[next].frame <= position; ++next)
            if (script.events[next].kind != Kind::midi)
                apply(script.events[next], transport, instance);
            else if (script.events[next].frame == position)
                midi.push_back({ 0, script.events[next].bytes });
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
                midi.push_back({ static_cast<int>(event.frame - position), event.bytes });
        }

        const int frames = static_cast<int>(end - position);
        for (size_t i = 0; i < outputPointers.size(); ++i)
            outputPointers[i] = rendering.outputs[i].data() + position;
        instance.timeInfo = transport.timeInfo();
        if (!midi.empty())
            instance.sendEvents(midi);
        instance.process(inputPointers.data(), outputPointers.data(), frames, position);
        transport.advance(frames, tempoWithin);
        if (settings.idleBetweenBlocks)
            instance.idle();
        position = end;
    }
    rendering.midi.assign(instance.sentMidi.begin() + static_cast<std::ptrdiff_t>(firstSent), instance.sentMidi.end());
    return rendering;
}
} // namespace clihost
