#pragma once

#include <cstdint>

/** The per-rate constants that the core and every voice keep beside them.
    The smoothing factor k scales every per-sample rate of the voices, so that
    envelope and smoothing times stay close to what they are at 44.1 kHz. */
class SampleRateContext
{
public:
    SampleRateContext() { setSampleRate(44100.0); }

    /** Recomputes every derived value; a rate outside the five common ones
        keeps the previous rate index. Rates at or below zero, and non-finite
        rates, are ignored: no voice can run at them. */
    void setSampleRate(double newRate);

    static bool isUsableRate(double rate);

    double sampleRate = 0.0;        // Hz
    float sampleRateF = 0.0f;       // Hz
    std::int32_t rateIndex = 0;     // 0..4 for 44.1, 48, 88.2, 96, 192 kHz
    double invSampleRate = 0.0;     // s
    float invSampleRateF = 0.0f;    // s
    double halfInvSampleRate = 0.0; // s
    double rateRatio = 0.0;         // sr / 44100
    float rateRatioF = 0.0f;
    double smoothing = 0.0;         // k = 2 (1 - 0.5^(44100/sr)), 1 at 44.1 kHz
    float smoothingF = 0.0f;
    double inverseRatio = 0.0;      // 44100 / sr
    double octaveStep = 0.0;        // 2^(44100/sr) - 1
    double octaveStepF = 0.0;       // the same, rounded to single precision
    double smoothingCubed = 0.0;    // k^3
    float smoothingCubedF = 0.0f;
    double nyquist = 0.0;           // Hz
    double smoothing2ms = 0.0;      // k * 0.002
    float smoothing2msF = 0.0f;
    float smoothing5msF = 0.0f;     // k * 0.005
    float smoothingHalfMsF = 0.0f;  // k * 0.0005
    float samplesPerMsF = 0.0f;     // samples per millisecond
    double samplesPerMs = 0.0;
    double levelSmoothing = 0.0;    // k * 0.002
    float levelSmoothingF = 0.0f;
};

/** The smoothing factor k for a rate (Hz). */
double smoothingFactorFor(double sampleRate);
