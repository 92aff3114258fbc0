// Playback: the host and native cursors, the chain of native patterns, how a
// played step becomes instrument triggers, locating the native cursor from a
// song position, and the pending taps.
//
// Everything here runs on the audio thread except the chain changes (pads on
// the message thread, MIDI notes on the audio thread) and getAudibleStep. The
// cursors are single atomic words; the chain travels as one atomic word, and
// what needs its duration recomputes it from that one snapshot. Nothing here
// allocates, locks or calls the display: written taps only raise a flag the
// message thread takes.

#include "drummachine/sequencer/PulsettaSeq.h"

#include <algorithm>
#include <cmath>

namespace
{
int clampSlot (int slot) noexcept
{
    return std::clamp (slot, 0, PulsettaSeq::slotsPerBank - 1);
}

int clampBank (int bank) noexcept
{
    return std::clamp (bank, 0, PulsettaSeq::numBanks - 1);
}

int clampStep (int step) noexcept
{
    return std::clamp (step, 0, Pattern::numSteps - 1);
}

int firstPatternOf (PulsettaSeq::Chain chain) noexcept
{
    return chain.bank * PulsettaSeq::slotsPerBank + chain.first;
}

int lastPatternOf (PulsettaSeq::Chain chain) noexcept
{
    return chain.bank * PulsettaSeq::slotsPerBank + chain.last;
}

PulsettaSeq::Chain makeChain (int slotA, int slotB, int bank, int pendingBank) noexcept
{
    slotA = clampSlot (slotA);
    slotB = clampSlot (slotB);
    return { static_cast<int8_t> (std::min (slotA, slotB)), static_cast<int8_t> (std::max (slotA, slotB)),
             static_cast<int8_t> (clampBank (bank)), static_cast<int8_t> (clampBank (pendingBank)) };
}
} // namespace

//==== Pending taps ===================================================================

void DrumMachineSeq::writePendingTaps (int host)
{
    if (! pendingTapsQueued || pendingTapsCursorKind != host)
        return;

    for (int track = 0; track < Pattern::numTracks; ++track)
        if (pendingTapValues[(size_t) track] != 0)
            setStepAtCursor (track, pendingTapValues[(size_t) track], host);

    pendingTapValues.fill (0);
    pendingTapsQueued = false;
}

void DrumMachineSeq::dropPendingTaps (int host) noexcept
{
    if (pendingTapsQueued && pendingTapsCursorKind == host)
    {
        pendingTapValues.fill (0);
        pendingTapsQueued = false;
    }
}

void PulsettaSeq::addPendingTap (int track, int value, int host)
{
    if (! Pattern::isValidTrack (track) || value < Pattern::stepOn || value > Pattern::stepFlam || (host != 0 && host != 1))
        return;

    // Taps left for the other cursor belong to a mode no longer playing.
    if (pendingTapsQueued && pendingTapsCursorKind != host)
        pendingTapValues.fill (0);

    pendingTapValues[(size_t) track] = value;
    pendingTapsCursorKind = host;
    pendingTapsQueued = true;
}

bool PulsettaSeq::takeStepStatesRefreshRequest() noexcept
{
    return stepStatesRefreshPending.exchange (false, std::memory_order_acquire);
}

void PulsettaSeq::setStepAtCursor (int row, int value, int host)
{
    if ((host != 0 && host != 1) || ! Pattern::isValidTrack (row))
        return;

    const int pattern = host == 1 ? getHostPattern() : getNativePattern();
    const int step = host == 1 ? getHostStep() : getNativeStep();
    if (! isValidPattern (pattern) || ! Pattern::isValidStep (step))
        return;

    patterns[(size_t) pattern].setStep (row, step, value);
    stepStatesRefreshPending.store (true, std::memory_order_release);
}

//==== Start, stop and cursors ========================================================

void PulsettaSeq::startHost (int pattern)
{
    hostRunning.store (true);
    if (isValidPattern (pattern))
        setHostCursor (pattern, 0);
}

void PulsettaSeq::startNative()
{
    nativeRunning.store (true);
    setNativeCursor (firstPatternOf (getChain()), 0);
}

void PulsettaSeq::stopHost()
{
    hostRunning.store (false);
    dropPendingTaps (1); // a tap waiting for a step that will not come is gone
}

void PulsettaSeq::stopNative()
{
    nativeRunning.store (false);
    dropPendingTaps (0);
}

void PulsettaSeq::setNativeCursor (int pattern, int step)
{
    nativePattern.store (pattern, std::memory_order_relaxed);
    nativeStep.store (clampStep (step), std::memory_order_relaxed);
}

void PulsettaSeq::setHostCursor (int pattern, int step)
{
    hostPattern.store (pattern, std::memory_order_relaxed);
    hostStep.store (clampStep (step), std::memory_order_relaxed);
}

int PulsettaSeq::getHostPattern() const
{
    return hostPattern.load (std::memory_order_relaxed);
}

int PulsettaSeq::getNativePattern() const
{
    return nativePattern.load (std::memory_order_relaxed);
}

int PulsettaSeq::getHostStep() const
{
    return hostStep.load (std::memory_order_relaxed);
}

int PulsettaSeq::getNativeStep() const
{
    return nativeStep.load (std::memory_order_relaxed);
}

void PulsettaSeq::latchNativePattern()
{
    latchedNativePattern = getNativePattern();
}

bool PulsettaSeq::hasNativePatternChanged() const
{
    return latchedNativePattern != getNativePattern();
}

//==== Playing a step =================================================================

void PulsettaSeq::playHostStep (bool flamPass)
{
    const int step = playableHostStep();
    // Taps wait for the step's own pass: the flam pass replays a step that
    // has already sounded.
    if (! flamPass)
        writePendingTaps (1);
    playStep (getHostPattern(), step, flamPass);
}

void PulsettaSeq::playNativeStep (bool flamPass)
{
    // A pattern shortened under the cursor ends here rather than play steps
    // beyond its length.
    const auto* pattern = patternAt (getNativePattern());
    if (pattern == nullptr || getNativeStep() >= pattern->getLength())
        moveNativeCursorToNextPattern();

    if (! flamPass)
        writePendingTaps (0);
    playStep (getNativePattern(), getNativeStep(), flamPass);
}

int PulsettaSeq::playableHostStep()
{
    // A pattern shortened under the cursor starts again from its first step.
    const auto* pattern = patternAt (getHostPattern());
    const int step = getHostStep();
    if (pattern != nullptr && step >= pattern->getLength())
    {
        hostStep.store (0, std::memory_order_relaxed);
        return 0;
    }
    return step;
}

void PulsettaSeq::playStep (int patternIndex, int step, bool flamPass)
{
    const auto* pattern = patternAt (patternIndex);
    if (pattern == nullptr || ! Pattern::isValidStep (step))
        return;

    const bool maskApplies = getRandomizerTarget() == patternIndex;
    const auto hidden = [&] (int row) { return maskApplies && isHiddenByRandomizer (row, step); };

    const float base = owner.getBaseVelocity();
    const float strongBoost = owner.getStrongVelocityBoost();
    const float accentTerm = owner.getAccentVelocityScale() * static_cast<float> (owner.getAccentLevel());

    const bool accented = pattern->getStep (Pattern::accentTrack, step) != Pattern::stepOff && ! hidden (Pattern::accentTrack);
    if (accented)
        owner.triggerInstrument (Pattern::accentTrack, base + strongBoost + accentTerm);

    for (int row = 0; row < instruments::numInstruments; ++row)
    {
        if (hidden (row))
            continue;

        switch (pattern->getStep (row, step))
        {
            case Pattern::stepOn:
            case Pattern::stepAccent:
                if (! flamPass)
                    owner.triggerStep (row, pattern->getStep (row, step) == Pattern::stepAccent, accented);
                break;

            case Pattern::stepFlam:
                // The stroke on the step, then the stronger one a flam time later.
                owner.triggerInstrument (row, base + (flamPass ? strongBoost : 0.0f) + (accented ? accentTerm : 0.0f));
                break;

            default:
                break;
        }
    }
}

//==== Advancing ======================================================================

void PulsettaSeq::advanceHostStep()
{
    const auto* pattern = patternAt (getHostPattern());
    if (pattern == nullptr)
        return;

    // At or past the length: a pattern shortened while playing wraps at once.
    const int next = getHostStep() + 1;
    hostStep.store (next >= pattern->getLength() ? 0 : next, std::memory_order_relaxed);
}

bool PulsettaSeq::advanceNativeStep()
{
    const auto* pattern = patternAt (getNativePattern());
    const int next = getNativeStep() + 1;
    if (pattern != nullptr && next < pattern->getLength())
    {
        nativeStep.store (next, std::memory_order_relaxed);
        return false;
    }

    const int before = getNativePattern();
    moveNativeCursorToNextPattern();
    return getNativePattern() != before;
}

void PulsettaSeq::moveNativeCursorToNextPattern()
{
    // The next slot of the chain, else back to its start: a pattern outside
    // the chain (after a chain change) moves into it here.
    const Chain current = getChain();
    const int candidate = getNativePattern() + 1;
    const bool insideChain = candidate >= firstPatternOf (current) && candidate <= lastPatternOf (current);
    setNativeCursor (insideChain ? candidate : firstPatternOf (current), 0);
}

bool PulsettaSeq::isNextPattern (int slot) const
{
    const Chain current = getChain();
    if (! nativeRunning.load())
        return slot == current.first;

    const int lo = firstPatternOf (current), hi = lastPatternOf (current);
    const int playing = getNativePattern();
    if (playing >= lo && playing <= hi)
        return slot == playing % slotsPerBank;
    if (playing + 1 >= lo && playing + 1 <= hi)
        return slot == (playing + 1) % slotsPerBank;
    return slot == current.first;
}

//==== Locate =========================================================================

double PulsettaSeq::locate (double beats)
{
    if (! std::isfinite (beats) || beats < 0.0)
        return beats;

    const Chain current = getChain();
    const int first = firstPatternOf (current);

    if (current.first == current.last)
    {
        // One pattern: an odd length alternates a long and a short pass.
        const Pattern& pattern = patterns[(size_t) first];
        const double firstPass = pattern.getFirstPassDuration();
        const double cycle = firstPass + pattern.getSecondPassDuration();
        if (! (cycle > 0.0))
            return beats;

        const double offset = std::fmod (beats, cycle);
        const double scale = pattern.getScale();
        const double longStep = (1.0 + pattern.getShuffle()) / scale;
        const double shortStep = (1.0 - pattern.getShuffle()) / scale;
        if (offset < firstPass)
            locateInPattern (first, offset, firstPass, longStep);
        else
        {
            // Only an odd length starts its second pass on the short half of a
            // pair; an even one starts it on a pair boundary like the first.
            const bool oddLength = pattern.getLength() % 2 != 0;
            locateInPattern (first, offset - firstPass, pattern.getSecondPassDuration(), oddLength ? shortStep : longStep);
        }
        return beats;
    }

    const double total = chainDurationOf (patterns, current);
    if (! (total > 0.0))
        return beats;

    double offset = std::fmod (beats, total);
    for (int index = first; index <= lastPatternOf (current); ++index)
    {
        const Pattern& pattern = patterns[(size_t) index];
        const double duration = pattern.getFirstPassDuration();
        if (offset < duration)
        {
            locateInPattern (index, offset, duration, (1.0 + pattern.getShuffle()) / pattern.getScale());
            return beats;
        }
        offset -= duration;
    }
    return beats; // rounding carried it past the chain's end: leave the cursor
}

void PulsettaSeq::locateInPattern (int patternIndex, double offsetInBeats, double passLength, double firstStepOfPair)
{
    if (offsetInBeats < 0.0 || offsetInBeats >= passLength)
        return;

    const Pattern& pattern = patterns[(size_t) patternIndex];
    const double pairLength = 2.0 / pattern.getScale();
    const double pair = std::floor (offsetInBeats / pairLength);
    const int step = static_cast<int> (2.0 * pair) + (offsetInBeats - pair * pairLength < firstStepOfPair ? 0 : 1);
    setNativeCursor (patternIndex, std::clamp (step, 0, pattern.getLength() - 1));
}

//==== Chain ==========================================================================

int PulsettaSeq::getAudibleStep (int row, int step) const
{
    if (! Pattern::isValidTrack (row) || ! Pattern::isValidStep (step) || isHiddenByRandomizer (row, step))
        return Pattern::stepOff;
    return edited().getStep (row, step);
}

template <typename ChangeChain>
void PulsettaSeq::changeChain (ChangeChain&& change)
{
    // Pads (message thread) and notes (audio thread) both change the chain:
    // the whole word is replaced at once, never torn between the two.
    Chain current = chain.load (std::memory_order_acquire);
    while (! chain.compare_exchange_weak (current, change (current), std::memory_order_acq_rel, std::memory_order_acquire))
    {
    }
    followChainWhileStopped();
}

void PulsettaSeq::setChain (int slotA, int slotB, int bank)
{
    changeChain ([=] (Chain) { return makeChain (slotA, slotB, bank, bank); });
}

void PulsettaSeq::selectChainInPendingBank (int slotA, int slotB)
{
    changeChain ([=] (Chain current) { return makeChain (slotA, slotB, current.pendingBank, current.pendingBank); });
}

void PulsettaSeq::setChainEnd (int slot)
{
    changeChain ([=] (Chain current) { return makeChain (current.first, slot, current.bank, current.pendingBank); });
}

void PulsettaSeq::setPendingBank (int bank)
{
    Chain current = chain.load (std::memory_order_acquire);
    Chain next;
    do
    {
        next = current;
        next.pendingBank = static_cast<int8_t> (clampBank (bank));
    } while (! chain.compare_exchange_weak (current, next, std::memory_order_acq_rel, std::memory_order_acquire));
}

void PulsettaSeq::followChainWhileStopped()
{
    // While the native sequencer plays, a new chain takes over at the end of
    // the playing pattern (advanceNativeStep); stopped, it is taken at once.
    if (nativeRunning.load())
        return;

    nativePattern.store (firstPatternOf (getChain()), std::memory_order_relaxed);
    editChainStartPattern();
}

double PulsettaSeq::chainDurationOf (const PatternStore& store, Chain current) noexcept
{
    double total = 0.0;
    for (int index = firstPatternOf (current); index <= lastPatternOf (current); ++index)
        total += store[(size_t) index].getFirstPassDuration();
    return total;
}
