#pragma once

#include "drummachine/clock/ShuffledClockNew.h"

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

/** The first whole sample at or after a position in beats, counted from a start at 0. */
inline std::int64_t idealSample (long double beats, long double tempo, long double sampleRate)
{
    return static_cast<std::int64_t> (std::ceil (beats * 60.0L * sampleRate / tempo - 1.0e-6L));
}

inline void configure (ShuffledClockNew& clock, double tempo = 120.0, double sampleRate = 44100.0, double stepsPerBeat = 4.0,
                       double shuffle = 0.0, double gate = 0.5)
{
    clock.setSampleRate (sampleRate);
    clock.setTempo (tempo);
    clock.setStepsPerBeat (stepsPerBeat);
    clock.setShuffle (shuffle);
    clock.setGateFraction (gate);
}

/** One clock event with the absolute sample at which it happened. */
struct TimedClockEvent
{
    std::int64_t sample;
    std::int32_t stepFlag;
    std::int32_t kind;

    bool operator== (const TimedClockEvent& other) const
    {
        return std::tie (sample, stepFlag, kind) == std::tie (other.sample, other.stepFlag, other.kind);
    }
};

/** Advances a clock sample by sample and keeps every event it reports. */
struct ClockRecorder
{
    explicit ClockRecorder (ShuffledClockNew& clockToRun) : clock (clockToRun) {}

    ShuffledClockNew& clock;
    std::int64_t sample = 0;
    std::vector<TimedClockEvent> events;

    void run (std::int64_t numSamples)
    {
        for (std::int64_t i = 0; i < numSamples; ++i)
            step();
    }

    void step()
    {
        if (clock.advance())
            for (int e = 0; e < clock.getNumEvents(); ++e)
                events.push_back ({ sample, clock.getEvent (e).stepFlag, clock.getEvent (e).kind });
        ++sample;
    }

    std::vector<std::int64_t> samplesOf (std::int32_t kind) const
    {
        std::vector<std::int64_t> result;
        for (const auto& event : events)
            if (event.kind == kind)
                result.push_back (event.sample);
        return result;
    }
};
