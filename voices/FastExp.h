#pragma once

#include <cstdint>
#include <cstring>

/** e^x for the voices' waveshapers and level curves: the sample loops take it
    four lanes at a time (simd::exp, the same steps on each lane), this is the
    one-lane form that says what each lane computes. Within 2 units in the last place of std::exp (about
    4e-16 relative) wherever the result is a normal number; arguments are held
    to -708..709, so the result never overflows to infinity nor falls into
    denormal numbers: there it is 1.0e-308 or 8.2e307 instead of 0 or infinity,
    which every formula of the voices (1 - 2 / (e + 1), 1 - 1/e, e - 1 on
    0..1) turns into the same value. NaN stays NaN.

    e^x = 2^m * 2^(j/64) * e^r with x = (64 m + j) ln2/64 + r, |r| <= ln2/128:
    the table holds 2^(j/64), a degree-5 polynomial gives e^r. */
namespace fastexp
{
inline constexpr double powersOfTwo[64] = {
    0x1.0000000000000p+0, 0x1.02c9a3e778061p+0, 0x1.059b0d3158574p+0, 0x1.0874518759bc8p+0,
    0x1.0b5586cf9890fp+0, 0x1.0e3ec32d3d1a2p+0, 0x1.11301d0125b51p+0, 0x1.1429aaea92de0p+0,
    0x1.172b83c7d517bp+0, 0x1.1a35beb6fcb75p+0, 0x1.1d4873168b9aap+0, 0x1.2063b88628cd6p+0,
    0x1.2387a6e756238p+0, 0x1.26b4565e27cddp+0, 0x1.29e9df51fdee1p+0, 0x1.2d285a6e4030bp+0,
    0x1.306fe0a31b715p+0, 0x1.33c08b26416ffp+0, 0x1.371a7373aa9cbp+0, 0x1.3a7db34e59ff7p+0,
    0x1.3dea64c123422p+0, 0x1.4160a21f72e2ap+0, 0x1.44e086061892dp+0, 0x1.486a2b5c13cd0p+0,
    0x1.4bfdad5362a27p+0, 0x1.4f9b2769d2ca7p+0, 0x1.5342b569d4f82p+0, 0x1.56f4736b527dap+0,
    0x1.5ab07dd485429p+0, 0x1.5e76f15ad2148p+0, 0x1.6247eb03a5585p+0, 0x1.6623882552225p+0,
    0x1.6a09e667f3bcdp+0, 0x1.6dfb23c651a2fp+0, 0x1.71f75e8ec5f74p+0, 0x1.75feb564267c9p+0,
    0x1.7a11473eb0187p+0, 0x1.7e2f336cf4e62p+0, 0x1.82589994cce13p+0, 0x1.868d99b4492edp+0,
    0x1.8ace5422aa0dbp+0, 0x1.8f1ae99157736p+0, 0x1.93737b0cdc5e5p+0, 0x1.97d829fde4e50p+0,
    0x1.9c49182a3f090p+0, 0x1.a0c667b5de565p+0, 0x1.a5503b23e255dp+0, 0x1.a9e6b5579fdbfp+0,
    0x1.ae89f995ad3adp+0, 0x1.b33a2b84f15fbp+0, 0x1.b7f76f2fb5e47p+0, 0x1.bcc1e904bc1d2p+0,
    0x1.c199bdd85529cp+0, 0x1.c67f12e57d14bp+0, 0x1.cb720dcef9069p+0, 0x1.d072d4a07897cp+0,
    0x1.d5818dcfba487p+0, 0x1.da9e603db3285p+0, 0x1.dfc97337b9b5fp+0, 0x1.e502ee78b3ff6p+0,
    0x1.ea4afa2a490dap+0, 0x1.efa1bee615a27p+0, 0x1.f50765b6e4540p+0, 0x1.fa7c1819e90d8p+0,
};

inline double exp(double x)
{
    constexpr double highest = 709.0;
    constexpr double lowest = -708.0;
    constexpr double stepsPerUnit = 0x1.71547652b82fep+6; // 64 / ln 2
    constexpr double stepHigh = 0x1.62e42fef00000p-7;     // ln 2 / 64, its product with any step count exact
    constexpr double stepLow = 0x1.473de6af278edp-40;     // the rest of ln 2 / 64
    constexpr double roundingShift = 0x1.8p52;           // adding it rounds to a whole number

    if (x > highest)
        x = highest;
    if (x < lowest)
        x = lowest;

    // Nearest whole number of steps, read from the low bits of the shifted sum.
    const double shifted = x * stepsPerUnit + roundingShift;
    std::uint64_t shiftedBits = 0;
    std::uint64_t shiftBits = 0;
    std::memcpy(&shiftedBits, &shifted, sizeof shiftedBits);
    std::memcpy(&shiftBits, &roundingShift, sizeof shiftBits);
    const std::uint64_t steps = shiftedBits - shiftBits; // two's complement of a signed count
    const double stepCount = shifted - roundingShift;
    const double r = (x - stepCount * stepHigh) - stepCount * stepLow;

    const double r2 = r * r;
    const double tail = r + r2 * (0.5 + r * (1.0 / 6.0)) + (r2 * r2) * (1.0 / 24.0 + r * (1.0 / 120.0));
    const double power = powersOfTwo[steps & 63u];

    // 2^m from the exponent bits; m = steps / 64 lies in -1022..1023.
    const std::uint64_t exponentBits = ((steps >> 6) + 1023u) << 52; // arithmetic on the unsigned count, wrapping
    double scale = 0.0;
    std::memcpy(&scale, &exponentBits, sizeof scale);
    return scale * (power + power * tail);
}

} // namespace fastexp
