#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/PulsettaInstrument.h"

/** The bass drum: an asymmetric triangle oscillator swept down from a high
    start pitch, soft-clipped, with a held then decaying amplitude, plus a
    short filtered-noise click at the attack. Fed with the core's white noise. */
class PulsettaBassDrum : public PulsettaInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (12..16). */
    enum Control
    {
        tuneControl = 0,
        pitchControl = 1,
        attackControl = 2,
        decayControl = 3,
        tuneDepthControl = 4
    };

    PulsettaBassDrum();

    int renderModel(const VoiceRun& run, double* x) override;
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setPitch(double value);
    void setAttack(double value);
    void setDecay(double value);
    void setTuneDepth(double value);

    // Derived values, for inspection.
    double getTuneRate() const { return tuneRate; }          // per sample
    double getDecayRate() const { return decayRate; }        // per sample
    double getPitchTop() const { return pitchTop; }          // x 510 Hz at the top of the sweep
    double getBaseFrequency() const { return baseFrequency; } // Hz
    double getAttackGain() const { return attackGain; }
    double getSweepDepth() const { return sweepDepth; }

private:
    struct Kernel;

    void setSweepSpan();

    /** Where the voice is in a hit: the attack with the phase held, the
        level held, the decay. Every rate stays the same within one. */
    enum class Stage
    {
        attack,
        hold,
        decay
    };

    // Raw normalised values.
    double tune = 0.5, decay = 0.25, pitch = 0.5, attack = 0.25, tuneDepth = 0.5;
    // Derived values.
    double tuneRate = 0.0, decayRate = 0.0, pitchTop = 0.0, attackGain = 0.0, sweepDepth = 0.0;
    double baseFrequency = 0.0;  // Hz
    double sweepSpan = 0.0;      // Hz: (pitchTop x 510 - baseFrequency) x sweepDepth

    Stage stage = Stage::decay;
    double attackCounter = 0.0;  // samples of the attack still to go, less one
    double holdCounter = 0.0;    // samples the level holds after the attack
    double phase = 0.0;          // radians
    double amplitude = 0.0;
    double doubledAmplitude = 0.0;
    double pitchEnvelope = 0.0, pitchEnvelopeSmoothed = 0.0;
    double amplitudeEnvelope = 0.0, amplitudeEnvelopeSmoothed = 0.0;
    double clickGate = 0.0;
    double clickEnvelope = 0.0, clickRate = 0.0;
    double noiseEnvelope = 0.0;
    double clipShrink = 1.0;     // of the soft clip's threshold
    double smoothed = 0.0, smoothingRate = 0.0; // the output smoother
    double radiansPerHertz = 0.0; // 2 pi / sr
    OnePoleHighPass noiseHighPass; // 350 Hz
    OnePoleHighPass clickHighPass; // 550 Hz
    Biquad noiseLowPass; // 3638 Hz, 3 octaves
    Biquad clickLowPass; // 5555 Hz, 0.7 octaves
};
