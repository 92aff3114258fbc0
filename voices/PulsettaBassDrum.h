#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/PulsettaInstrument.h"
#include "voices/Smoother.h"

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
    double renderSample(double noise);
    double shapeWave() const;
    double softClip(double wave);

    // Raw normalised values.
    double tune = 0.5, decay = 0.25, pitch = 0.5, attack = 0.25, tuneDepth = 0.5;
    // Derived values.
    double tuneRate = 0.0, decayRate = 0.0, pitchTop = 0.0, attackGain = 0.0, sweepDepth = 0.0;

    double phase = 0.0;          // radians
    double baseFrequency = 0.0;  // Hz
    double sweepSpan = 0.0;      // Hz
    double phaseIncrement = 0.0; // radians per sample
    double wave = 0.0;
    double symmetry = 0.5;
    Smoother outputSmoother;
    double clipThreshold = 0.6;
    double clipShrink = 1.0;
    double clipped = 0.0;
    double oscillator = 0.0;
    OnePoleHighPass noiseHighPass; // 350 Hz
    OnePoleHighPass clickHighPass; // 550 Hz

    double attackCounter = 0.0; // samples
    double gate = 0.0;
    double amplitude = 0.0;
    double holdCounter = 0.0;   // samples
    double clickGate = 0.0;
    double doubledAmplitude = 0.0;
    Smoother pitchEnvelope, pitchEnvelopeSmoothed;
    Smoother amplitudeEnvelope, amplitudeEnvelopeSmoothed;
    Smoother clickEnvelope;
    Smoother noiseEnvelope;
    Biquad noiseLowPass; // 3638 Hz, 3 octaves
    Biquad clickLowPass; // 5555 Hz, 0.7 octaves
    double noiseOutput = 0.0;
    double lastRaw = 0.0;
};
