#pragma once

#include "voices/SimdPack.h"
#include "voices/VoiceConstants.h"

#include <algorithm>

/** Four one-pole stages in a feedback loop whose loop memory and first stage
    are clamped to -1..1, so the loop rings at its corner frequency but can
    never run away: the tone source of the rim shot and the hand clap. */
struct SelfLimitingResonator
{
    double coefficient = 0.0; // g, the one-pole coefficient 2 pi f / sr (at most 1)
    double feedback = 0.0;    // r
    double loop = 0.0;        // m
    double s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0;

    /** The coefficient of a nominal frequency (Hz) at a rate (Hz). Above
        sr / 2 pi a one-pole stage would overshoot, so it is held at 1 there
        (only very low rates come near it). */
    static double coefficientFor(double frequency, double sampleRate)
    {
        return std::min(1.0, 2.0 * voiceconstants::pi * frequency / sampleRate);
    }

    void clear() { loop = s1 = s2 = s3 = s4 = 0.0; }
};

/** The resonator's sample step, for one resonator (T = double) or one per
    lane (T a pack). One sample is, with e the input and c = 1e-20:
        limited <- m clamped to -1..1
        m  <- r s4 0.582 + m 0.418
        u  <- m 0.36 + limited 0.64
        s1 <- ((e - u) g + (1 - g) s1 + c) clamped to -1..1
        s2 <- g s1 + (1 - g) s2 + c, s3 and s4 likewise down the chain
        output s1 - s4.
    Written out here so that one sample waits on the last only through s4 ->
    s1 -> s4 (two multiplications, two additions and the clamp) instead of
    the whole loop: the terms that do not depend on the last s4 are formed
    first, and s4 comes straight from s1 as g^3 s1 plus what the later stages
    add. The same model; the sums are grouped differently. */
template <class T> struct ResonatorLanes
{
    T loop, s1, s2, s3, s4;
    // Fixed over a run: g, 1 - g, g^2, g^3, r 0.582, g 0.36 r 0.582.
    T g, keep, g2, g3, loopFeedback, inputFeedback;

    static ResonatorLanes of(T g, T r, T loop, T s1, T s2, T s3, T s4)
    {
        const T loopFeedback = r * 0.582;
        return { loop, s1, s2, s3, s4, g, 1.0 - g, g * g, g * g * g, loopFeedback, g * 0.36 * loopFeedback };
    }

    PULSETTA_INLINE T step(T e)
    {
        const T limited = simd::clamp(loop, -1.0, 1.0);
        const T rest = loop * (0.36 * 0.418) + limited * 0.64; // u less its part from the last s4
        loop = loopFeedback * s4 + loop * 0.418;
        T first = ((g * e + keep * s1 + 1e-20) - g * rest) - inputFeedback * s4;
        first = simd::clamp(first, -1.0, 1.0);
        const T b2 = keep * s2 + 1e-20, b3 = keep * s3 + 1e-20, b4 = keep * s4 + 1e-20;
        s1 = first;
        s2 = g * first + b2;
        s3 = g * s2 + b3;
        s4 = g3 * first + ((g2 * b2 + g * b3) + b4);
        return first - s4;
    }
};
