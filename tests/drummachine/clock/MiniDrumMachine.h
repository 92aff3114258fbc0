#pragma once

#include "tests/drummachine/sequencer/SequencerTestSupport.h"

#include "drummachine/clock/ShuffledClockNew.h"
#include "drummachine/sequencer/PulsettaSeq.h"

#include <utility>
#include <vector>

/** The native half of the drum machine's block: a pattern clock at the
    pattern's tempo plays and advances the cursor at each step start, a flam
    clock restarted at every played step replays its flam strokes at its gate end. */
class MiniDrumMachine
{
public:
    MiniDrumMachine (RecordingOwner& o, PulsettaSeq& s) : owner (o), seq (s)
    {
        for (auto* clock : { &patternClock, &flamClock })
            clock->setSampleRate (44100.0);
    }

    void startNative (double position)
    {
        seq.startNative();
        followPattern();
        patternClock.start (position);
        locatePending = true;
    }

    void processBlock (int numSamples)
    {
        for (int i = 0; i < numSamples; ++i, ++sample)
        {
            owner.sample = sample;

            if (patternClock.advance())
                for (int e = 0; e < patternClock.getNumEvents(); ++e)
                    if (patternClock.getEvent (e).kind == ShuffledClockNew::stepStartEvent)
                        playStep();

            if (flamClock.advance())
                for (int e = 0; e < flamClock.getNumEvents(); ++e)
                    if (flamClock.getEvent (e).kind == ShuffledClockNew::stepEndEvent)
                        playFlamStrokes();
        }
    }

    std::vector<std::pair<int, int>> played; // (pattern, step) of every normal pass
    std::int64_t sample = 0;

private:
    void followPattern()
    {
        patternClock.setTempo (seq.getNativePatternTempo());
        patternClock.setShuffle (seq.getNativePatternShuffle());
        patternClock.setStepsPerBeat (seq.getNativePatternScale());
        flamClock.setGateFraction (seq.getNativePatternFlam());
        flamClock.setTempo (patternClock.getTempo());
        flamClock.setStepsPerBeat (patternClock.getStepsPerBeat());
    }

    void playStep()
    {
        // The first step after a start finds its place in the song.
        if (locatePending)
            seq.locate (patternClock.getPosition());
        locatePending = false;

        followPattern();
        flamClock.restart (0.0);
        seq.playNativeStep (false);
        savedPattern = seq.getNativePattern();
        savedStep = seq.getNativeStep();
        played.emplace_back (savedPattern, savedStep);
        seq.advanceNativeStep();
    }

    void playFlamStrokes()
    {
        seq.setNativeCursor (savedPattern, savedStep);
        seq.playNativeStep (true);
        seq.advanceNativeStep();
        flamClock.stop();
    }

    RecordingOwner& owner;
    PulsettaSeq& seq;
    ShuffledClockNew patternClock { "nativeClock" };
    ShuffledClockNew flamClock;
    int savedPattern = 0, savedStep = 0;
    bool locatePending = false;
};
