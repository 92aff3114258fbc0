#pragma once

#include "voices/PulsettaSampledInstrument.h"
#include "voices/Smoother.h"

/** The open hi-hat: the long hi-hat table with a slow decay. It chokes itself
    when its position reaches the open hat's ring-out point, and a closed
    hi-hat hit chokes it at once (through the core). */
class PulsettaOpenHiHat : public PulsettaSampledInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (43, 44). */
    enum Control
    {
        tuneControl = 0,
        decayControl = 1
    };

    /** Source position (samples) from which the open hat is silent. */
    static constexpr double selfChokePosition = 16128.0;

    PulsettaOpenHiHat();

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
    Smoother smoothedTune; // a tune change glides instead of jumping
};
