// pulsetta-host: loads a VST 2.4 module, prints its record, and optionally
// plays a script through it into a WAV file.
#include "tools/ChunkFiles.h"
#include "tools/Player.h"
#include "tools/RecordPrinter.h"
#include "tools/WavFile.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <sstream>

namespace
{
const char* usage =
    "usage: pulsetta-host <module.so> [options]\n"
    "  --rate <Hz>           sample rate (44100)\n"
    "  --block <frames>      block size (512)\n"
    "  --script <file>       play this script (see tools/Script.h for its commands)\n"
    "  --length <seconds>    length of the rendering, at most 600 (default: the script's)\n"
    "  --wav <file>          write every output to this multichannel WAV\n"
    "  --load-chunk <file>   hand this state chunk to the plug-in before playing\n"
    "  --save-chunk <file>   save the plug-in's state chunk after playing\n"
    "  --quiet               do not print the record\n";

struct Options
{
    std::string module, script, wav, loadChunk, saveChunk;
    double rate = 44100.0;
    int block = 512;
    double lengthSeconds = 0.0;
    bool quiet = false;
};

bool readOptions(int argc, char** argv, Options& options)
{
    if (argc < 2)
        return false;
    options.module = argv[1];
    for (int i = 2; i < argc; ++i)
    {
        const std::string name = argv[i];
        if (name == "--quiet")
        {
            options.quiet = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        try
        {
            if (name == "--rate")
                options.rate = std::stod(value);
            else if (name == "--block")
                options.block = std::stoi(value);
            else if (name == "--length")
                options.lengthSeconds = std::stod(value);
            else if (name == "--script")
                options.script = value;
            else if (name == "--wav")
                options.wav = value;
            else if (name == "--load-chunk")
                options.loadChunk = value;
            else if (name == "--save-chunk")
                options.saveChunk = value;
            else
                return false;
        }
        catch (...)
        {
            return false;
        }
    }
    return options.rate >= 8000.0 && options.rate <= 384000.0 && options.block > 0 && options.block <= 65536
           && options.lengthSeconds >= 0.0 && options.lengthSeconds <= clihost::Script::maxSeconds;
}

void printMidi(const std::vector<clihost::SentMidi>& midi)
{
    for (const auto& event : midi)
    {
        std::cout << "midi out  frame " << event.frame << " ";
        std::ostringstream bytes;
        for (const auto byte : event.bytes)
            bytes << ' ' << std::hex << static_cast<int>(byte);
        std::cout << bytes.str() << '\n';
    }
}

// Plays the script block by block, printing the MIDI sent back and writing the outputs to the WAV file
// (when one is named) as they come: a play of any length holds one block.
bool render(clihost::PluginInstance& instance, const clihost::Script& script, const clihost::PlaySettings& play,
            const std::string& wavPath)
{
    const auto numOutputs = static_cast<size_t>(std::max(0, instance.effect()->numOutputs));
    std::optional<clihost::WavWriter> wav;
    if (!wavPath.empty())
    {
        if (static_cast<uint64_t>(clihost::renderLength(script, play)) > clihost::WavWriter::maxFrames(numOutputs))
        {
            std::cerr << "pulsetta-host: cannot write " << wavPath << ": too long for a WAV file\n";
            return false;
        }
        wav.emplace(wavPath, numOutputs, play.sampleRate);
        if (!wav->isGood())
        {
            std::cerr << "pulsetta-host: cannot write " << wavPath << '\n';
            return false;
        }
    }
    const bool played = clihost::play(instance, script, play, [&](clihost::RenderedBlock& block) {
        printMidi(block.midi);
        return !wav || wav->append(block.outputs.data(), static_cast<size_t>(block.frames));
    });
    if (wav && !(played && wav->finish()))
    {
        std::cerr << "pulsetta-host: cannot write " << wavPath << '\n';
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!readOptions(argc, argv, options))
    {
        std::cerr << usage;
        return 2;
    }
    std::string error;
    auto module = clihost::PluginModule::load(options.module, error);
    if (module == nullptr)
    {
        std::cerr << "pulsetta-host: " << error << '\n';
        return 1;
    }
    clihost::HostSettings settings;
    settings.sampleRate = options.rate;
    settings.blockSize = options.block;
    auto instance = clihost::PluginInstance::create(*module, settings, error);
    if (instance == nullptr)
    {
        std::cerr << "pulsetta-host: " << options.module << ": " << error << '\n';
        return 1;
    }
    if (!options.loadChunk.empty() && !clihost::loadChunk(*instance, options.loadChunk))
    {
        std::cerr << "pulsetta-host: cannot read " << options.loadChunk << '\n';
        return 1;
    }
    if (!options.quiet)
        clihost::printRecord(*instance, std::cout);

    if (!options.script.empty())
    {
        std::string text;
        const bool readable = clihost::readInputFile(options.script, text);
        clihost::Script script;
        if (!readable || !clihost::Script::parse(text, options.rate, script, error))
        {
            std::cerr << "pulsetta-host: " << options.script << ": " << (readable ? error : "cannot read") << '\n';
            return 1;
        }
        std::string().swap(text); // the events are all the play needs
        clihost::PlaySettings play;
        play.sampleRate = options.rate;
        play.blockSize = options.block;
        play.lengthFrames = static_cast<int64_t>(options.lengthSeconds * options.rate);
        if (!render(*instance, script, play, options.wav))
            return 1;
    }
    if (!options.saveChunk.empty() && !clihost::saveChunk(*instance, options.saveChunk))
    {
        std::cerr << "pulsetta-host: cannot write " << options.saveChunk << '\n';
        return 1;
    }
    instance->close();
    return 0;
}
