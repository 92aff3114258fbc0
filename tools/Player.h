#pragma once
// Plays a script through a plug-in instance block by block, as a host's audio
// thread does, and collects every output and the MIDI sent back.
#include "tools/PluginInstance.h"
#include "tools/Script.h"

#include <functional>
#include <vector>

namespace clihost
{
struct PlaySettings
{
    double sampleRate = 44100.0; // Hz
    int blockSize = 512;         // frames announced to the plug-in and used per call
    int64_t lengthFrames = 0;    // 0: the script's length, else its last event plus one block
    bool idleBetweenBlocks = true; // effEditIdle after each block, as a host's UI thread would
    bool resume = true;            // set rate and block size and resume before the first block
};

struct Rendering
{
    std::vector<std::vector<float>> outputs; // one per output pin
    std::vector<SentMidi> midi;              // what the plug-in sent back, stamped with frames
};

// One block as it leaves the plug-in: valid only during the call that hands it over.
struct RenderedBlock
{
    int64_t start = 0;                  // its first frame
    int frames = 0;
    const std::vector<float*>& outputs; // one per output pin
    std::vector<SentMidi> midi;         // what the plug-in sent back during the block
};

// The frames a play of the script renders.
int64_t renderLength(const Script& script, const PlaySettings& settings);

// Blocks end early at transport and parameter changes, so each change reaches the plug-in at its frame;
// a tempo change inside a block ("tempo-in-block") leaves the block whole, as real hosts do.
// Each block goes to `onBlock` as soon as it is rendered, and its MIDI is taken out of the instance's
// sentMidi, so a play of any length holds one block; false from `onBlock` stops the play, and play then
// answers false.
bool play(PluginInstance& instance, const Script& script, const PlaySettings& settings,
          const std::function<bool(RenderedBlock&)>& onBlock);

// The same play, whole: every output and the MIDI sent back (which also stays in the instance's sentMidi).
Rendering play(PluginInstance& instance, const Script& script, const PlaySettings& settings);
} // namespace clihost
