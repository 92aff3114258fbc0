#include "voices/PulsettaHiHat.h"

#include "voices/NormalisedValue.h"

PulsettaHiHat::PulsettaHiHat(const sampletables::Table& source, DecayCurve curve)
    : PulsettaSampledInstrument(source),
      decayCurve(curve)
{
    setTune(tune);
}

void PulsettaHiHat::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaHiHat::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = cymbalTuneFactor(static_cast<double>(static_cast<float>(tune) + 1.0f));
}

void PulsettaHiHat::setDecay(double v)
{
    decay = normalisedValue(v);
    // A sounding hat keeps the decay it took when its attack ended; the new
    // one sounds from the next hit.
    decayRate = decayCurve(decay) * context.smoothing;
}

void PulsettaHiHat::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    setDecay(decay);
    envelopeRate = 0.5;
}
