// The randomiser: fills the chosen tracks of one pattern from a seed, lets the
// per-track thresholds thin them out, steps back through earlier seeds, and
// keeps (Accept) or discards (Undo) the result. Message thread; the mask is
// read by playback on the audio thread through the atomics.

#include "drummachine/sequencer/DrumMachineSeq.h"

#include <algorithm>

namespace
{
constexpr int maxSeed = 1000000;
constexpr float noRandomValue = -1.0f;
constexpr float randomValueStep = 0.0625f; // 1/16: one step of threshold lets one more step through
} // namespace

int DrumMachineSeq::randomInt (int n)
{
    return randomSource.randomInt (n);
}

void DrumMachineSeq::randomizerNext (const bool* chosenFlags, bool flam)
{
    if (currentSeed != 0)
        seedHistory.push_back (currentSeed);
    currentSeed = (uint32_t) randomInt (maxSeed) + 1;
    randomSource.reseed (currentSeed);
    generateRandomPattern (chosenFlags, flam);
}

void DrumMachineSeq::randomizerPrevious (const bool* chosenFlags, bool flam)
{
    if (seedHistory.empty())
        return;
    currentSeed = seedHistory.back();
    seedHistory.pop_back();
    randomSource.reseed (currentSeed);
    generateRandomPattern (chosenFlags, flam);
}

void DrumMachineSeq::writeRandomValue (int pattern, int track, int step, int32_t value)
{
    switch (value)
    {
        case Pattern::stepAccent: setStepAccent (pattern, track, step); break;
        case Pattern::stepFlam: setStepFlam (pattern, track, step); break;
        default: setStepOn (pattern, track, step); break;
    }
}

void DrumMachineSeq::generateRandomPattern (const bool* chosenFlags, bool flam)
{
    const int target = getRandomizerTarget();
    if (findPattern (target) == nullptr)
        return;

    const int numTracks = std::clamp (owner.getNumTracks(), 0, (int) Pattern::numTracks);
    const PatternRewriteScope guard (owner);

    clearRandomSteps(); // the previous result's hidden steps go first

    for (int track = 0; track < numTracks; ++track)
    {
        const bool chosen = chosenFlags != nullptr && chosenFlags[track];
        randomizerChosen[(size_t) track].store (chosen);
        if (! chosen)
            continue;

        const RandomTrack drawn = drawRandomTrack (randomSource, flam);
        for (int step = 0; step < Pattern::numSteps; ++step)
        {
            randomValues[(size_t) track][(size_t) step].store ((float) drawn.rank[(size_t) step] * randomValueStep);
            writeRandomValue (target, track, step, drawn.value[(size_t) step]);
        }
    }
    randomizerActive.store (true);
}

void DrumMachineSeq::clearRandomSteps()
{
    if (! isRandomizerActive())
        return;

    const int target = getRandomizerTarget();
    for (int track = 0; track < Pattern::numTracks; ++track)
        for (int step = 0; step < Pattern::numSteps; ++step)
            if (isHiddenByRandomizer (track, step))
                setStepOff (target, track, step);

    resetRandomizer();
}

void DrumMachineSeq::restoreRandomizedTracks()
{
    if (! isRandomizerActive())
        return;

    const int target = getRandomizerTarget();
    for (int track = 0; track < Pattern::numTracks; ++track)
        if (isRandomizerTrackChosen (track))
            restoreRowFromBackup (target, track);

    resetRandomizer();
}

void DrumMachineSeq::resetRandomizer()
{
    for (auto& chosen : randomizerChosen)
        chosen.store (false);
    for (auto& track : randomValues)
        for (auto& value : track)
            value.store (noRandomValue);
    randomizerActive.store (false);
}

void DrumMachineSeq::setRandomizerTarget (int pattern)
{
    randomizerTarget.store (findPattern (pattern) != nullptr ? pattern : -1);
}

bool DrumMachineSeq::isRandomizerTrackChosen (int track) const noexcept
{
    return Pattern::isValidTrack (track) && randomizerChosen[(size_t) track].load (std::memory_order_relaxed);
}

void DrumMachineSeq::setRandomizerThreshold (int track, float threshold) noexcept
{
    if (Pattern::isValidTrack (track))
        randomizerThresholds[(size_t) track].store (threshold, std::memory_order_relaxed);
}

float DrumMachineSeq::getRandomizerThreshold (int track) const noexcept
{
    return Pattern::isValidTrack (track) ? randomizerThresholds[(size_t) track].load (std::memory_order_relaxed) : 0.0f;
}

float DrumMachineSeq::getRandomValue (int track, int step) const noexcept
{
    if (! Pattern::isValidTrack (track) || ! Pattern::isValidStep (step))
        return noRandomValue;
    return randomValues[(size_t) track][(size_t) step].load (std::memory_order_relaxed);
}

bool DrumMachineSeq::isHiddenByRandomizer (int track, int step) const noexcept
{
    // A step with random value k/16 plays while k/16 < threshold.
    return isRandomizerTrackChosen (track) && Pattern::isValidStep (step)
        && getRandomizerThreshold (track) <= getRandomValue (track, step);
}
