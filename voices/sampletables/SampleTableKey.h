#pragma once

#include <array>
#include <cstdint>

// The built-in cymbal tables are stored scrambled under a repeating 64-byte
// key. The key is not stored anywhere: the table generator and the sampled
// voices both derive it from this seed, so the two can never disagree.
namespace sampletables
{
constexpr std::size_t keyLength = 64; // bytes

// Any thread. A fixed xorshift sequence; each call gives the same 64 bytes.
inline std::array<std::uint8_t, keyLength> makeKey() noexcept
{
    std::array<std::uint8_t, keyLength> key {};
    std::uint32_t state = 0x5ad1c3b7u;

    for (auto& byte : key)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }

    return key;
}
} // namespace sampletables
