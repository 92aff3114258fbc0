#pragma once

#include "voices/PulsettaInstrument.h"
#include "voices/SampleLoops.h"
#include "voices/sampletables/SampleTables.h"

#include <cstdint>
#include <vector>

/** A voice that plays one of the built-in 8-bit tables: it decodes the table
    once at construction, then reads it with a cubic B-spline at 31200 Hz
    times its tune factor. The hi-hats, crash and ride differ only in their
    envelope, gain and controls. Has no noise input. */
class PulsettaSampledInstrument : public PulsettaInstrument
{
public:
    /** Decodes byteCount scrambled offset-binary bytes (message thread, at construction). */
    PulsettaSampledInstrument(const std::uint8_t* bytes, std::uint32_t byteCount);
    explicit PulsettaSampledInstrument(const sampletables::Table& table);

    /** Restarts the table from its first sample; ignored while the level is 0 (audio thread). */
    void trigger(double velocity) override;
    void setSampleRate(double sampleRate) override;

    /** The B-spline through the four table points around index n, at fraction
        t (0..1) past it; 0 when choked, and the end of the voice once n passes
        the table by two (audio thread). */
    double readInterpolated(std::int32_t n, double t);

    // State, for inspection.
    std::uint32_t getLength() const { return length; }            // source samples
    double getSample(std::uint32_t index) const { return index < length ? points[index + 1] : 0.0; }
    double getPosition() const { return position; }              // source samples
    double getSourceStep() const { return sourceStep; }          // source samples per output sample at tune 1
    bool isPlaying() const { return playing; }
    double getEnvelope() const { return envelope; }
    double getAmplitude() const { return amplitude; }

protected:
    static constexpr int maxFrames = maxRunFrames + simd::lanes;

    /** Where a run reads the table: at each frame the whole source sample
        and the fraction past it. */
    struct Reads
    {
        alignas(32) std::int32_t index[maxFrames];
        alignas(32) double fraction[maxFrames];
    };

    /** Moves the play position on by one output sample of this many source
        samples and notes where that is in reads[n]. False, with the voice
        ended, once the position has passed the table by two samples. */
    PULSETTA_INLINE bool advance(double increment, Reads& reads, int n)
    {
        position += increment;
        // The whole part by truncation, a step down for negative fractions:
        // floor without the library's general code.
        std::int32_t index = static_cast<std::int32_t>(position);
        double whole = static_cast<double>(index);
        if (whole > position)
        {
            --index;
            whole -= 1.0;
        }
        reads.index[n] = index;
        reads.fraction[n] = position - whole;
        if (static_cast<std::int64_t>(index) < static_cast<std::int64_t>(length) + 2)
            return true;
        playing = false;
        active = false;
        return false;
    }

    /** Reads the table at frames [0, numFrames) of reads into out, four frames
        at a time; the frames past numFrames up to a whole pack are read from
        the start of the table. A choked voice reads silence. */
    template <class P> PULSETTA_INLINE void readRun(Reads& reads, int numFrames, double* out) const
    {
        const int packed = sampleloops::inPacks(numFrames);
        for (int n = numFrames; n < packed; ++n)
        {
            reads.index[n] = 0;
            reads.fraction[n] = 0.0;
        }
        const double* at = points.data();
        for (int m = 0; m < packed; m += simd::lanes)
        {
            // Each load is four consecutive points, y0 to y3, of one frame.
            P y0 = P::load(at + reads.index[m]), y1 = P::load(at + reads.index[m + 1]);
            P y2 = P::load(at + reads.index[m + 2]), y3 = P::load(at + reads.index[m + 3]);
            simd::transpose(y0, y1, y2, y3);
            spline(y0, y1, y2, y3, P::load(reads.fraction + m)).store(out + m);
        }
    }

    /** The uniform cubic B-spline through y0..y3 at t. Sixths and thirds by
        multiplication: the weights move by a unit in their last place at
        most, far below the 8-bit table's step. */
    template <class T> static PULSETTA_INLINE T spline(T y0, T y1, T y2, T y3, T t)
    {
        constexpr double sixth = 1.0 / 6.0;
        constexpr double twoThirds = 2.0 / 3.0;
        const T c0 = (y0 + y2) * sixth + y1 * twoThirds;
        const T c1 = (y2 - y0) / 2.0;
        const T c2 = (y0 + y2) / 2.0 - y1;
        const T c3 = (y1 - y2) / 2.0 + (y3 - y0) * sixth;
        return ((c3 * t + c2) * t + c1) * t + c0;
    }

    /** The table with one silent point before it and four after, so every
        read of four points around an index from 0 to length + 1 stays in it. */
    std::vector<double> points; // -1 .. 127/128
    std::uint32_t length = 0;   // samples
    double position = 0.0;      // source samples
    double sourceStep = 0.0;    // 31200 / sr
    bool playing = false;
    double amplitude = 0.0;
    std::int32_t attackCounter = 0; // samples
    double envelope = 0.0;
    double envelopeRate = 0.0;      // per sample
};

/** The tune factor of the hi-hats and the crash from 1 + the normalised Tune
    value: 0.75 at 1, 1.0 at 1.5, 1.53 at 2. */
double cymbalTuneFactor(double onePlusValue);
