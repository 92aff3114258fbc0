#pragma once

#include <juce_core/juce_core.h>

#include <cmath>

// Numbers read from text or handed in by a host are checked here before they
// reach a value: JUCE reads "nan" and "inf" as numbers, and a clamp lets NaN
// through.

// Any thread. The value, or the fallback when the value is NaN or infinite.
inline double finiteOr (double value, double fallback) noexcept
{
    return std::isfinite (value) ? value : fallback;
}

// Any thread. The value cut toward zero into an int, saturated at the int
// range (NaN gives 0).
inline int truncateToInt (double value) noexcept
{
    if (! (value == value))
        return 0;

    constexpr double lowest = -2147483648.0, highest = 2147483647.0;
    return static_cast<int> (value < lowest ? lowest : (value > highest ? highest : value));
}

// Any thread. The value as a float, saturated at the float range (NaN gives 0).
inline float toFiniteFloat (double value) noexcept
{
    if (! (value == value))
        return 0.0f;

    constexpr double highest = 3.4028234663852886e38;
    return static_cast<float> (value < -highest ? -highest : (value > highest ? highest : value));
}

// Any thread. The value limited to [low, high]; low when the range is empty.
template <typename Number>
Number clampToRange (Number value, Number low, Number high) noexcept
{
    if (value > high)
        value = high;
    return value < low ? low : value;
}

// Any thread. The number as a standard stream writes a double by default: up
// to six significant figures, no trailing zeros, exponent form for very large
// or small numbers ("0.5", "120", "1e+07"), whatever the locale.
juce::String toStreamText (double value);

// Any thread. The leading decimal number of the text (after blanks, with an
// optional sign), read in the C locale whatever the host's: 0 when there is
// none, infinite beyond the double range, NaN for "nan". Every number of a
// document or a host's text is read through this: JUCE's own reader
// overflows an int on a long exponent ("1e99999999999").
double parseDecimal (const juce::String& text) noexcept;

// Any thread. The text read as a double; 0 when it is no number or not finite.
double parseFiniteDouble (const juce::String& text) noexcept;

// Any thread. A decimal attribute read by parseDecimal (so possibly not
// finite: the caller decides), or the fallback when the element lacks it.
double readDecimalAttribute (const juce::XmlElement& element, juce::StringRef name, double fallback) noexcept;

// Any thread. The leading integer of the text (after blanks, with an optional
// sign); 0 when there is none; saturated to the int range.
int parseLeadingInt (const juce::String& text) noexcept;

// Any thread. An integer attribute read by parseLeadingInt, or the fallback
// when the element lacks it. Documents are read through this instead of
// XmlElement::getIntAttribute, whose parser overflows on "-2147483648" and
// wraps larger numbers.
int readIntAttribute (const juce::XmlElement& element, juce::StringRef name, int fallback) noexcept;
