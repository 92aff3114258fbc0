#include "voices/TomNoise.h"

#include "voices/SampleLoops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    samplesSinceReset = 0;
    // The slowest pole of the filters (about 0.96 at 48 kHz) falls below
    // 1e-17 within 30 ms at every rate.
    settlingSamples = static_cast<int>(std::ceil(sampleRate * 0.03));
}

void TomNoise::start(double velocity)
{
    burstPeak = std::max(burstPeak, velocity);
    burstTarget = 0.0;
    burstEnvelope.rate = smoothing * 0.8;
    burstCounter = static_cast<std::int32_t>(std::trunc(sampleRate * 0.002));
}

void TomNoise::render(const double* whiteNoise, double* out, int numFrames)
{
    // The filters and the counter in locals over the loop: out could point
    // at any of them, as far as the compiler knows, so members would be
    // stored and loaded again every sample, in the filters' chains.
    OnePoleLowPass low = lowPass;
    Biquad high = band;
    if (isAtRest())
    {
        // The burst has come to rest: it would give its value again every sample.
        const double gain = (burstEnvelope.value * 8.0 + 1.0);
        for (int n = 0; n < numFrames; ++n)
            out[n] = gain * filter(low, high, whiteNoise[n]) * -0.25;
    }
    else
    {
        auto step = sampleloops::EnvelopeStep::toward(burstTarget, burstEnvelope.rate);
        double envelope = burstEnvelope.value;
        std::int32_t counter = burstCounter;
        for (int n = 0; n < numFrames; ++n)
        {
            const double y = filter(low, high, whiteNoise[n]);
            if (counter == 0)
            {
                envelope = burstPeak;
                burstEnvelope.rate = smoothing * 0.04;
                step = sampleloops::EnvelopeStep::toward(burstTarget, burstEnvelope.rate);
            }
            // The counter only needs to pass zero once per hit: holding it at -1
            // keeps it from wrapping round into a spurious burst on long runs.
            if (counter >= 0)
                --counter;
            envelope = envelope * step.keep + step.push;
            out[n] = (envelope * 8.0 + 1.0) * y * -0.25;
        }
        burstEnvelope.value = envelope;
        burstCounter = counter;
    }
    lowPass = low;
    band = high;
    samplesSinceReset += numFrames;
}

double TomNoise::process(double whiteNoise)
{
    double out = 0.0;
    render(&whiteNoise, &out, 1);
    return out;
}

bool TomNoise::isAtRest() const
{
    return burstCounter == -1
           && sampleloops::atRest(burstEnvelope.value, sampleloops::EnvelopeStep::toward(burstTarget, burstEnvelope.rate));
}

void TomNoise::catchUp(const WhiteNoise& now)
{
    const int samples = static_cast<int>(std::min<std::int64_t>(settlingSamples, samplesSinceReset));
    WhiteNoise history = now;
    history.rewind(samples);
    lowPass.state = 0.0;
    band.clear();
    for (int n = 0; n < samples; ++n)
        filter(lowPass, band, history.next());
}
