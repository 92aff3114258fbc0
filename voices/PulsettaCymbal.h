#pragma once

#include "voices/PulsettaSampledInstrument.h"

/** Crash and ride: a whole-table cymbal whose envelope follows the play
    position, so that it fades to silence exactly at Decay x 32768 source
    samples whatever the tune. */
class PulsettaCymbal : public PulsettaSampledInstrument
{
public:
    /** The voice's own controls, in the order of their sound parameters. */
    enum Control
    {
        tuneControl = 0,
        decayControl = 1
    };

    /** Source samples over which a cymbal at Decay 1 fades out. */
    static constexpr double fadeLength = 32768.0;

    int renderModel(const VoiceRun& run, double* x) override;
    void setSampleRate(double sampleRate) override;
    void setControl(int controlIndex, double value) override;

    void setTune(double value);
    void setDecay(double value);

    double getTuneFactor() const { return tuneFactor; }
    double getDecayFactor() const { return decayFactor; }
    /** The position envelope of the last sample, 1 at the start, 0 at the fade's end. */
    double getPositionEnvelope() const { return positionEnvelope; }

protected:
    PulsettaCymbal(const sampletables::Table& source, double outputGain);

    /** The voice's own tune curve, from the normalised value. */
    virtual double tuneFactorFor(double value) const = 0;

private:
    struct Kernel;

    const double gain;
    // Raw normalised values; the derived ones start from the defaults so the
    // envelope is right before any control is set.
    double tune = 0.5, decay = 1.0;
    double tuneFactor = 1.0;
    double decayFactor = 1.0;
    double smoothedDecay = 1.0, smoothedTune = 1.0; // gliding toward the decay and tune factors
    double positionEnvelope = 0.0;
};

class PulsettaCrash : public PulsettaCymbal
{
public:
    PulsettaCrash();

private:
    double tuneFactorFor(double value) const override;
};

class PulsettaRide : public PulsettaCymbal
{
public:
    PulsettaRide();

private:
    double tuneFactorFor(double value) const override;
};
