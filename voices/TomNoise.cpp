#include "voices/TomNoise.h"

#include <algorithm>
#include <cmath>

void TomNoise::setSampleRate(double newRate, double smoothingFactor)
{
    sampleRate = newRate;
    smoothing = smoothingFactor;
    band.coefficients = cookbook::highPass(800.0, 1.2, sampleRate);
    band.clear();
    lowPass.setFrequency(640.0, sampleRate);
    lowPass.state = 0.0;
    burstTarget = 0.0;
    burstPeak = 0.0;
    burstEnvelope.value = 0.0;
    burstEnvelope.rate = smoothing * 0.8;
    burstCounter = 0;
}

void TomNoise::start(double velocity)
{
    burstPeak = std::max(burstPeak, velocity);
    burstTarget = 0.0;
    burstEnvelope.rate = smoothing * 0.8;
    burstCounter = static_cast<std::int32_t>(std::trunc(sampleRate * 0.002));
}

double TomNoise::process(double whiteNoise)
{
    const double y = band.process(lowPass.process(whiteNoise));

    if (burstCounter == 0)
    {
        burstEnvelope.value = burstPeak;
        burstEnvelope.rate = smoothing * 0.04;
    }
    // The counter only needs to pass zero once per hit: holding it at -1
    // keeps it from wrapping round into a spurious burst on long runs.
    if (burstCounter >= 0)
        --burstCounter;
    const double envelope = burstEnvelope.moveToward(burstTarget);

    return (envelope * 8.0 + 1.0) * y * -0.25;
}
