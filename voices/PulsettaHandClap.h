#pragma once

#include "voices/OnePoleFilters.h"
#include "voices/PulsettaInstrument.h"
#include "voices/SelfLimitingResonator.h"
#include "voices/Smoother.h"

#include <cstdint>

/** The hand clap: white noise through a self-limiting resonator, shaped by
    four quick bursts within 33 ms (three hands, then a softer fourth) and a
    reverb tail that rises during the bursts and falls at the Reverb rate.
    Fed with the core's white noise. */
class PulsettaHandClap : public PulsettaInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (39, 40). */
    enum Control
    {
        tuneControl = 0,
        reverbControl = 1
    };

    static constexpr int numBursts = 4;

    PulsettaHandClap();

    int renderModel(const VoiceRun& run, double* x) override;
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setReverb(double value);

    // Derived values and state, for inspection.
    double getResonatorCoefficient() const { return resonator.coefficient; }
    double getReverbRate() const { return reverbRate; }       // per sample
    double getBurstSmoothing() const { return burstSmoother.rate; } // per sample
    int getBurstIndex() const { return burstIndex; }
    double getBurstEnvelope() const { return burstEnvelope; }
    double getTail() const { return tail.value; }

private:
    struct Kernel;

    // Raw normalised values.
    double tune = 0.5, reverb = 1.0;

    SelfLimitingResonator resonator;
    std::int32_t burstIndex = 0;
    double burstEnvelope = 0.0;
    double burstDecay[numBursts] = {}; // per-sample factors
    std::int32_t windowCounter = 0;    // samples left in the 33 ms burst window
    double windowFlag = 0.0;           // 1 while the window is open
    Smoother tail;                     // rises in the window, then the reverb
    double reverbRate = 0.0;           // per sample
    Smoother burstSmoother;
    OnePoleLowPass bodyLowPass;        // 800 Hz
    OnePoleHighPass snapHighPass;      // 2300 Hz
    double amplitude = 0.0;            // linear, from the velocity
};
