#pragma once

#include <juce_core/juce_core.h>

#include <cmath>

// The text form of a normalised preset value in preset and bank documents:
// rounded to six decimals, without trailing zeros ("0.5", "1", "0.123457").
inline juce::String formatPresetValue (double value)
{
    if (! std::isfinite (value))
        value = 0.0;

    const auto millionths = (long long) std::llround (value * 1000000.0);
    const bool negative = millionths < 0;
    const auto magnitude = negative ? -millionths : millionths;

    juce::String text = juce::String (magnitude / 1000000);
    auto fraction = juce::String (magnitude % 1000000).paddedLeft ('0', 6);

    while (fraction.endsWithChar ('0'))
        fraction = fraction.dropLastCharacters (1);

    if (fraction.isNotEmpty())
        text << "." << fraction;

    return (negative ? "-" : "") + text;
}
