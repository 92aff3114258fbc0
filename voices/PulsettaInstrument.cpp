#include "voices/PulsettaInstrument.h"

#include <cmath>

namespace
{
constexpr double switchOffPeak = 3e-5; // the voice stops once its peak falls below this
constexpr double startPeak = 0.01;
} // namespace

PulsettaInstrument::PulsettaInstrument(OutputMix mix)
    : outputMix(mix)
{
    PulsettaInstrument::setSampleRate(44100.0);
}

double PulsettaInstrument::process()
{
    return 0.0;
}

double PulsettaInstrument::processWithNoise(double)
{
    return 0.0;
}

void PulsettaInstrument::trigger(double)
{
    startVoice();
}

void PulsettaInstrument::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    context.setSampleRate(sampleRate);
    active = false;
    pole38 = std::exp(-238.76104167282426 / sampleRate);
    pole1 = std::exp(-2.0 * 3.14159265358979323846 / sampleRate);
    memoryA = outLp1 = outLp2 = memoryB = 0.0;
    levelRate = context.smoothing * 0.002;
    peakDecay = context.smoothing * 0.0002;
}

void PulsettaInstrument::setLevel(double newLevel)
{
    levelTarget = newLevel;
}

void PulsettaInstrument::setControl(int, double)
{
}

void PulsettaInstrument::startVoice()
{
    active = true;
    peak = startPeak;
}

double PulsettaInstrument::renderOutput(double x)
{
    outLp1 = x - (x - outLp1) * pole1 + 1e-20;
    outLp2 = outLp1 - (outLp1 - outLp2) * pole1 + 1e-20;
    level = level - ((level - levelTarget) * levelRate + 1e-20);

    double mixed = 0.0;
    switch (outputMix)
    {
        case OutputMix::boostedLowPass: mixed = outLp2 * 5.0 + x; break;
        case OutputMix::lowPassDifference: mixed = outLp1 - 10.0 * outLp2 + x; break;
        case OutputMix::strongLowPass: mixed = x + 100.0 * outLp1; break;
    }
    const double y = mixed * level;

    peak = peak - (peak * peakDecay + 1e-20);
    magnitude = std::fabs(y);
    if (magnitude > peak)
        peak = magnitude;
    if (peak < switchOffPeak)
        active = false;
    return y;
}
