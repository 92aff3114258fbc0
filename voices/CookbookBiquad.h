#pragma once

/** Coefficients of one second-order section, normalised so that a0 = 1. */
struct BiquadCoefficients
{
    double b0 = 1.0, b1 = 0.0, b2 = 0.0; // feed-forward
    double a1 = 0.0, a2 = 0.0;           // feedback (subtracted)
};

/** Audio-EQ-cookbook designs. Bandwidths are in octaves, frequencies in Hz.
    Every design goes through one clamp that keeps the centre frequency below
    Nyquist (at most 0.45 of the rate), where the cookbook formulas would
    divide by zero; so a 4 kHz filter at an 8 kHz rate stays finite. */
namespace cookbook
{
/** The centre frequency a design really uses at this rate (Hz). */
double clampedFrequency(double frequency, double sampleRate);

BiquadCoefficients lowPass(double frequency, double bandwidthOctaves, double sampleRate);
BiquadCoefficients highPass(double frequency, double bandwidthOctaves, double sampleRate);
/** Band-pass with a constant 0 dB peak gain. */
BiquadCoefficients bandPass(double frequency, double bandwidthOctaves, double sampleRate);
/** Low-pass specified by its quality factor Q instead of a bandwidth. */
BiquadCoefficients lowPassWithQ(double frequency, double q, double sampleRate);
} // namespace cookbook

/** A biquad in direct form I: two input and two output memories. */
struct Biquad
{
    BiquadCoefficients coefficients;
    double x1 = 0.0, x2 = 0.0; // previous inputs
    double y1 = 0.0, y2 = 0.0; // previous outputs

    void clear() { x1 = x2 = y1 = y2 = 0.0; }

    /** One sample, exactly as the difference equation reads. */
    double process(double x)
    {
        const auto& c = coefficients;
        const double y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
        shift(x, y);
        return y;
    }

    /** One sample with a tiny offset added, so a decaying tail never turns
        into denormal numbers. */
    double processGuarded(double x)
    {
        const auto& c = coefficients;
        const double y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2 + 1e-20;
        shift(x, y);
        return y;
    }

    /** One sample with an offset added, the sums grouped so that the output
        waits on the last one only through one multiplication and one
        subtraction: what a sample loop does when a filter sits on its chain. */
    double processQuickly(double x, double offset)
    {
        const auto& c = coefficients;
        const double y = ((c.b0 * x + c.b1 * x1) + c.b2 * x2 + offset - c.a2 * y2) - c.a1 * y1;
        shift(x, y);
        return y;
    }

private:
    void shift(double x, double y)
    {
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
    }
};
