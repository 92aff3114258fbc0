#include "voices/PulsettaClosedHiHat.h"

#include <cmath>

namespace
{
double closedDecayRate(double decay)
{
    return std::pow(0.009513455798562357, decay + 1.0) * 0.23644400215160355 + 0.0002806004366701215;
}
} // namespace

PulsettaClosedHiHat::PulsettaClosedHiHat()
    : PulsettaHiHat(sampletables::closedHiHat, closedDecayRate)
{
    PulsettaHiHat::setSampleRate(44100.0);
}

int PulsettaClosedHiHat::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
    {
        if (! playing)
        {
            x[n] = 0.0;
            continue;
        }
        advance(tuneFactor);
        const double read = readAtPosition();
        x[n] = read * stepHiHatEnvelope(decayRate) * 0.04 * 4.5;
        if (! active)
            return n + 1;
    }
    return run.numFrames;
}
