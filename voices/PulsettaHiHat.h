#pragma once

#include "voices/PulsettaSampledInstrument.h"

/** What the closed and the open hi-hat share: their two controls, the tune
    curve of the hats and a decay rate from each hat's own curve. */
class PulsettaHiHat : public PulsettaSampledInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters
        (41, 42 closed; 43, 44 open). */
    enum Control
    {
        tuneControl = 0,
        decayControl = 1
    };

    int renderModel(const VoiceRun& run, double* x) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setDecay(double value);

    double getTuneFactor() const { return tuneFactor; }
    double getDecayRate() const { return decayRate; } // per sample

protected:
    /** The decay rate per sample at 44100 Hz from the normalised Decay value. */
    using DecayCurve = double (*)(double decay);

    /** What tells one hat from the other besides its table: its decay curve,
        its gain, whether a tune change glides, and the source position from
        which it is silent (its ring-out point). */
    struct Character
    {
        DecayCurve decayCurve;
        double gain;
        bool glidingTune;
        double silentFrom;
    };

    PulsettaHiHat(const sampletables::Table& source, const Character& character);

    // Raw normalised values.
    double tune = 0.5, decay = 0.5;
    double tuneFactor = 1.0;
    double decayRate = 0.0;

private:
    struct Kernel;

    const Character character;
    double smoothedTune = 1.0; // the tune factor gliding, when it glides
};
