#pragma once

#include "voices/SimdPack.h"

/** The stage every voice ends in: two 1 Hz low-passes of its raw sample x
    (x = 0 while the voice is silent), the level with its smoothing, the mix,
    and the peak follower that tells when the voice has faded. */
struct OutputStage
{
    double lp1 = 0.0;       // first 1 Hz low-pass of x
    double lp2 = 0.0;       // second 1 Hz low-pass, of lp1
    double level = 0.0;     // smoothed level
    double levelTarget = 0.0;
    double levelRate = 0.0; // k * 0.002 per sample
    double pole = 0.0;      // of the 1 Hz low-passes
    double peak = 0.0;      // peak follower
    double peakDecay = 0.0; // k * 0.0002 per sample
    double magnitude = 0.0; // |last output|
    double lp1Weight = 0.0; // in the mix
    double lp2Weight = 0.0;

    /** A voice stops once its peak falls below this. */
    static constexpr double switchOffPeak = 3e-5;
};

/** The output stage's values for one voice (T = double) or for one lane per
    voice (T a pack), so one piece of code serves both. */
template <class T> struct OutputStageLanes
{
    T lp1, lp2, level, levelTarget, levelRate, pole, peak, peakDecay, lp1Weight, lp2Weight;
};

namespace outputstage
{
/** The level's next value. */
template <class T> PULSETTA_INLINE T nextLevel(const OutputStageLanes<T>& s)
{
    return s.level - ((s.level - s.levelTarget) * s.levelRate + 1e-20);
}

/** One sample of y from x; levelMoves false when the level has come to rest
    and its step would give the same value. */
template <class T, bool levelMoves = true> PULSETTA_INLINE T step(OutputStageLanes<T>& s, T x)
{
    using simd::abs;
    using simd::max;
    s.lp1 = x - (x - s.lp1) * s.pole + 1e-20;
    s.lp2 = s.lp1 - (s.lp1 - s.lp2) * s.pole + 1e-20;
    if (levelMoves)
        s.level = nextLevel(s);
    // Every weight is 0 or a whole number, so the sum is exactly the written mix.
    const T y = (s.lp1Weight * s.lp1 + s.lp2Weight * s.lp2 + x) * s.level;
    s.peak = s.peak - (s.peak * s.peakDecay + 1e-20);
    s.peak = max(abs(y), s.peak);
    return y;
}

inline OutputStageLanes<double> lanesOf(const OutputStage& s)
{
    return { s.lp1, s.lp2, s.level, s.levelTarget, s.levelRate, s.pole, s.peak, s.peakDecay, s.lp1Weight, s.lp2Weight };
}

inline void keep(OutputStage& s, const OutputStageLanes<double>& lanes, double lastOutput)
{
    s.lp1 = lanes.lp1;
    s.lp2 = lanes.lp2;
    s.level = lanes.level;
    s.peak = lanes.peak;
    s.magnitude = simd::abs(lastOutput);
}
} // namespace outputstage
