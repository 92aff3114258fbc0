#include "voices/PulsettaOpenHiHat.h"

#include "voices/NormalisedValue.h"

#include <cmath>

PulsettaOpenHiHat::PulsettaOpenHiHat()
    : PulsettaSampledInstrument(sampletables::openHiHat)
{
    setTune(tune);
    PulsettaOpenHiHat::setSampleRate(44100.0);
}

void PulsettaOpenHiHat::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaOpenHiHat::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = cymbalTuneFactor(static_cast<double>(static_cast<float>(tune) + 1.0f));
}

void PulsettaOpenHiHat::setDecay(double v)
{
    decay = normalisedValue(v);
    decayRate = (std::pow(0.8325532073947626, 10.0 * decay) * 0.0002499999999939329 + 5.000000001008943e-05)
              * context.smoothing;
    if (attackCounter == 0)
        envelopeRate = decayRate; // a sounding hat follows the knob at once
}

void PulsettaOpenHiHat::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    smoothedTune.value = tuneFactor;
    smoothedTune.rate = levelRate;
    setDecay(decay);
    envelopeRate = 0.5;
}

double PulsettaOpenHiHat::process()
{
    double x = 0.0;
    if (active && playing)
    {
        advance(smoothedTune.moveToward(tuneFactor));
        if (position >= selfChokePosition)
            setChoked(true);
        const double read = readAtPosition();
        x = read * stepHiHatEnvelope(decayRate) * 0.025 * 4.5;
    }
    return renderOutput(x);
}
