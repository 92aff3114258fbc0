#pragma once

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
    double output = 0.0;      // s1 - s4

    /** The coefficient of a nominal frequency (Hz) at a rate (Hz). Above
        sr / 2 pi a one-pole stage would overshoot, so it is held at 1 there
        (only very low rates come near it). */
    static double coefficientFor(double frequency, double sampleRate)
    {
        return std::min(1.0, 2.0 * voiceconstants::pi * frequency / sampleRate);
    }

    void clear() { loop = s1 = s2 = s3 = s4 = output = 0.0; }

    /** One sample with excitation e; returns s1 - s4 (audio thread). */
    double process(double e)
    {
        const double g = coefficient;
        const double limited = std::clamp(loop, -1.0, 1.0);
        loop = feedback * s4 * 0.582 + loop * 0.418;
        const double u = loop * 0.36 + limited * 0.64;
        s1 = std::clamp((e - u) * g + (1.0 - g) * s1 + 1e-20, -1.0, 1.0);
        s2 = g * s1 + (1.0 - g) * s2 + 1e-20;
        s3 = g * s2 + (1.0 - g) * s3 + 1e-20;
        s4 = g * s3 + (1.0 - g) * s4 + 1e-20;
        output = s1 - s4;
        return output;
    }
};
