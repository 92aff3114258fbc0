#pragma once

#include "voices/CookbookBiquad.h"
#include "voices/PulsettaInstrument.h"
#include "voices/Smoother.h"

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

    double processWithNoise(double tomNoise) override;
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
    double getBaseFrequency(int oscillator) const { return oscillators[static_cast<std::size_t>(oscillator)].baseFrequency; }

private:
    struct Oscillator
    {
        double baseFrequency = 0.0;  // Hz
        double tunedFrequency = 0.0; // Hz: base x tune factor, where the sweep starts from
        double sweepSpan = 0.0;      // Hz: base x depth - base, covered by the whole sweep
        double phase = 0.0;          // radians
        double smoothedWave = 0.0;   // the wave after its smoother, at waveSmoothingRate
        double symmetryScale = 0.565;
    };

    /** What the frequency-dependent oscillator values are made of, redone
        whenever Tune or Tune Depth changes, so the samples need not. */
    void updateOscillatorFrequencies();
    void startRelease();
    /** One sample of an oscillator's smoothed wave at this sweep (0..1) and
        symmetry stretch. */
    double renderOscillator(Oscillator& oscillator, double sweep, double symmetryStretch);

    double tune = 0.5, tone = 0.5, tuneDepth = 0.5, decay = 0.5, tuneDecayValue = 0.5;
    double tuneFactor = 0.0, toneRate = 0.0, depth = 0.0, decayRate = 0.0, tuneDecay = 0.0;
    double depthAboveOne = 0.0; // depth - 1

    std::array<Oscillator, 3> oscillators;
    /** Samples of the attack still to go; -1 once it is over, until the next
        sample switches to the release and sets it to released. */
    int attackCounter = 0;
    static constexpr int released = -2;
    double gate = 0.0;
    double squaredAmplitude = 0.0;
    Smoother mainEnvelope, secondEnvelope, thirdEnvelope, mainEnvelopeSmoothed;
    Smoother noiseEnvelope, sweepEnvelope1, sweepEnvelope2, pitchEnvelope, brightEnvelope;
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
