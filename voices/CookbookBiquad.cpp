#include "voices/CookbookBiquad.h"

#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>

namespace
{
using voiceconstants::pi;
constexpr double highestFractionOfRate = 0.45;
constexpr double lowestFrequency = 1.0e-3; // Hz: keeps sin w0 away from zero

struct Angle
{
    double w0, sine, cosine;
};

Angle angleFor(double frequency, double sampleRate)
{
    const double w0 = 2.0 * pi * cookbook::clampedFrequency(frequency, sampleRate) / sampleRate;
    return { w0, std::sin(w0), std::cos(w0) };
}

double alphaForBandwidth(const Angle& angle, double bandwidthOctaves)
{
    return angle.sine * std::sinh(std::log(2.0) / 2.0 * bandwidthOctaves * angle.w0 / angle.sine);
}

BiquadCoefficients normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    return { b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0 };
}

BiquadCoefficients lowPassFromAlpha(const Angle& angle, double alpha)
{
    const double c = angle.cosine;
    return normalised((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}
} // namespace

double cookbook::clampedFrequency(double frequency, double sampleRate)
{
    const double highest = sampleRate * highestFractionOfRate;
    if (! (frequency >= lowestFrequency)) // also catches NaN
        return lowestFrequency;
    return std::min(frequency, highest);
}

BiquadCoefficients cookbook::lowPass(double frequency, double bandwidthOctaves, double sampleRate)
{
    const Angle angle = angleFor(frequency, sampleRate);
    return lowPassFromAlpha(angle, alphaForBandwidth(angle, bandwidthOctaves));
}

BiquadCoefficients cookbook::lowPassWithQ(double frequency, double q, double sampleRate)
{
    const Angle angle = angleFor(frequency, sampleRate);
    return lowPassFromAlpha(angle, angle.sine / (2.0 * q));
}

BiquadCoefficients cookbook::highPass(double frequency, double bandwidthOctaves, double sampleRate)
{
    const Angle angle = angleFor(frequency, sampleRate);
    const double alpha = alphaForBandwidth(angle, bandwidthOctaves);
    const double c = angle.cosine;
    return normalised((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

BiquadCoefficients cookbook::bandPass(double frequency, double bandwidthOctaves, double sampleRate)
{
    const Angle angle = angleFor(frequency, sampleRate);
    const double alpha = alphaForBandwidth(angle, bandwidthOctaves);
    return normalised(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * angle.cosine, 1.0 - alpha);
}
