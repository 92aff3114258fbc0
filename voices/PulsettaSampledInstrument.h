#pragma once

#include "voices/PulsettaInstrument.h"
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
    double readInterpolated(std::int32_t n, double t)
    {
        const std::int64_t end = static_cast<std::int64_t>(length);
        const std::int64_t i = n;
        if (i >= end + 2)
        {
            playing = false;
            active = false;
            lastOutput = 0.0;
            return 0.0;
        }

        const double* const at = table.data();
        if (isChoked() || i < 0)
        {
            y0 = y1 = y2 = y3 = 0.0;
        }
        else
        {
            y0 = (i >= 1 && i <= end) ? at[i - 1] : 0.0;
            y1 = i < end ? at[i] : 0.0;
            y2 = i < end - 1 ? at[i + 1] : 0.0;
            y3 = i < end - 2 ? at[i + 2] : 0.0;
        }

        // Sixths and thirds by multiplication: the spline's weights move by
        // a unit in their last place at most, far below the 8-bit table's step.
        constexpr double sixth = 1.0 / 6.0;
        constexpr double twoThirds = 2.0 / 3.0;
        c0 = (y0 + y2) * sixth + y1 * twoThirds;
        c1 = (y2 - y0) / 2.0;
        c2 = (y0 + y2) / 2.0 - y1;
        c3 = (y1 - y2) / 2.0 + (y3 - y0) * sixth;
        lastOutput = ((c3 * t + c2) * t + c1) * t + c0;
        return lastOutput;
    }

    // State, for inspection.
    std::uint32_t getLength() const { return length; }            // source samples
    double getSample(std::uint32_t index) const { return index < length ? table[index] : 0.0; }
    double getPosition() const { return position; }              // source samples
    double getSourceStep() const { return sourceStep; }          // source samples per output sample at tune 1
    bool isPlaying() const { return playing; }
    double getEnvelope() const { return envelope; }
    double getAmplitude() const { return amplitude; }

protected:
    // Inline, as every sampled voice calls them once per sample.

    /** Moves the play position on by one output sample at this tune factor. */
    void advance(double tuneFactor)
    {
        lastIncrement = tuneFactor * sourceStep;
        position += lastIncrement;
    }

    /** Reads the table at the current play position. */
    double readAtPosition()
    {
        // The whole part by truncation, a step down for negative fractions:
        // floor without the library's general code.
        readIndex = static_cast<std::int32_t>(position);
        double whole = static_cast<double>(readIndex);
        if (whole > position)
        {
            --readIndex;
            whole -= 1.0;
        }
        fraction = position - whole;
        return readInterpolated(readIndex, fraction);
    }

    /** The hi-hats' envelope: a short rise to the velocity's amplitude, then a
        fall toward 0 at the decay rate. */
    double stepHiHatEnvelope(double decayRate)
    {
        if (attackCounter > 0 && --attackCounter == 0)
        {
            amplitude = 0.0;
            envelopeRate = decayRate;
        }
        envelope = envelope - ((envelope - amplitude) * envelopeRate + 1e-20);
        return envelope;
    }

    std::vector<double> table; // -1 .. 127/128
    std::uint32_t length = 0;  // samples
    double position = 0.0;     // source samples
    double fraction = 0.0;
    double lastIncrement = 0.0;
    double lastOutput = 0.0;
    std::int32_t readIndex = 0;
    double sourceStep = 0.0;   // 31200 / sr
    double y0 = 0.0, y1 = 0.0, y2 = 0.0, y3 = 0.0;
    double c0 = 0.0, c1 = 0.0, c2 = 0.0, c3 = 0.0;
    bool playing = false;
    double amplitude = 0.0;
    std::int32_t attackCounter = 0; // samples
    double envelope = 0.0;
    double envelopeRate = 0.0;      // per sample
};

/** The tune factor of the hi-hats and the crash from 1 + the normalised Tune
    value: 0.75 at 1, 1.0 at 1.5, 1.53 at 2. */
double cymbalTuneFactor(double onePlusValue);
