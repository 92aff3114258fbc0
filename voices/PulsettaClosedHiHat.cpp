#include "voices/PulsettaClosedHiHat.h"

#include "voices/NormalisedValue.h"

#include <cmath>

PulsettaClosedHiHat::PulsettaClosedHiHat()
    : PulsettaSampledInstrument(sampletables::closedHiHat)
{
    setTune(tune);
    PulsettaClosedHiHat::setSampleRate(44100.0);
}

void PulsettaClosedHiHat::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaClosedHiHat::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = cymbalTuneFactor(static_cast<double>(static_cast<float>(tune) + 1.0f));
}

void PulsettaClosedHiHat::setDecay(double v)
{
    decay = normalisedValue(v);
    decayRate = (std::pow(0.009513455798562357, decay + 1.0) * 0.23644400215160355 + 0.0002806004366701215)
              * context.smoothing;
    if (attackCounter == 0)
        envelopeRate = decayRate; // a sounding hat follows the knob at once
}

void PulsettaClosedHiHat::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    setDecay(decay);
    envelopeRate = 0.5;
}

double PulsettaClosedHiHat::process()
{
    double x = 0.0;
    if (active && playing)
    {
        advance(tuneFactor);
        const double read = readAtPosition();
        x = read * stepHiHatEnvelope(decayRate) * 0.04 * 4.5;
    }
    return renderOutput(x);
}
