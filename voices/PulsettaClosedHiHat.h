#pragma once

#include "voices/PulsettaSampledInstrument.h"

/** The closed hi-hat: the short hi-hat table with a quick rise and a decay
    set by its Decay control. An open hi-hat hit chokes it (through the core). */
class PulsettaClosedHiHat : public PulsettaSampledInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (41, 42). */
    enum Control
    {
        tuneControl = 0,
        decayControl = 1
    };

    PulsettaClosedHiHat();

    double process() override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setDecay(double value);

    double getTuneFactor() const { return tuneFactor; }
    double getDecayRate() const { return decayRate; } // per sample

private:
    // Raw normalised values.
    double tune = 0.5, decay = 0.5;
    double tuneFactor = 1.0;
    double decayRate = 0.0;
};
