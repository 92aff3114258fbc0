#include "voices/TriggerOutPulse.h"

#include <cmath>

namespace
{
constexpr double pi = 3.14159265358979323846;
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
}

double TriggerOutPulse::process()
{
    if (position < period * 0.5)
    {
        const double argumentA = pi * (position + 1.0) / period;
        const double argumentB = pi * (position + shift) / period;
        const double a = std::sin(harmonics * argumentA) / (harmonics * std::sin(argumentA));
        const double b = std::sin(harmonics * argumentB) / (harmonics * std::sin(argumentB));
        position += 1.0;
        kernelDifference = a - b;
        integrator = (integrator + kernelDifference) * 0.997;
    }
    smoothed = smoothed - (smoothingRate * (smoothed - integrator) + 1e-20);
    return (integrator - smoothed) * 0.25;
}
