#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/Smoother.h"

#include <cstdint>

/** The noise all three toms share: white noise band-limited around 800 Hz,
    with a burst that starts 2 ms after a tom hit at the loudest tom velocity
    since the last rate change, then decays. */
class TomNoise
{
public:
    /** Clears the filters and the burst for a new rate (Hz). */
    void setSampleRate(double sampleRate, double smoothingFactor);
    /** Arms a burst after a tom hit of this velocity. */
    void start(double velocity);
    /** One sample of tom noise from one sample of white noise. */
    double process(double whiteNoise);

    std::int32_t getBurstCounter() const { return burstCounter; }
    double getBurstEnvelope() const { return burstEnvelope.value; }

private:
    OnePoleLowPass lowPass;            // at 640 Hz
    Biquad band;                       // high-pass at 800 Hz, 1.2 octaves
    std::int32_t burstCounter = 0;     // samples until the burst starts; stops at -1
    double burstTarget = 0.0;
    double burstPeak = 0.0;
    Smoother burstEnvelope;
    double sampleRate = 44100.0;       // Hz
    double smoothing = 1.0;            // k
};
