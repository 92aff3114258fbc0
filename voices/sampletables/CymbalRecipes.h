#pragma once

#include <vector>

// The four cymbal sounds of the built-in tables, synthesised from nothing but
// oscillators, seeded noise, filters and envelopes. Each returns the table at
// 31200 Hz, peak-normalised, ending in silence.
namespace sampletables
{
std::vector<double> makeClosedHiHat(); // 8128 samples
std::vector<double> makeOpenHiHat();   // 24722 samples
std::vector<double> makeCrash();       // 32768 samples
std::vector<double> makeRide();        // 32768 samples
} // namespace sampletables
