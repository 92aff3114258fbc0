#pragma once

#include "drummachine/sequencer/Pattern.h"
#include "drummachine/sequencer/PulsettaSeq.h"

#include <array>
#include <string>
#include <vector>

// A factory pattern as the module embeds it, read for the main job and its
// test: where its steps fall in time.
namespace mainjob
{
constexpr int numBanks = PulsettaSeq::numBanks;
constexpr int slotsPerBank = PulsettaSeq::slotsPerBank;
constexpr int numTracks = Pattern::numTracks;
constexpr int numVoices = instruments::numInstruments;

struct FactoryPattern
{
    std::string name;
    double tempo = 120.0;  // beats per minute
    double shuffle = 0.0;  // 0..0.8
    int length = 16;       // steps played
    int scale = 4;         // steps per beat
    std::array<std::array<int, Pattern::numSteps>, numTracks> steps {}; // Pattern::stepOff .. stepFlam

    bool hasHitAt (int step) const noexcept; // any voice (the accent row alone is silent)
    double getPatternBeats() const noexcept { return (double) length / scale; }
};

// Bank 1..8, pattern 1..12. False with a message when there is no such pattern.
bool readFactoryPattern (int bank, int pattern, FactoryPattern& result, std::string& error);

// The sample frame at which each step of `passes` passes of the pattern
// starts, as the step clock places it: pairs of steps of (1 + shuffle) and
// (1 - shuffle) step lengths, each start on the first whole sample at or after it.
std::vector<long long> stepStartFrames (const FactoryPattern& pattern, double sampleRate, int passes);
} // namespace mainjob
