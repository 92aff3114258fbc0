#pragma once

#include "voices/VoiceConstants.h"

#include <cmath>

/** The pole of a one-pole filter with its corner at this frequency (Hz). */
inline double onePolePole(double frequency, double sampleRate)
{
    return std::exp(-2.0 * voiceconstants::pi * frequency / sampleRate);
}

/** y <- (1 - pole) x + pole y. */
struct OnePoleLowPass
{
    double pole = 0.0;
    double state = 0.0;

    void setFrequency(double frequency, double sampleRate) { pole = onePolePole(frequency, sampleRate); }

    double process(double x)
    {
        state = (1.0 - pole) * x + pole * state;
        return state;
    }
};

/** y <- (x - previous x) (pole + 1)/2 + pole y + 1e-20: unity gain at Nyquist,
    the small offset keeps its tail off denormal numbers. */
struct OnePoleHighPass
{
    double pole = 0.0;
    double gain = 1.0; // (pole + 1) / 2
    double previousInput = 0.0;
    double previousOutput = 0.0;

    void setFrequency(double frequency, double sampleRate)
    {
        pole = onePolePole(frequency, sampleRate);
        gain = (pole + 1.0) / 2.0;
    }

    void reset(double memory)
    {
        previousInput = memory;
        previousOutput = memory;
    }

    double process(double x)
    {
        previousOutput = (x - previousInput) * gain + pole * previousOutput + 1e-20;
        previousInput = x;
        return previousOutput;
    }

    /** The same, the sums grouped so the output waits on the last one only
        through one multiplication and one addition. */
    double processQuickly(double x)
    {
        previousOutput = ((x - previousInput) * gain + 1e-20) + pole * previousOutput;
        previousInput = x;
        return previousOutput;
    }
};
