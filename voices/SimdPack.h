#pragma once

#include "voices/FastExp.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

/** Four doubles worked on together, for the voices' sample loops: the lanes
    are four samples of one voice, or one sample of four voices. Two packs
    with the same operations: Sse2Pack in two 128-bit registers, which every
    x86-64 processor has, and Avx2Pack in one 256-bit register, for code
    compiled with PULSETTA_TARGET_AVX2 and run only where the processor has
    AVX2. Every operation is the same IEEE operation on each lane in both, and
    none is fused, so both give the same bits as the scalar code they
    replace.

    Everything here is forced inline: a pack never crosses a call, so the
    calling convention for 256-bit values (which the compiler warns about) is
    never used, and each function takes the instruction set of the function
    it lands in. */
#define PULSETTA_INLINE inline __attribute__((always_inline))
#define PULSETTA_TARGET_AVX2 __attribute__((target("avx2")))

namespace simd
{
typedef double Double2 __attribute__((vector_size(16)));
typedef std::int64_t Int2 __attribute__((vector_size(16)));
typedef std::uint64_t Bits2 __attribute__((vector_size(16)));
typedef double Double4 __attribute__((vector_size(32)));
typedef std::int64_t Int4 __attribute__((vector_size(32)));
typedef std::uint64_t Bits4 __attribute__((vector_size(32)));

constexpr int lanes = 4;

/** Four lanes as two SSE2 registers. */
struct Sse2Pack
{
    Double2 lo, hi;

    struct Mask
    {
        Int2 lo, hi;
        PULSETTA_INLINE friend Mask operator&(Mask a, Mask b) { return { a.lo & b.lo, a.hi & b.hi }; }
        PULSETTA_INLINE friend Mask operator|(Mask a, Mask b) { return { a.lo | b.lo, a.hi | b.hi }; }
        PULSETTA_INLINE friend Mask operator~(Mask a) { return { ~a.lo, ~a.hi }; }
        PULSETTA_INLINE bool any() const
        {
            const Int2 m = lo | hi;
            return (m[0] | m[1]) != 0;
        }
    };

    PULSETTA_INLINE static Sse2Pack splat(double x) { return { Double2 { x, x }, Double2 { x, x } }; }
    PULSETTA_INLINE static Sse2Pack of(double a, double b, double c, double d) { return { Double2 { a, b }, Double2 { c, d } }; }
    PULSETTA_INLINE static Sse2Pack load(const double* p)
    {
        Sse2Pack r;
        std::memcpy(&r.lo, p, sizeof r.lo);
        std::memcpy(&r.hi, p + 2, sizeof r.hi);
        return r;
    }
    PULSETTA_INLINE void store(double* p) const
    {
        std::memcpy(p, &lo, sizeof lo);
        std::memcpy(p + 2, &hi, sizeof hi);
    }
    PULSETTA_INLINE double operator[](int i) const { return i < 2 ? lo[i] : hi[i - 2]; }

    PULSETTA_INLINE friend Sse2Pack operator+(Sse2Pack a, Sse2Pack b) { return { a.lo + b.lo, a.hi + b.hi }; }
    PULSETTA_INLINE friend Sse2Pack operator-(Sse2Pack a, Sse2Pack b) { return { a.lo - b.lo, a.hi - b.hi }; }
    PULSETTA_INLINE friend Sse2Pack operator*(Sse2Pack a, Sse2Pack b) { return { a.lo * b.lo, a.hi * b.hi }; }
    PULSETTA_INLINE friend Sse2Pack operator/(Sse2Pack a, Sse2Pack b) { return { a.lo / b.lo, a.hi / b.hi }; }
    PULSETTA_INLINE friend Sse2Pack operator-(Sse2Pack a) { return { -a.lo, -a.hi }; }
    PULSETTA_INLINE friend Mask operator<(Sse2Pack a, Sse2Pack b) { return { (Int2)(a.lo < b.lo), (Int2)(a.hi < b.hi) }; }
    PULSETTA_INLINE friend Mask operator<=(Sse2Pack a, Sse2Pack b) { return { (Int2)(a.lo <= b.lo), (Int2)(a.hi <= b.hi) }; }
    PULSETTA_INLINE friend Mask operator>(Sse2Pack a, Sse2Pack b) { return b < a; }
    PULSETTA_INLINE friend Mask operator>=(Sse2Pack a, Sse2Pack b) { return b <= a; }
    PULSETTA_INLINE friend Sse2Pack select(Mask m, Sse2Pack a, Sse2Pack b)
    {
        return { (Double2)(((Int2)a.lo & m.lo) | ((Int2)b.lo & ~m.lo)), (Double2)(((Int2)a.hi & m.hi) | ((Int2)b.hi & ~m.hi)) };
    }

    /** The raw bits of each lane, and back. */
    struct Bits
    {
        Bits2 lo, hi;
    };
    PULSETTA_INLINE Bits bits() const { return { (Bits2)lo, (Bits2)hi }; }
    PULSETTA_INLINE static Sse2Pack fromBits(Bits b) { return { (Double2)b.lo, (Double2)b.hi }; }
    PULSETTA_INLINE friend Bits operator-(Bits a, Bits b) { return { a.lo - b.lo, a.hi - b.hi }; }
    PULSETTA_INLINE friend Bits operator+(Bits a, std::uint64_t b) { return { a.lo + b, a.hi + b }; }
    PULSETTA_INLINE friend Bits operator&(Bits a, std::uint64_t b) { return { a.lo & b, a.hi & b }; }
    PULSETTA_INLINE friend Bits operator>>(Bits a, int s) { return { a.lo >> s, a.hi >> s }; }
    PULSETTA_INLINE friend Bits operator<<(Bits a, int s) { return { a.lo << s, a.hi << s }; }
    PULSETTA_INLINE static std::uint64_t lane(Bits b, int i) { return i < 2 ? b.lo[i] : b.hi[i - 2]; }
};

/** Four lanes in one AVX register. */
struct Avx2Pack
{
    Double4 v;

    struct Mask
    {
        Int4 v;
        PULSETTA_INLINE friend Mask operator&(Mask a, Mask b) { return { a.v & b.v }; }
        PULSETTA_INLINE friend Mask operator|(Mask a, Mask b) { return { a.v | b.v }; }
        PULSETTA_INLINE friend Mask operator~(Mask a) { return { ~a.v }; }
        PULSETTA_INLINE bool any() const { return (v[0] | v[1] | v[2] | v[3]) != 0; }
    };

    PULSETTA_INLINE static Avx2Pack splat(double x) { return { Double4 { x, x, x, x } }; }
    PULSETTA_INLINE static Avx2Pack of(double a, double b, double c, double d) { return { Double4 { a, b, c, d } }; }
    PULSETTA_INLINE static Avx2Pack load(const double* p)
    {
        Avx2Pack r;
        std::memcpy(&r.v, p, sizeof r.v);
        return r;
    }
    PULSETTA_INLINE void store(double* p) const { std::memcpy(p, &v, sizeof v); }
    PULSETTA_INLINE double operator[](int i) const { return v[i]; }

    PULSETTA_INLINE friend Avx2Pack operator+(Avx2Pack a, Avx2Pack b) { return { a.v + b.v }; }
    PULSETTA_INLINE friend Avx2Pack operator-(Avx2Pack a, Avx2Pack b) { return { a.v - b.v }; }
    PULSETTA_INLINE friend Avx2Pack operator*(Avx2Pack a, Avx2Pack b) { return { a.v * b.v }; }
    PULSETTA_INLINE friend Avx2Pack operator/(Avx2Pack a, Avx2Pack b) { return { a.v / b.v }; }
    PULSETTA_INLINE friend Avx2Pack operator-(Avx2Pack a) { return { -a.v }; }
    PULSETTA_INLINE friend Mask operator<(Avx2Pack a, Avx2Pack b) { return { (Int4)(a.v < b.v) }; }
    PULSETTA_INLINE friend Mask operator<=(Avx2Pack a, Avx2Pack b) { return { (Int4)(a.v <= b.v) }; }
    PULSETTA_INLINE friend Mask operator>(Avx2Pack a, Avx2Pack b) { return b < a; }
    PULSETTA_INLINE friend Mask operator>=(Avx2Pack a, Avx2Pack b) { return b <= a; }
    PULSETTA_INLINE friend Avx2Pack select(Mask m, Avx2Pack a, Avx2Pack b)
    {
        return { (Double4)(((Int4)a.v & m.v) | ((Int4)b.v & ~m.v)) };
    }

    struct Bits
    {
        Bits4 v;
    };
    PULSETTA_INLINE Bits bits() const { return { (Bits4)v }; }
    PULSETTA_INLINE static Avx2Pack fromBits(Bits b) { return { (Double4)b.v }; }
    PULSETTA_INLINE friend Bits operator-(Bits a, Bits b) { return { a.v - b.v }; }
    PULSETTA_INLINE friend Bits operator+(Bits a, std::uint64_t b) { return { a.v + b }; }
    PULSETTA_INLINE friend Bits operator&(Bits a, std::uint64_t b) { return { a.v & b }; }
    PULSETTA_INLINE friend Bits operator>>(Bits a, int s) { return { a.v >> s }; }
    PULSETTA_INLINE friend Bits operator<<(Bits a, int s) { return { a.v << s }; }
    PULSETTA_INLINE static std::uint64_t lane(Bits b, int i) { return b.v[i]; }
};

/** a > b ? a : b and a < b ? a : b lane by lane, each one instruction
    (so b where either is NaN). */
PULSETTA_INLINE Sse2Pack max(Sse2Pack a, Sse2Pack b) { return { a.lo > b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi }; }
PULSETTA_INLINE Avx2Pack max(Avx2Pack a, Avx2Pack b) { return { a.v > b.v ? a.v : b.v }; }
PULSETTA_INLINE Sse2Pack min(Sse2Pack a, Sse2Pack b) { return { a.lo < b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi }; }
PULSETTA_INLINE Avx2Pack min(Avx2Pack a, Avx2Pack b) { return { a.v < b.v ? a.v : b.v }; }

/** |x| lane by lane: the sign bits cleared. */
PULSETTA_INLINE Sse2Pack abs(Sse2Pack a)
{
    const Int2 magnitude = { INT64_MAX, INT64_MAX };
    return { (Double2)((Int2)a.lo & magnitude), (Double2)((Int2)a.hi & magnitude) };
}
PULSETTA_INLINE Avx2Pack abs(Avx2Pack a) { return { (Double4)((Int4)a.v & INT64_MAX) }; }

template <class P> struct IsPack { static constexpr bool value = false; };
template <> struct IsPack<Sse2Pack> { static constexpr bool value = true; };
template <> struct IsPack<Avx2Pack> { static constexpr bool value = true; };
template <class P, class R = P> using IfPack = typename std::enable_if<IsPack<P>::value, R>::type;

// Scalars mixed with packs.
template <class P> PULSETTA_INLINE IfPack<P> operator+(P a, double b) { return a + P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P> operator+(double a, P b) { return P::splat(a) + b; }
template <class P> PULSETTA_INLINE IfPack<P> operator-(P a, double b) { return a - P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P> operator-(double a, P b) { return P::splat(a) - b; }
template <class P> PULSETTA_INLINE IfPack<P> operator*(P a, double b) { return a * P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P> operator*(double a, P b) { return P::splat(a) * b; }
template <class P> PULSETTA_INLINE IfPack<P> operator/(P a, double b) { return a / P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P> operator/(double a, P b) { return P::splat(a) / b; }
template <class P> PULSETTA_INLINE IfPack<P, typename P::Mask> operator<(P a, double b) { return a < P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P, typename P::Mask> operator<=(P a, double b) { return a <= P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P, typename P::Mask> operator>(P a, double b) { return a > P::splat(b); }
template <class P> PULSETTA_INLINE IfPack<P, typename P::Mask> operator>=(P a, double b) { return a >= P::splat(b); }

/** The scalar forms, so code written for packs also takes plain doubles. */
template <class T> PULSETTA_INLINE T splat(double x) { return T::splat(x); }
template <> PULSETTA_INLINE double splat<double>(double x) { return x; }
PULSETTA_INLINE double select(bool condition, double a, double b) { return condition ? a : b; }
PULSETTA_INLINE double max(double a, double b) { return a > b ? a : b; }
PULSETTA_INLINE double min(double a, double b) { return a < b ? a : b; }

/** x held to lowest..highest as x < lowest ? lowest : (x > highest ? highest : x) reads. */
template <class T> PULSETTA_INLINE T clamp(T x, double lowest, double highest)
{
    return max(splat<T>(lowest), min(splat<T>(highest), x));
}
/** |x|: x with its sign bit cleared, as the packs take it. */
PULSETTA_INLINE double abs(double x) { return __builtin_fabs(x); }

/** e^x on each lane, for arguments the caller knows to lie within
    -708..709: the same bits as fastexp::exp gives for that lane. */
template <class P> PULSETTA_INLINE IfPack<P> expWithinRange(P x)
{
    const P shift = P::splat(0x1.8p52);
    const P shifted = x * 0x1.71547652b82fep+6 + shift;
    const auto steps = shifted.bits() - shift.bits();
    const P stepCount = shifted - shift;
    const P r = (x - stepCount * 0x1.62e42fef00000p-7) - stepCount * 0x1.473de6af278edp-40;

    const P r2 = r * r;
    const P tail = r + r2 * (0.5 + r * (1.0 / 6.0)) + (r2 * r2) * (1.0 / 24.0 + r * (1.0 / 120.0));
    const auto index = steps & 63u;
    const P power = P::of(fastexp::powersOfTwo[P::lane(index, 0)], fastexp::powersOfTwo[P::lane(index, 1)],
                          fastexp::powersOfTwo[P::lane(index, 2)], fastexp::powersOfTwo[P::lane(index, 3)]);
    const P scale = P::fromBits(((steps >> 6) + 1023u) << 52);
    return scale * (power + power * tail);
}

/** e^x on each lane, the same bits as fastexp::exp gives for that lane. */
template <class P> PULSETTA_INLINE IfPack<P> exp(P x)
{
    return expWithinRange(clamp(x, -708.0, 709.0));
}

/** Lane i of pack j becomes lane j of pack i. */
PULSETTA_INLINE void transpose(Avx2Pack& a, Avx2Pack& b, Avx2Pack& c, Avx2Pack& d)
{
    const Double4 ab0 = __builtin_shufflevector(a.v, b.v, 0, 4, 2, 6);
    const Double4 ab1 = __builtin_shufflevector(a.v, b.v, 1, 5, 3, 7);
    const Double4 cd0 = __builtin_shufflevector(c.v, d.v, 0, 4, 2, 6);
    const Double4 cd1 = __builtin_shufflevector(c.v, d.v, 1, 5, 3, 7);
    a.v = __builtin_shufflevector(ab0, cd0, 0, 1, 4, 5);
    b.v = __builtin_shufflevector(ab1, cd1, 0, 1, 4, 5);
    c.v = __builtin_shufflevector(ab0, cd0, 2, 3, 6, 7);
    d.v = __builtin_shufflevector(ab1, cd1, 2, 3, 6, 7);
}

PULSETTA_INLINE void transpose(Sse2Pack& a, Sse2Pack& b, Sse2Pack& c, Sse2Pack& d)
{
    const Sse2Pack ra = a, rb = b, rc = c, rd = d;
    a = { __builtin_shufflevector(ra.lo, rb.lo, 0, 2), __builtin_shufflevector(rc.lo, rd.lo, 0, 2) };
    b = { __builtin_shufflevector(ra.lo, rb.lo, 1, 3), __builtin_shufflevector(rc.lo, rd.lo, 1, 3) };
    c = { __builtin_shufflevector(ra.hi, rb.hi, 0, 2), __builtin_shufflevector(rc.hi, rd.hi, 0, 2) };
    d = { __builtin_shufflevector(ra.hi, rb.hi, 1, 3), __builtin_shufflevector(rc.hi, rd.hi, 1, 3) };
}
} // namespace simd
