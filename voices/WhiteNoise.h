#pragma once

#include <cstdint>

/** The core's shared white noise: a two-word additive generator, restarted
    from fixed seed words so every run sounds the same. Values lie in
    -0.5..0.5. */
class WhiteNoise
{
public:
    static constexpr std::uint32_t seed0 = 0x67452301u;
    static constexpr std::uint32_t seed1 = 0xEFCDAB89u;

    void reseed()
    {
        s0 = seed0;
        s1 = seed1;
    }

    double next()
    {
        const float value = static_cast<float>(static_cast<std::int32_t>(s1)) * 2.3283064365386963e-10f; // 2^-32
        s0 ^= s1;
        s1 += s0;
        return static_cast<double>(value);
    }

private:
    std::uint32_t s0 = 0;
    std::uint32_t s1 = 0;
};
