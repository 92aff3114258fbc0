#include "tools/playpattern/MainJob.h"

#include "framework/core/XmlTags.h"
#include "framework/processor/StateChunk.h"
#include "tools/Player.h"
#include "tools/PluginModule.h"
#include "tools/WavFile.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace mainjob
{
namespace
{
constexpr int bankNotes[4] = { 33, 35, 36, 38 };
constexpr int slotNotes[slotsPerBank] = { 12, 14, 16, 17, 19, 21, 23, 24, 26, 28, 29, 31 };
constexpr long long preRollFrames = 2048; // selection notes go here, before the transport starts

// Every voice on the output of its own number (bass drum 1 .. ride 11), set
// through the state chunk, as a host restores a saved song.
bool routeEachVoiceToItsOwnOutput (clihost::PluginInstance& instance, std::string& error)
{
    const auto chunk = instance.getChunk();
    auto state = statechunk::read (chunk.data(), (int) chunk.size());
    if (state == nullptr)
    {
        error = "the plug-in's state chunk cannot be read";
        return false;
    }
    bool routed = false;
    for (auto* section : state->getChildIterator())
        if (tagIs (section, "AudioOutputSettings"))
            if (auto* assignments = findChildWithTag (section, "OutAssignations"))
                for (int voice = 0; voice < numVoices; ++voice)
                    if (auto* entry = findChildWithTag (assignments, instruments::getShortCode (voice)))
                    {
                        entry->setAttribute ("out", voice + 1);
                        routed = true;
                    }
    if (! routed)
    {
        error = "the plug-in's state has no output assignments";
        return false;
    }
    juce::MemoryBlock block;
    statechunk::write (*state, block);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    instance.setChunk (std::vector<uint8_t> (bytes, bytes + block.getSize()));
    return true;
}

clihost::ScriptEvent midiEvent (long long frame, std::vector<uint8_t> bytes)
{
    clihost::ScriptEvent event;
    event.frame = frame;
    event.kind = clihost::ScriptEvent::Kind::midi;
    event.bytes = std::move (bytes);
    return event;
}

clihost::ScriptEvent transportEvent (long long frame, clihost::ScriptEvent::Kind kind, double value = 0.0)
{
    clihost::ScriptEvent event;
    event.frame = frame;
    event.kind = kind;
    event.value = value;
    return event;
}

// The pattern is picked the way a player picks it: a bank note (twice for
// banks 5 to 8) and a pattern key, while the sequencer waits.
clihost::Script makeScript (const JobSettings& settings, const FactoryPattern& pattern, long long playFrames)
{
    clihost::Script script;
    long long frame = 0;
    auto press = [&] (int key) {
        script.events.push_back (midiEvent (frame, { 0x90, (uint8_t) key, 100 }));
        script.events.push_back (midiEvent (frame + 16, { 0x80, (uint8_t) key, 0 }));
        frame += 256;
    };
    // A bank note gives its bank, or the upper one when its bank is already
    // pending: another bank first makes the outcome certain.
    const int lowerBank = (settings.bank - 1) % 4;
    press (bankNotes[(lowerBank + 1) % 4]);
    press (bankNotes[lowerBank]);
    if (settings.bank > 4)
        press (bankNotes[lowerBank]);
    press (slotNotes[settings.pattern - 1]);

    script.events.push_back (transportEvent (preRollFrames, clihost::ScriptEvent::Kind::tempo, pattern.tempo));
    script.events.push_back (transportEvent (preRollFrames, clihost::ScriptEvent::Kind::position, 0.0));
    script.events.push_back (transportEvent (preRollFrames, clihost::ScriptEvent::Kind::play));
    script.events.push_back (transportEvent (preRollFrames + playFrames, clihost::ScriptEvent::Kind::stop));
    script.lengthFrames = preRollFrames + playFrames + (long long) (settings.tailSeconds * settings.sampleRate);
    return script;
}

std::string twoDigits (int n)
{
    return (n < 10 ? "0" : "") + std::to_string (n);
}
} // namespace

const char* voiceCode (int voice) noexcept
{
    return voice >= 0 && voice < numVoices ? instruments::getShortCode (voice) : "";
}

bool run (const JobSettings& settings, JobResult& result, std::string& error)
{
    if (! readFactoryPattern (settings.bank, settings.pattern, result.pattern, error))
        return false;

    auto module = clihost::PluginModule::load (settings.modulePath, error);
    if (module == nullptr)
        return false;
    clihost::HostSettings hostSettings;
    hostSettings.sampleRate = settings.sampleRate;
    hostSettings.blockSize = settings.blockSize;
    auto instance = clihost::PluginInstance::create (*module, hostSettings, error);
    if (instance == nullptr)
        return false;
    instance->resume (settings.sampleRate, settings.blockSize);
    if (! routeEachVoiceToItsOwnOutput (*instance, error))
        return false;

    result.playFrames = (long long) std::llround (settings.bars * 4 * 60.0 * settings.sampleRate / result.pattern.tempo);
    const auto script = makeScript (settings, result.pattern, result.playFrames);
    clihost::PlaySettings play;
    play.sampleRate = settings.sampleRate;
    play.blockSize = settings.blockSize;
    play.lengthFrames = script.lengthFrames;
    play.resume = false;
    auto rendering = clihost::play (*instance, script, play);
    instance->close();

    // From the transport's start on.
    result.outputs.clear();
    for (auto& channel : rendering.outputs)
        result.outputs.emplace_back (channel.begin() + std::min<long long> (preRollFrames, (long long) channel.size()), channel.end());
    const size_t frames = result.outputs.empty() ? 0 : result.outputs.front().size();
    result.mixLeft.assign (frames, 0.0f);
    result.mixRight.assign (frames, 0.0f);
    const bool stereo = result.outputs.size() >= 2 * numVoices;
    for (size_t c = 0; c < result.outputs.size(); ++c)
        for (size_t i = 0; i < frames; ++i)
        {
            const float x = result.outputs[c][i];
            if (! stereo || c % 2 == 0)
                result.mixLeft[i] += x;
            if (! stereo || c % 2 == 1)
                result.mixRight[i] += x;
        }

    if (settings.outputFolder.empty())
        return true;

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (settings.outputFolder));
    if (! folder.createDirectory())
    {
        error = "cannot make the folder " + folder.getFullPathName().toStdString();
        return false;
    }
    const auto base = "bank" + std::to_string (settings.bank) + "-pattern" + twoDigits (settings.pattern);
    auto write = [&] (const std::string& name, const std::vector<std::vector<float>>& channels) {
        const auto path = folder.getChildFile (name).getFullPathName().toStdString();
        if (! clihost::writeWav (path, channels, settings.sampleRate))
        {
            error = "cannot write " + path;
            return false;
        }
        result.files.push_back (path);
        return true;
    };
    if (! write (base + "-mix.wav", { result.mixLeft, result.mixRight }))
        return false;
    for (int voice = 0; voice < numVoices; ++voice)
    {
        std::vector<std::vector<float>> channels;
        if (stereo)
            channels = { result.outputs[(size_t) (2 * voice)], result.outputs[(size_t) (2 * voice + 1)] };
        else if ((size_t) voice < result.outputs.size())
            channels = { result.outputs[(size_t) voice] };
        if (! channels.empty()
            && ! write (base + "-output" + twoDigits (voice + 1) + "-" + voiceCode (voice) + ".wav", channels))
            return false;
    }
    return true;
}
} // namespace mainjob
