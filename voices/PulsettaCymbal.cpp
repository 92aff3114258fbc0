#include "voices/PulsettaCymbal.h"

#include "voices/FastExp.h"
#include "voices/NormalisedValue.h"

#include <cmath>

PulsettaCymbal::PulsettaCymbal(const sampletables::Table& source, double outputGain)
    : PulsettaSampledInstrument(source),
      gain(outputGain)
{
}

void PulsettaCymbal::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaCymbal::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = tuneFactorFor(tune);
}

void PulsettaCymbal::setDecay(double v)
{
    decay = normalisedValue(v);
    decayFactor = decay * 0.9 + 0.1;
}

void PulsettaCymbal::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    smoothedDecay.value = decayFactor;
    smoothedDecay.rate = output.levelRate;
    smoothedTune.value = tuneFactor;
    smoothedTune.rate = output.levelRate;
    positionEnvelope = 0.0;
}

int PulsettaCymbal::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
    {
        if (! playing)
        {
            x[n] = 0.0;
            continue;
        }
        smoothedDecay.moveToward(decayFactor);
        advance(smoothedTune.moveToward(tuneFactor));
        const double read = readAtPosition();
        const double u = 1.0 - position / (smoothedDecay.value * fadeLength);
        positionEnvelope = u > 0.0 ? (fastexp::exp(u) - 1.0) * 0.36787944117144233 : 0.0;
        x[n] = read * positionEnvelope * gain * 4.5 * amplitude;
        if (! active)
            return n + 1;
    }
    return run.numFrames;
}

PulsettaCrash::PulsettaCrash()
    : PulsettaCymbal(sampletables::crash, 0.07)
{
    setTune(0.5);
    setDecay(1.0);
    PulsettaCymbal::setSampleRate(44100.0);
}

double PulsettaCrash::tuneFactorFor(double v) const
{
    return cymbalTuneFactor(v + 1.0);
}

PulsettaRide::PulsettaRide()
    : PulsettaCymbal(sampletables::ride, 0.045)
{
    setTune(0.5);
    setDecay(1.0);
    PulsettaCymbal::setSampleRate(44100.0);
}

double PulsettaRide::tuneFactorFor(double v) const
{
    return std::exp(-6.124135471939625 / (v + 1.0)) * 17.0398005844999 + 0.7826933488566354;
}
