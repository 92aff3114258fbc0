#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/SimdPack.h"

#include <cstring>

/** Pieces the voices' sample loops share. A voice renders a run in passes:
    the recurrences (envelopes, phases, filters) go sample by sample, the rest
    (wave shapes, knees, mixes) four samples at a time in packs. */
namespace sampleloops
{
/** One sample of the recurrence every envelope is made of,
    value <- value - ((value - target) x rate + 1e-20), written as
    value <- value x keep + push: the same model in two steps instead of four. */
struct EnvelopeStep
{
    double keep = 1.0; // 1 - rate
    double push = 0.0; // target x rate - 1e-20

    static EnvelopeStep toward(double target, double rate) { return { 1.0 - rate, target * rate - 1e-20 }; }
};

/** Whether a value has come to rest under its step: the step gives it
    again, to the bit. */
inline bool atRest(double value, EnvelopeStep step)
{
    const double next = value * step.keep + step.push;
    return std::memcmp(&next, &value, sizeof next) == 0;
}

/** Frames rounded up to whole packs. */
constexpr int inPacks(int frames)
{
    return (frames + simd::lanes - 1) / simd::lanes * simd::lanes;
}

/** A direct-form-I biquad over a run, in place, with an offset added to
    each output (1e-20 keeps a decaying tail off denormal numbers; 0 for
    none). The feed-forward part, which needs no earlier output, goes four
    samples at a time; the feedback part sample by sample, grouped so that a
    sample waits on the one before only through one multiplication and one
    subtraction. */
template <class P> PULSETTA_INLINE void runBiquad(Biquad& filter, double* samples, int numFrames, double offset)
{
    const auto& c = filter.coefficients;
    const double x1 = filter.x1, x2 = filter.x2;
    const double lastInput = numFrames >= 1 ? samples[numFrames - 1] : x1;
    const double beforeLastInput = numFrames >= 2 ? samples[numFrames - 2] : (numFrames == 1 ? x1 : x2);

    // Feed-forward, from the end back so each input is read before it is overwritten.
    int n = numFrames;
    for (; n >= simd::lanes + 2; n -= simd::lanes)
    {
        const int at = n - simd::lanes;
        const P x = P::load(samples + at), xPrevious = P::load(samples + at - 1), xBefore = P::load(samples + at - 2);
        ((c.b0 * x + c.b1 * xPrevious) + c.b2 * xBefore + offset).store(samples + at);
    }
    for (--n; n >= 0; --n)
    {
        const double previous = n >= 1 ? samples[n - 1] : x1;
        const double before = n >= 2 ? samples[n - 2] : (n == 1 ? x1 : x2);
        samples[n] = (c.b0 * samples[n] + c.b1 * previous) + c.b2 * before + offset;
    }

    double y1 = filter.y1, y2 = filter.y2;
    for (int i = 0; i < numFrames; ++i)
    {
        const double y = (samples[i] - c.a2 * y2) - c.a1 * y1;
        samples[i] = y;
        y2 = y1;
        y1 = y;
    }
    filter.x1 = lastInput;
    filter.x2 = beforeLastInput;
    filter.y1 = y1;
    filter.y2 = y2;
}
} // namespace sampleloops
