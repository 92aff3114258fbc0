#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>

// How loud the factory content plays on the main output: a factory pattern
// started on the internal clock at its own tempo, with a factory kit, in a
// fresh instance of the product (in process), played through twice and rung
// out. Message thread; the caller keeps a message manager and the user's
// folders somewhere harmless.
namespace factoryheadroom
{
struct Measurement
{
    juce::String patternName, kitName;
    double peak = 0.0; // the main output's largest sample, full scale 1
};

// pattern 0..95 (bank x 12 + slot); preset the index of a preset in the
// factory bank, or -1 for the kit current at start-up; rate in Hz. The
// pattern starts after leadIn samples of silence: the voices' noise runs on
// meanwhile, so another lead-in gives the noisy voices other peaks.
Measurement measure (int pattern, int preset, double sampleRate, int leadIn = 8192);

// Full scale 1 in decibels.
inline double decibels (double peak)
{
    return 20.0 * std::log10 (std::max (peak, 1.0e-12));
}
} // namespace factoryheadroom
