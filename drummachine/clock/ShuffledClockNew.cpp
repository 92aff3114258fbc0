#include "drummachine/clock/ShuffledClockNew.h"

#include "drummachine/clock/StepPairGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// A boundary that lies this little (samples) after a whole sample falls on that
// sample: it keeps rounding noise from pushing an exact boundary one sample late.
constexpr double sampleTieTolerance = 1.0e-6;

// Farther than any session can reach; keeps huge counts inside int64.
constexpr double farAwayInSamples = 4.0e18;
constexpr double farAwayInPairs = 1.0e15;

// More steps than this passed over in one glide is no tempo change told late
// but a move: the clock starts the step it lands in, as after a jump.
constexpr std::int64_t maxLateSteps = 64;

bool isPositiveFinite (double value) noexcept
{
    return std::isfinite (value) && value > 0.0;
}
} // namespace

ShuffledClockNew::ShuffledClockNew (const juce::String& clockName)
    : name (clockName)
{
    stop();
}

// ---- audio thread ------------------------------------------------------------

void ShuffledClockNew::start (double positionInBeats)
{
    if (isRunning())
        return;

    restart (positionInBeats);
}

void ShuffledClockNew::restart (double positionInBeats)
{
    phase = -1;
    stepFlag = -1;
    running.store (true, std::memory_order_relaxed);
    moveTo (std::isfinite (positionInBeats) ? positionInBeats : 0.0);
    raiseRunningChanged();
}

void ShuffledClockNew::stop()
{
    if (! isRunning())
        return;

    phase = -1;
    stepFlag = -1;
    running.store (false, std::memory_order_relaxed);
    moveTo (0.0);
    numEvents = 0;
    stepBoundary = false;
    raiseRunningChanged();
}

void ShuffledClockNew::setPosition (double positionInBeats)
{
    if (std::isfinite (positionInBeats) && positionInBeats != position)
        moveTo (positionInBeats);
}

void ShuffledClockNew::jumpTo (double positionInBeats)
{
    if (! isRunning() || ! std::isfinite (positionInBeats))
        return;

    // Whatever step the clock was in is not the one it lands in, so a gate it
    // lands inside starts afresh (the open one is closed first).
    moveTo (positionInBeats);
    stepFlag = -1;
    if (positionInBeats < 0.0)
        phase = -1;
}

void ShuffledClockNew::glideTo (double positionInBeats)
{
    if (! isRunning() || ! std::isfinite (positionInBeats))
        return;

    // The step state stays: the next resynchronisation finds the boundary
    // after the part of the timeline already played.
    anchorAt (positionInBeats);
}

std::int32_t ShuffledClockNew::regionOf (const StepPairGeometry& pair) const noexcept
{
    if (position > pair.firstEnd && position <= pair.secondStart)
        return 1;
    if (position > pair.secondEnd)
        return 3;
    if (position > pair.secondStart)
        return 2;
    return 0;
}

void ShuffledClockNew::anchorAt (double positionInBeats) noexcept
{
    position = positionInBeats;
    anchorPosition = positionInBeats;
    samplesSinceAnchor = 0;
    dirty = true;
}

void ShuffledClockNew::moveTo (double positionInBeats)
{
    phasePairStart = std::numeric_limits<double>::quiet_NaN();
    lateSteps = 0;
    anchorAt (positionInBeats);
}

std::int64_t ShuffledClockNew::pairIndexOf (double pairStartInBeats) const noexcept
{
    // Pair starts are whole multiples of the pair length: rounding keeps one
    // computed two ways the same pair.
    const double index = std::round (pairStartInBeats * stepsPerBeat / 2.0);
    return std::isnan (index) ? 0 : static_cast<std::int64_t> (std::clamp (index, -farAwayInPairs, farAwayInPairs));
}

void ShuffledClockNew::startLateStep() noexcept
{
    const std::int64_t step = nextLateStep++;
    --lateSteps;

    const double stepLength = 1.0 / stepsPerBeat;
    const double pairStart = static_cast<double> (step / 2) * 2.0 * stepLength;
    const auto pair = StepPairGeometry::around (pairStart + stepLength, stepLength, appliedShuffle, gateFraction);
    lateStepPosition = step % 2 == 0 ? 0.5 * (pair.pairStart + pair.secondStart) : 0.5 * (pair.secondStart + pair.pairEnd);

    // Never the timeline's first: a step before it was played.
    addEvent (1, stepStartEvent);
    if (lateSteps > 0 || ! lastLateStepGateOpen)
        addEvent (1, stepEndEvent); // its gate is over already
    stepChangedPending.store (1, std::memory_order_release);
}

bool ShuffledClockNew::advance()
{
    numEvents = 0;
    stepBoundary = false;
    lateStepPosition = std::numeric_limits<double>::quiet_NaN();

    if (! isRunning())
        return false;

    bool boundaryPossible = true;

    // Steps a glide passed over come first: the clock resynchronises, and
    // passes its next boundary, only once they have all started.
    if (dirty && lateSteps == 0)
    {
        const Resync result = resynchronise();

        if (result == Resync::noTiming)
            return false; // no tempo: no event, and the position stays where it is

        boundaryPossible = result == Resync::ready;
    }

    if (lateSteps > 0)
    {
        startLateStep();
        boundaryPossible = lateSteps == 0;
    }

    if (boundaryPossible && samplesToNext == 0)
    {
        lastBoundaryPosition = position;
        phase = nextPhase;
        nextPhase = (phase + 1) % 4;
        if (phase == 0)
            phasePairStart += 2.0 / stepsPerBeat; // into the next pair
        const auto pair = StepPairGeometry::around (position, 1.0 / stepsPerBeat, shuffle, gateFraction);
        // The second step of a pair is never the timeline's first, even when
        // rounding puts the boundary sample a hair before its ideal position.
        stepFlag = (pair.notFirst || phase == 2) ? 1 : 0;
        addEvent (stepFlag, (phase == 0 || phase == 2) ? stepStartEvent : stepEndEvent);
        stepChangedPending.store (1, std::memory_order_release);
        stepBoundary = true;
    }

    ++samplesSinceAnchor;
    position = anchorPosition + static_cast<double> (samplesSinceAnchor) * beatsPerSample;

    if (loopEnabled && loopEnd > loopStart && position >= loopEnd)
    {
        if (phase == 0 || phase == 2)
            addEvent (stepFlag, stepEndEvent);

        addEvent (0, loopWrapEvent);
        moveTo (position - loopEnd + loopStart);
        addEvent (0, restartEvent);
        stepFlag = 0;
        // The open step was closed above: the loop start begins from no step,
        // so a gate it lies in starts afresh.
        phase = -1;
    }

    --samplesToNext;
    if (samplesToNext < 0)
        dirty = true; // the sample after a boundary finds the next one

    return numEvents > 0;
}

bool ShuffledClockNew::updateBeatsPerSample()
{
    if (! isPositiveFinite (tempo) || ! isPositiveFinite (sampleRate) || ! isPositiveFinite (stepsPerBeat))
        return false;

    const double newBeatsPerSample = tempo / (60.0 * sampleRate);

    if (! isPositiveFinite (newBeatsPerSample))
        return false;

    if (newBeatsPerSample != beatsPerSample)
    {
        // Count samples afresh from here at the new rate.
        anchorPosition = position;
        samplesSinceAnchor = 0;
        beatsPerSample = newBeatsPerSample;
    }
    return true;
}

std::int64_t ShuffledClockNew::samplesUntil (double targetInBeats) const
{
    const double fromAnchor = (targetInBeats - anchorPosition) / beatsPerSample - sampleTieTolerance;
    const double samples = std::ceil (std::min (fromAnchor, farAwayInSamples)) - static_cast<double> (samplesSinceAnchor);
    return samples > 0.0 ? static_cast<std::int64_t> (samples) : 0;
}

ShuffledClockNew::Resync ShuffledClockNew::resynchronise()
{
    if (! updateBeatsPerSample())
        return Resync::noTiming; // stays dirty: resynchronises as soon as there is a tempo

    dirty = false;
    const double stepLength = 1.0 / stepsPerBeat;

    // A clock started before zero waits, resynchronising every sample, until it gets there.
    if (position < 0.0 && phase == -1 && samplesUntil (0.0) > 0)
    {
        nextPhase = 0;
        samplesToNext = -1;
        stepFlag = -1;
        return Resync::waitingForZero;
    }

    auto pair = StepPairGeometry::around (position, stepLength, appliedShuffle, gateFraction);

    // A new shuffle takes effect only up to the second step of a pair.
    if (position <= pair.secondStart && appliedShuffle != shuffle)
    {
        appliedShuffle = shuffle;
        pair = StepPairGeometry::around (position, stepLength, appliedShuffle, gateFraction);
    }

    const std::int32_t notFirst = pair.notFirst ? 1 : 0;
    const bool gateOpen = phase == 0 || phase == 2;

    // A glide back, or a longer shuffle or gate, can put the position before
    // the part of the timeline the clock has already played: the step it
    // played must not start again. It waits for the next boundary of its own.
    const std::int32_t region = regionOf (pair);
    const bool phaseKnown = phase >= 0 && std::isfinite (phasePairStart); // not after a move
    const std::int64_t landedPair = pairIndexOf (pair.pairStart);
    const std::int64_t playedPair = phaseKnown ? pairIndexOf (phasePairStart) : landedPair;
    const bool inEarlierPair = landedPair < playedPair;
    if (inEarlierPair || (phaseKnown && landedPair == playedPair && region < phase))
    {
        const auto played = inEarlierPair ? StepPairGeometry::around (phasePairStart + stepLength, stepLength, appliedShuffle, gateFraction)
                                          : pair;
        samplesToNext = samplesUntil (phase == 0   ? played.firstEnd
                                      : phase == 1 ? played.secondStart
                                      : phase == 2 ? played.secondEnd
                                                   : played.pairEnd);
        return Resync::ready;
    }
    const double regionEnd[] = { pair.firstEnd, pair.secondStart, pair.secondEnd, pair.pairEnd };

    // A glide forward past steps not yet played (the host told of a tempo
    // rise late, in a long block): the gate the clock was in closes, and each
    // of those steps starts late, one a sample, the one it landed in last.
    if (phaseKnown)
    {
        const std::int64_t playedStep = 2 * playedPair + (phase >= 2 ? 1 : 0);
        const std::int64_t landedStep = 2 * landedPair + (region >= 2 ? 1 : 0);
        const bool landedInGate = region == 0 || region == 2;
        if (landedStep - playedStep > maxLateSteps)
        {
            stepFlag = -1;
        }
        else if (landedStep - playedStep > (landedInGate ? 1 : 0))
        {
            if (gateOpen)
                addEvent (stepFlag, stepEndEvent);
            lateSteps = landedStep - playedStep;
            nextLateStep = playedStep + 1;
            lastLateStepGateOpen = landedInGate;
            phasePairStart = pair.pairStart;
            phase = region;
            nextPhase = (region + 1) % 4;
            stepFlag = 1;
            samplesToNext = samplesUntil (regionEnd[region]);
            return Resync::ready;
        }
    }
    phasePairStart = pair.pairStart;

    // Between gates: the gate the clock was in closes.
    auto enterGap = [&] (std::int32_t gapPhase, double gapEnd) {
        if (gateOpen)
            addEvent (stepFlag, stepEndEvent);
        phase = gapPhase;
        nextPhase = (gapPhase + 1) % 4;
        samplesToNext = samplesUntil (gapEnd);
    };
    // Inside a gate: the other gate, or this one under another flag, closes;
    // the step starts unless the clock is already in it.
    auto enterGate = [&] (std::int32_t gatePhase, double gateEnd) {
        const std::int32_t otherGate = 2 - gatePhase;
        if (phase == otherGate || (phase == gatePhase && stepFlag != notFirst))
            addEvent (stepFlag, stepEndEvent);
        if (phase != gatePhase || stepFlag != notFirst)
        {
            addEvent (notFirst, stepStartEvent);
            stepFlag = notFirst;
        }
        phase = gatePhase;
        nextPhase = gatePhase + 1;
        samplesToNext = samplesUntil (gateEnd);
    };

    switch (region)
    {
        case 1: enterGap (1, regionEnd[1]); break;  // after the first step's gate
        case 3: enterGap (3, regionEnd[3]); break;  // after the second step's gate
        case 2: enterGate (2, regionEnd[2]); break; // inside the second step's gate
        default: enterGate (0, regionEnd[0]); break; // inside the first step's gate
    }
    return Resync::ready;
}

bool ShuffledClockNew::isInFirstHalfOfStep() const
{
    if (! isPositiveFinite (stepsPerBeat))
        return true;

    return StepPairGeometry::around (position, 1.0 / stepsPerBeat, appliedShuffle, gateFraction)
        .isInFirstHalfOfStep (position);
}

void ShuffledClockNew::addEvent (std::int32_t flag, std::int32_t kind) noexcept
{
    if (numEvents < maxEventsPerSample)
        events[numEvents++] = { flag, kind };
}

void ShuffledClockNew::raiseRunningChanged() noexcept
{
    runningChangedPending.store (1, std::memory_order_release);
}

void ShuffledClockNew::changeTiming (double& field, double value) noexcept
{
    if (value != field)
    {
        field = value;
        dirty = true;
    }
}

void ShuffledClockNew::setSampleRate (double newSampleRate)
{
    changeTiming (sampleRate, newSampleRate);
}

void ShuffledClockNew::setTempo (double newTempo)
{
    changeTiming (tempo, newTempo);
}

void ShuffledClockNew::setStepsPerBeat (double newStepsPerBeat)
{
    changeTiming (stepsPerBeat, newStepsPerBeat);
}

void ShuffledClockNew::setGateFraction (double newGateFraction)
{
    if (std::isfinite (newGateFraction))
        changeTiming (gateFraction, std::clamp (newGateFraction, 0.0, 1.0));
}

void ShuffledClockNew::setShuffle (double newShuffle)
{
    if (std::isfinite (newShuffle))
        changeTiming (shuffle, std::clamp (newShuffle, 0.0, 1.0));
}

void ShuffledClockNew::setLoop (bool enabled, double loopStartInBeats, double loopEndInBeats)
{
    const bool usable = enabled && std::isfinite (loopStartInBeats) && std::isfinite (loopEndInBeats)
                        && loopEndInBeats > loopStartInBeats;
    loopEnabled = usable;
    if (usable)
    {
        loopStart = loopStartInBeats;
        loopEnd = loopEndInBeats;
    }
}

// ---- message thread ----------------------------------------------------------

void ShuffledClockNew::addListener (Listener* listener)
{
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void ShuffledClockNew::removeListener (Listener* listener)
{
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

bool ShuffledClockNew::dispatchPendingNotifications()
{
    const bool runningChanged = runningChangedPending.exchange (0, std::memory_order_acquire) != 0;
    const bool stepChanged = stepChangedPending.exchange (0, std::memory_order_acquire) != 0;

    if (runningChanged)
        for (auto i = listeners.size(); i-- > 0;)
            if (i < listeners.size())
                listeners[i]->clockRunningChanged (*this);

    if (stepChanged)
        for (auto i = listeners.size(); i-- > 0;)
            if (i < listeners.size())
                listeners[i]->clockStepChanged (*this);

    return runningChanged || stepChanged;
}
