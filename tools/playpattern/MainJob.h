#pragma once

#include "tools/playpattern/FactoryPatternInfo.h"

#include <string>
#include <vector>

// The main job: has the command-line host load the module, route each voice
// to an output of its own, pick a factory pattern by its MIDI selection
// notes, start the host's transport at the pattern's tempo and play four
// bars, then write the mix and every used output as WAV files.
namespace mainjob
{
struct JobSettings
{
    std::string modulePath;
    std::string outputFolder = "out";
    int bank = 1;     // 1..8
    int pattern = 1;  // 1..12
    int bars = 4;     // of four beats
    double sampleRate = 44100.0;
    int blockSize = 512;
    double tailSeconds = 1.5; // after the transport stops, so the last hits ring out
};

struct JobResult
{
    FactoryPattern pattern;
    std::vector<float> mixLeft, mixRight;                   // from the transport's start
    std::vector<std::vector<float>> outputs;                // every host output channel, from the transport's start
    std::vector<std::string> files;                         // written
    long long playFrames = 0;                               // frames of the four bars
};

// Renders (and writes the files unless outputFolder is empty). False with a
// message when the module, the pattern or a file fails.
bool run (const JobSettings& settings, JobResult& result, std::string& error);

// The short codes of the voices, for the file names.
const char* voiceCode (int voice) noexcept;
} // namespace mainjob
