#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/PulsettaInstrument.h"

#include <array>

/** A tom: three triangle oscillators whose symmetry follows a pitch envelope,
    swept down from above their base pitch, soft-clipped and mixed under three
    amplitude envelopes, plus the core's tom noise. One class for the three
    toms, which differ only in their oscillator frequencies. */
class PulsettaTom : public PulsettaInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters
        (22..26 low, 27..31 mid, 32..36 high). */
    enum Control
    {
        tuneControl = 0,
        toneControl = 1,
        tuneDepthControl = 2,
        decayControl = 3,
        tuneDecayControl = 4
    };

    /** The three oscillator frequencies (Hz): the main tone, a lower and a higher one. */
    PulsettaTom(double frequency1, double frequency2, double frequency3);

    int renderModel(const VoiceRun& run, double* x) override;
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setTone(double value);
    void setTuneDepth(double value);
    void setDecay(double value);
    void setTuneDecay(double value);

    double getTuneFactor() const { return tuneFactor; }
    double getToneRate() const { return toneRate; }   // per sample
    double getDepth() const { return depth; }
    double getDecayRate() const { return decayRate; } // per sample
    double getTuneDecay() const { return tuneDecay; } // per sample, before the sweep scaling
    double getBaseFrequency(int oscillator) const { return baseFrequency[static_cast<std::size_t>(oscillator)]; }

private:
    struct Kernel;

    /** The envelopes in two groups of four that step together: the first
        toward the amplitude while the gate is open, the second toward the
        gate (the bright one toward six times the gate). */
    enum Envelope
    {
        mainEnvelope,
        secondEnvelope,
        thirdEnvelope,
        noiseEnvelope,
        sweepEnvelope1,
        sweepEnvelope2,
        pitchEnvelope,
        brightEnvelope,
        numEnvelopes
    };

    /** What the frequency-dependent oscillator values are made of, redone
        whenever Tune or Tune Depth changes, so the samples need not. */
    void updateOscillatorFrequencies();
    void startRelease();

    double tune = 0.5, tone = 0.5, tuneDepth = 0.5, decay = 0.5, tuneDecayValue = 0.5;
    double tuneFactor = 0.0, toneRate = 0.0, depth = 0.0, decayRate = 0.0, tuneDecay = 0.0;
    double depthAboveOne = 0.0; // depth - 1

    // The three oscillators: main, low, high.
    std::array<double, 3> baseFrequency {};  // Hz
    std::array<double, 3> tunedFrequency {}; // Hz: base x tune factor, where the sweep starts from
    std::array<double, 3> sweepSpan {};      // Hz: base x depth - base, covered by the whole sweep
    std::array<double, 3> symmetryScale { 0.565, 0.565, 0.575 };
    std::array<double, 3> phase {};          // radians
    std::array<double, 3> smoothedWave {};   // each wave after its smoother, at waveSmoothingRate

    /** Samples of the attack still to go; -1 once it is over, until the next
        sample switches to the release and sets it to released. */
    int attackCounter = 0;
    static constexpr int released = -2;
    double gate = 0.0;
    double squaredAmplitude = 0.0;
    std::array<double, numEnvelopes> envelope {}, envelopeRate {};
    double mainSmoothed = 0.0, mainSmoothedRate = 0.0; // the main envelope smoothed once more
    double waveSmoothingRate = 0.0;
    double radiansPerCycleStep = 0.0; // phase step per Hz: 2 pi / sr
    Biquad dcBlocker; // high-pass at 10 Hz, 6.5 octaves
};

class PulsettaLowTom : public PulsettaTom
{
public:
    PulsettaLowTom() : PulsettaTom(88.97, 57.67, 165.6) {}
};

class PulsettaMidTom : public PulsettaTom
{
public:
    PulsettaMidTom() : PulsettaTom(110.0, 71.24, 181.65) {}
};

class PulsettaHiTom : public PulsettaTom
{
public:
    PulsettaHiTom() : PulsettaTom(132.2, 89.89, 249.7) {}
};
