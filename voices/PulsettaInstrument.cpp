#include "voices/PulsettaInstrument.h"

#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
constexpr double startPeak = 0.01;
} // namespace

PulsettaInstrument::PulsettaInstrument(OutputMix mix)
{
    switch (mix)
    {
        case OutputMix::boostedLowPass: lp2Weight = 5.0; break;                       // 5 lp2 + x
        case OutputMix::lowPassDifference: lp1Weight = 1.0; lp2Weight = -10.0; break; // lp1 - 10 lp2 + x
        case OutputMix::strongLowPass: lp1Weight = 100.0; break;                      // 100 lp1 + x
    }
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
    pole1 = std::exp(-2.0 * voiceconstants::pi / sampleRate);
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
