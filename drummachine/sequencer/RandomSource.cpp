#include "drummachine/sequencer/RandomSource.h"

#include <vector>

void RandomSource::reseed (uint32_t seed) noexcept
{
    state[0] = seed;
    for (int i = 1; i < stateSize; ++i)
        state[(std::size_t) i] = 69069u * state[(std::size_t) i - 1]; // modulo 2^32 by unsigned overflow
    index = stateSize; // the next draw regenerates the whole state
}

void RandomSource::regenerate() noexcept
{
    constexpr int offset = 397;
    constexpr uint32_t matrix = 0x9908B0DFu;
    constexpr uint32_t upperBit = 0x80000000u;
    constexpr uint32_t lowerBits = 0x7FFFFFFFu;

    for (int i = 0; i < stateSize; ++i)
    {
        const uint32_t y = (state[(std::size_t) i] & upperBit) | (state[(std::size_t) (i + 1) % stateSize] & lowerBits);
        state[(std::size_t) i] = state[(std::size_t) (i + offset) % stateSize] ^ (y >> 1) ^ ((y & 1u) != 0 ? matrix : 0u);
    }
    index = 0;
}

uint32_t RandomSource::nextWord() noexcept
{
    if (index >= stateSize)
        regenerate();

    uint32_t y = state[(std::size_t) index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

int RandomSource::randomInt (int n) noexcept
{
    if (n < 1)
        return 0;

    const uint32_t range = (uint32_t) n;
    // Reject the top partial band so every result is equally likely.
    const uint32_t limit = 0xFFFFFFFFu - (0xFFFFFFFFu % range);
    uint32_t word = nextWord();
    while (word >= limit)
        word = nextWord();
    return (int) (word % range);
}

RandomTrack drawRandomTrack (RandomSource& source, bool flam)
{
    constexpr int numSteps = 16;
    constexpr int32_t on = 1, accented = 2, flamStep = 3;

    // The order is built by inserting each step number at a random place,
    // the end included.
    std::array<uint32_t, numSteps> order {};
    int size = 0;
    for (uint32_t i = 0; i < (uint32_t) numSteps; ++i)
    {
        const int position = source.randomInt (size + 1);
        for (int j = size; j > position; --j)
            order[(std::size_t) j] = order[(std::size_t) j - 1];
        order[(std::size_t) position] = i;
        ++size;
    }

    RandomTrack track;
    for (int step = 0; step < numSteps; ++step)
    {
        track.rank[(std::size_t) step] = order[(std::size_t) step];
        if (flam)
        {
            source.randomInt (2); // drawn and dropped, as without flam
            track.value[(std::size_t) step] = flamStep;
        }
        else
        {
            track.value[(std::size_t) step] = source.randomInt (2) == 1 ? accented : on;
        }
    }
    return track;
}
