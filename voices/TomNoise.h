#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/Smoother.h"
#include "voices/WhiteNoise.h"

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
    /** numFrames samples of tom noise from as many samples of white noise. */
    void render(const double* whiteNoise, double* out, int numFrames);
    /** One sample of tom noise from one sample of white noise. */
    double process(double whiteNoise);

    /** While no tom sounds the noise need not be rendered, once its burst
        has come to rest: rest() counts the samples that pass meanwhile, and
        catchUp() brings the filters back before a tom sounds again. */
    bool isAtRest() const;
    void rest(int numFrames) { samplesSinceReset += numFrames; }
    /** Runs the filters, from silence, over the white noise of the last
        samples that the filters need to settle (all of them since the last
        rate change when there have been fewer), from a generator set back
        by that many samples: the filters then hold what they would hold had
        they run all along, to within 1e-15. */
    void catchUp(const WhiteNoise& now);

    std::int32_t getBurstCounter() const { return burstCounter; }
    double getBurstEnvelope() const { return burstEnvelope.value; }

private:
    static double filter(OnePoleLowPass& lowPass, Biquad& band, double whiteNoise)
    {
        const double x = lowPass.process(whiteNoise);
        const auto& c = band.coefficients;
        const double feedForward = (c.b0 * x + c.b1 * band.x1) + c.b2 * band.x2;
        const double y = (feedForward - c.a2 * band.y2) - c.a1 * band.y1;
        band.x2 = band.x1;
        band.x1 = x;
        band.y2 = band.y1;
        band.y1 = y;
        return y;
    }

    OnePoleLowPass lowPass;            // at 640 Hz
    Biquad band;                       // high-pass at 800 Hz, 1.2 octaves
    std::int32_t burstCounter = 0;     // samples until the burst starts; stops at -1
    double burstTarget = 0.0;
    double burstPeak = 0.0;
    Smoother burstEnvelope;
    double sampleRate = 44100.0;       // Hz
    double smoothing = 1.0;            // k
    std::int64_t samplesSinceReset = 0;
    int settlingSamples = 0;           // what the filters need to forget where they started: 30 ms
};
