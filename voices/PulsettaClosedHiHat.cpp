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
