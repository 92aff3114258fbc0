#pragma once

#include <cstdint>

/** The core's shared white noise: a two-word additive generator, restarted
    from fixed seed words so every run sounds the same. Values lie in
    -0.5..0.5. Each step can be undone, so the values of the last samples can
    be had again without keeping them. */
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
        step();
        return static_cast<double>(value);
    }

    /** Moves on by samples values without making them. */
    void skip(int samples)
    {
        for (int i = 0; i < samples; ++i)
            step();
    }

    /** Goes back by samples values: next() then gives them again. */
    void rewind(int samples)
    {
        for (int i = 0; i < samples; ++i)
        {
            s1 -= s0;
            s0 ^= s1;
        }
    }

private:
    void step()
    {
        s0 ^= s1;
        s1 += s0;
    }

    std::uint32_t s0 = 0;
    std::uint32_t s1 = 0;
};
