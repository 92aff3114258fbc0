#include "drummachine/clock/HostPositionFollower.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
// Closer than this (beats) is the same place: the arithmetic's own noise.
constexpr double samePlace = 1.0e-9;
} // namespace

double HostPositionFollower::beatsPerSample (double bpm, double sampleRate) const noexcept
{
    return bpm > 0.0 && sampleRate > 0.0 ? bpm / (60.0 * sampleRate) : 0.0;
}

bool HostPositionFollower::isSameTempo (double a, double b) noexcept
{
    return std::abs (a - b) <= sameTempo * std::max (std::abs (a), std::abs (b));
}

void HostPositionFollower::startInterval (double ppq) noexcept
{
    low = ppq - roundingTolerance;
    high = ppq + roundingTolerance;
}

HostPositionFollower::Move HostPositionFollower::follow (const Block& reported, double clockPosition, double& target) noexcept
{
    target = reported.ppq;
    if (! std::isfinite (reported.ppq) || ! std::isfinite (clockPosition))
        return Move::none;

    if (! following)
    {
        following = true;
        settling = false;
        samplePositionStill = false;
        last = reported;
        lastReport = reported;
        tempoBeforeLast = reported.bpm;
        startInterval (reported.ppq);
        return std::abs (reported.ppq - clockPosition) > jumpTolerance ? Move::jump : Move::none;
    }

    Block block = reported;
    const double lastRate = beatsPerSample (last.bpm, last.sampleRate);
    const bool sameSamplePosition = ! block.hasSamplePosition || block.samplePosition == lastReport.samplePosition;
    if (block.ppq == lastReport.ppq && sameSamplePosition && last.numSamples > 0 && lastRate > 0.0)
    {
        // The report of the block before, again: the binding plays a block
        // longer than prepared in slices. The host is where the last one led.
        block.ppq = last.ppq + last.numSamples * lastRate;
        block.samplePosition = last.samplePosition + last.numSamples;
        target = block.ppq;
    }

    // Jumps: the samples do not follow on, or the beats moved more or less than any of the tempi explain.
    // A sample position standing still (now or at the last block) while the beats move says nothing.
    const double elapsed = last.numSamples / (60.0 * last.sampleRate);
    const double slowest = std::min ({ tempoBeforeLast, last.bpm, block.bpm }) * elapsed;
    const double fastest = std::max ({ tempoBeforeLast, last.bpm, block.bpm }) * elapsed;
    const double advance = block.ppq - last.ppq;
    const bool samplesStill = block.hasSamplePosition && lastReport.hasSamplePosition
                              && block.samplePosition == lastReport.samplePosition && block.ppq != lastReport.ppq;
    const bool samplesTell = block.hasSamplePosition && last.hasSamplePosition && ! samplesStill && ! samplePositionStill;
    const bool samplesFollowOn = ! samplesTell || std::llabs (block.samplePosition - (last.samplePosition + last.numSamples)) <= 1;
    const bool tempoSteady = isSameTempo (block.bpm, last.bpm) && isSameTempo (last.bpm, tempoBeforeLast);
    const double steadyAdvance = last.numSamples * lastRate;

    tempoBeforeLast = last.bpm;
    last = block;
    lastReport = reported;
    samplePositionStill = samplesStill;

    if (! samplesFollowOn || advance < slowest - jumpTolerance || advance > fastest + jumpTolerance)
    {
        startInterval (block.ppq);
        settling = false; // the host chose where to go
        return Move::jump;
    }

    if (! tempoSteady)
    {
        // A change inside one of the last blocks: where the clock got to at the
        // old pace says nothing. The host's report is the best there is.
        startInterval (block.ppq);
        settling = true;
        return std::abs (block.ppq - clockPosition) > samePlace ? Move::glide : Move::none;
    }

    // A steady tempo: every report narrows where the host can truly be.
    low = std::max (low + steadyAdvance, block.ppq - roundingTolerance);
    high = std::min (high + steadyAdvance, block.ppq + roundingTolerance);
    if (low > high)
        startInterval (block.ppq); // reports that cannot all be true: the newest wins

    // The clock stays inside, unless it was put there by one report alone:
    // then it keeps to the middle, to within half a sample.
    const double middle = 0.5 * (low + high);
    const bool stays = settling ? std::abs (clockPosition - middle) <= 0.5 * beatsPerSample (block.bpm, block.sampleRate)
                                : clockPosition >= low - samePlace && clockPosition <= high + samePlace;
    if (stays)
        return Move::none;

    target = middle;
    return Move::glide;
}
