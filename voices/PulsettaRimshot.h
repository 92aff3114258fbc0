#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/PulsettaInstrument.h"
#include "voices/SelfLimitingResonator.h"

/** The rim shot: three self-limiting resonators struck by one decaying
    impulse, summed, soft-clipped and band-passed around 700 Hz. Has no noise
    input. */
class PulsettaRimshot : public PulsettaInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (37, 38). */
    enum Control
    {
        tuneControl = 0,
        decayControl = 1
    };

    PulsettaRimshot();

    int renderModel(const VoiceRun& run, double* x) override;
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setDecay(double value);

    // Derived values, for inspection.
    double getTuneValue() const { return tuneValue; }   // t = v + 0.5
    double getDecayValue() const { return decayValue; } // d = 2 v
    const SelfLimitingResonator& getResonator(int index) const { return resonators[index]; }

private:
    struct Kernel;

    void updateResonators();

    // Raw normalised values.
    double tune = 0.5, decay = 0.5;
    double tuneValue = 1.0, decayValue = 1.0;

    SelfLimitingResonator resonators[3];
    double excitation = 0.0;
    double amplitude = 0.0; // linear, from the velocity
    Biquad bandPass; // 700 Hz, 4 octaves
};
