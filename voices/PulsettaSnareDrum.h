#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/PulsettaInstrument.h"

#include <array>

/** The snare drum: two waveshaped tone oscillators swept down after the
    attack, plus a "snappy" band of the core's white noise. */
class PulsettaSnareDrum : public PulsettaInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters (17..21). */
    enum Control
    {
        tuneControl = 0,
        toneControl = 1,
        tuneDepthControl = 2,
        decayControl = 3,
        snappyControl = 4
    };

    PulsettaSnareDrum();

    int renderModel(const VoiceRun& run, double* x) override;
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setTone(double value);
    void setTuneDepth(double value);
    void setDecay(double value);
    void setSnappy(double value);

    double getTuneFactor() const { return tuneFactor; }
    double getToneRate() const { return toneRate; }   // per sample
    double getSweepDepth() const { return sweepDepth; }
    double getDecayRate() const { return decayRate; } // per 1000 samples
    double getSnappy() const { return snappyAmount; }

private:
    struct Kernel;

    /** One tone oscillator: a phase-shaped wave whose period is stretched on
        every n-th cycle, which roughens the tone. */
    struct Oscillator
    {
        double phase = 0.0;       // radians
        double multiplier = 1.0;  // period stretch of the current cycle
        double inverse = 1.0;     // 1 / multiplier, taken once a cycle
        double squareSign = 0.0;  // +1 from pi on, -1 below, 0 before the first sample
        int cycleCounter = 0;
    };

    /** The envelopes that step together: two toward the gate and the
        amplitude while it is open, then the snappy one; the noise envelope
        apart, as its own gate opens later. The pitch and tone envelopes of
        the two oscillators always move alike, so each pair is one. */
    enum Envelope
    {
        pitchEnvelope,
        toneEnvelope,
        bodyEnvelope,
        snappyEnvelope,
        numEnvelopes
    };

    /** Where the voice is in a hit: the attack, the release while the noise
        gate is open, the rest of the release. Every rate stays the same
        within one. */
    enum class Stage
    {
        attack,
        noiseBurst,
        tail
    };

    void startStage(Stage stage);
    void enterRelease();
    void endNoiseBurst();

    double tune = 0.5, tone = 0.25, snappy = 0.5, tuneDepth = 0.5, decay = 0.5;
    double tuneFactor = 0.0, toneRate = 0.0, sweepDepth = 0.0, decayRate = 0.0, snappyAmount = 0.0;

    Oscillator oscillator1, oscillator2;
    std::array<double, numEnvelopes> envelope {}, envelopeRate {};
    double noiseEnvelope = 0.0, noiseEnvelopeRate = 0.0;
    Stage stage = Stage::tail;
    int attackCounter = 0; // samples of the attack still to go
    int noiseCounter = 0;  // samples of the noise burst still to go
    double gate = 0.0;
    double noiseGate = 0.0;
    double linearAmplitude = 0.0;
    double squaredAmplitude = 0.0;
    OnePoleHighPass snappyHighPass; // 3822 Hz, used with its sign inverted
    double snappyHigh = 0.0;
    double previousNoise = 0.0;
    Biquad bandLowPass;  // 3900 Hz, Q 1.5, run twice per sample
    Biquad bandHighPass; // 4000 Hz, 1.5 octaves
    double smoothed = 0.0, smoothingRate = 0.0; // the output smoother
    double radiansPerHertz = 0.0; // 2 pi / sr
};
