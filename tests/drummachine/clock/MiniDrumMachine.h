#pragma once

#include "PlaybackOwner.h"

#include "drummachine/clock/ShuffledClockNew.h"
#include "drummachine/sequencer/PulsettaSeq.h"

#include <utility>
#include <vector>

/** The native or host half of the drum machine's block, with the internal
    clock running at the pattern's tempo. */
class MiniDrumMachine
{
public:
    MiniDrumMachine (PlaybackOwner& o, PulsettaSeq& s, bool hostMode) : owner (o), seq (s), host (hostMode)
    {
        for (auto* clock : { &patternClock, &flamClock })
            clock->setSampleRate (44100.0);
    }

    void startNative (double position)
    {
        seq.startNative();
        followPattern();
        patternClock.start (position);
        syncFlamClock();
        locatePending = true;
    }

    void startHost (int pattern)
    {
        seq.startHost (pattern);
        followPattern();
        patternClock.restart (0.0);
        syncFlamClock();
        flamClock.stop();
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
    int cursorPattern() const { return host ? seq.getHostPattern() : seq.getNativePattern(); }
    int cursorStep() const { return host ? seq.getHostStep() : seq.getNativeStep(); }

    void followPattern()
    {
        patternClock.setTempo (host ? seq.getHostPatternTempo() : seq.getNativePatternTempo());
        patternClock.setShuffle (host ? seq.getHostPatternShuffle() : seq.getNativePatternShuffle());
        patternClock.setStepsPerBeat (host ? seq.getHostPatternScale() : seq.getNativePatternScale());
        flamClock.setGateFraction (host ? seq.getHostPatternFlam() : seq.getNativePatternFlam());
    }

    void syncFlamClock()
    {
        flamClock.setTempo (patternClock.getTempo());
        flamClock.setStepsPerBeat (patternClock.getStepsPerBeat());
    }

    void playStep()
    {
        // The first step after a start finds its place in the song.
        if (locatePending && ! host)
            seq.locate (patternClock.getPosition());
        locatePending = false;

        followPattern();
        syncFlamClock();
        flamClock.restart (0.0);

        if (host)
            seq.playHostStep (false);
        else
            seq.playNativeStep (false);
        savedPattern = cursorPattern();
        savedStep = cursorStep();
        played.emplace_back (savedPattern, savedStep);
        if (host)
            seq.advanceHostStep();
        else
            seq.advanceNativeStep();
    }

    void playFlamStrokes()
    {
        if (host)
        {
            seq.setHostCursor (savedPattern, savedStep);
            seq.playHostStep (true);
            seq.advanceHostStep();
        }
        else
        {
            seq.setNativeCursor (savedPattern, savedStep);
            seq.playNativeStep (true);
            seq.advanceNativeStep();
        }
        flamClock.stop();
    }

    PlaybackOwner& owner;
    PulsettaSeq& seq;
    bool host;
    ShuffledClockNew patternClock { "nativeClock" };
    ShuffledClockNew flamClock;
    int savedPattern = 0, savedStep = 0;
    bool locatePending = false;
};
