#include "voices/TriggerOutPulse.h"

#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::pi;
}

void TriggerOutPulse::init(double sampleRate, double smoothingFactor)
{
    period = sampleRate / 1.1;
    const float periodF = static_cast<float>(period);
    harmonics = static_cast<double>(2.0f * std::trunc(periodF * 0.5f) + 1.0f);
    shift = std::trunc(period * 0.982);
    position = period;
    kernelDifference = 0.0;
    integrator = 0.0;
    smoothed = 0.0;
    smoothingRate = smoothingFactor * 0.001;

    const double step = pi / period;
    stepCosine = std::cos(step);
    stepSine = std::sin(step);
    harmonicStepCosine = std::cos(harmonics * step);
    harmonicStepSine = std::sin(harmonics * step);
}

void TriggerOutPulse::Phasor::start(double angle)
{
    cosine = std::cos(angle);
    sine = std::sin(angle);
}

void TriggerOutPulse::restart()
{
    position = restartPosition;
    const double a = pi * (position + 1.0) / period;
    const double b = pi * (position + shift) / period;
    argumentA.start(a);
    harmonicA.start(harmonics * a);
    argumentB.start(b);
    harmonicB.start(harmonics * b);
}

double TriggerOutPulse::process()
{
    if (position < period * 0.5)
    {
        const double a = kernel(argumentA, harmonicA);
        const double b = kernel(argumentB, harmonicB);
        argumentA.turn(stepCosine, stepSine);
        harmonicA.turn(harmonicStepCosine, harmonicStepSine);
        argumentB.turn(stepCosine, stepSine);
        harmonicB.turn(harmonicStepCosine, harmonicStepSine);
        position += 1.0;
        kernelDifference = a - b;
        integrator = (integrator + kernelDifference) * 0.997;
    }
    smoothed = smoothed - (smoothingRate * (smoothed - integrator) + 1e-20);
    return (integrator - smoothed) * 0.25;
}
