#include "voices/PulsettaClosedHiHat.h"

#include <cmath>
#include <limits>

namespace
{
double closedDecayRate(double decay)
{
    return std::pow(0.009513455798562357, decay + 1.0) * 0.23644400215160355 + 0.0002806004366701215;
}
} // namespace

PulsettaClosedHiHat::PulsettaClosedHiHat()
    : PulsettaHiHat(sampletables::closedHiHat, { closedDecayRate, 0.04, false, std::numeric_limits<double>::infinity() })
{
    PulsettaHiHat::setSampleRate(44100.0);
}
