#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The randomiser's Mersenne Twister. The state is filled by a plain
// multiplicative recurrence (69069) rather than the textbook initialiser, so
// that a seed gives the same patterns it always gave; drawing and tempering
// are the standard MT19937 ones. Not thread-safe: message thread only.
class RandomSource
{
public:
    explicit RandomSource (uint32_t seed = 1234) noexcept { reseed (seed); }

    void reseed (uint32_t seed) noexcept;
    uint32_t nextWord() noexcept;
    // Uniform in 0..n-1 by rejection; 0 when n < 1.
    int randomInt (int n) noexcept;

private:
    static constexpr int stateSize = 624;
    void regenerate() noexcept;

    std::array<uint32_t, stateSize> state {};
    int index = stateSize;
};

// One randomised track: a random order of the 16 steps (each step's rank
// 0..15, which the thresholds compare against) and the value drawn for each
// step: on or accented, or flam in flam mode.
struct RandomTrack
{
    std::array<uint32_t, 16> rank {};
    std::array<int32_t, 16> value {};
};

// Draws from the source in a fixed order, so a seed always gives the same tracks.
RandomTrack drawRandomTrack (RandomSource& source, bool flam);
