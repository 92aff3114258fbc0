#include "voices/PulsettaOpenHiHat.h"

#include <cmath>

namespace
{
double openDecayRate(double decay)
{
    return std::pow(0.8325532073947626, 10.0 * decay) * 0.0002499999999939329 + 5.000000001008943e-05;
}
} // namespace

PulsettaOpenHiHat::PulsettaOpenHiHat()
    : PulsettaHiHat(sampletables::openHiHat, openDecayRate)
{
    PulsettaOpenHiHat::setSampleRate(44100.0);
}

void PulsettaOpenHiHat::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaHiHat::setSampleRate(sampleRate);
    smoothedTune.value = tuneFactor;
    smoothedTune.rate = output.levelRate;
}

int PulsettaOpenHiHat::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
    {
        if (! playing)
        {
            x[n] = 0.0;
            continue;
        }
        advance(smoothedTune.moveToward(tuneFactor));
        if (position >= selfChokePosition)
            setChoked(true);
        const double read = readAtPosition();
        x[n] = read * stepHiHatEnvelope(decayRate) * 0.025 * 4.5;
        if (! active)
            return n + 1;
    }
    return run.numFrames;
}
