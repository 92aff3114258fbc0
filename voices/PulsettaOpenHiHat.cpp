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
    : PulsettaHiHat(sampletables::openHiHat, { openDecayRate, 0.025, true, selfChokePosition })
{
    PulsettaHiHat::setSampleRate(44100.0);
}
