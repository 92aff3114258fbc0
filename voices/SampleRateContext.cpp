#include "voices/SampleRateContext.h"

#include <cmath>

double smoothingFactorFor(double sampleRate)
{
    return 2.0 * (1.0 - std::pow(0.5, 44100.0 / sampleRate));
}

bool SampleRateContext::isUsableRate(double rate)
{
    return std::isfinite(rate) && rate >= 1.0;
}

void SampleRateContext::setSampleRate(double newRate)
{
    if (! isUsableRate(newRate))
        return;

    const double sr = newRate;
    const double k = smoothingFactorFor(sr);

    sampleRate = sr;
    sampleRateF = static_cast<float>(sr);

    if (sr == 44100.0)
        rateIndex = 0;
    else if (sr == 48000.0)
        rateIndex = 1;
    else if (sr == 88200.0)
        rateIndex = 2;
    else if (sr == 96000.0)
        rateIndex = 3;
    else if (sr == 192000.0)
        rateIndex = 4;

    invSampleRate = 1.0 / sr;
    invSampleRateF = static_cast<float>(invSampleRate);
    halfInvSampleRate = 1.0 / (2.0 * sr);
    rateRatio = sr * 2.2675736961451248e-5;
    rateRatioF = static_cast<float>(rateRatio);
    smoothing = k;
    smoothingF = static_cast<float>(k);
    inverseRatio = 44100.0 / sr;
    octaveStep = std::pow(2.0, inverseRatio) - 1.0;
    octaveStepF = static_cast<double>(static_cast<float>(octaveStep));
    smoothingCubed = k * k * k;
    smoothingCubedF = static_cast<float>(smoothingCubed);
    nyquist = sr * 0.5;
    smoothing2ms = k * 0.002;
    smoothing2msF = static_cast<float>(smoothing2ms);
    smoothing5msF = static_cast<float>(k * 0.005);
    smoothingHalfMsF = static_cast<float>(k * 0.0005);
    samplesPerMsF = static_cast<float>(sr) * 0.001f;
    samplesPerMs = sr * 0.001;
    levelSmoothing = k * 0.002;
    levelSmoothingF = static_cast<float>(levelSmoothing);
}
