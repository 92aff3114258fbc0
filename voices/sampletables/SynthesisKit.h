#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// Small building blocks for the cymbal table generator. They run once, at
// build time, on an oversampled grid; nothing here is used by the voices.
namespace sampletables::kit
{
constexpr double pi = 3.14159265358979323846;

// Deterministic white noise, uniform in [-1, 1).
class Noise
{
public:
    explicit Noise(std::uint64_t seed) : state(seed) {}

    double next() noexcept
    {
        // splitmix64: identical on every platform, unlike std::rand.
        state += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }

private:
    std::uint64_t state;
};

// Audio-EQ-cookbook biquad, direct form I.
class Biquad
{
public:
    enum class Shape { lowPass, highPass, bandPass };

    // frequency in Hz, q dimensionless, rate in Hz
    void set(Shape shape, double frequency, double q, double rate) noexcept
    {
        const double w0 = 2.0 * pi * frequency / rate;
        const double alpha = std::sin(w0) / (2.0 * q);
        const double cosW0 = std::cos(w0);
        const double a0 = 1.0 + alpha;

        switch (shape)
        {
            case Shape::lowPass:
                b0 = b2 = (1.0 - cosW0) / 2.0 / a0;
                b1 = (1.0 - cosW0) / a0;
                break;
            case Shape::highPass:
                b0 = b2 = (1.0 + cosW0) / 2.0 / a0;
                b1 = -(1.0 + cosW0) / a0;
                break;
            case Shape::bandPass:
                b0 = alpha / a0;
                b1 = 0.0;
                b2 = -alpha / a0;
                break;
        }

        a1 = -2.0 * cosW0 / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double process(double x) noexcept
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

// A bank of square oscillators at inharmonic frequencies, each also
// ring-modulated with its partner half a bank away: the classic metallic
// source of electronic cymbals.
class SquareBank
{
public:
    SquareBank(std::vector<double> frequenciesHz, double ringAmount, double rate)
        : ring(ringAmount)
    {
        for (const double f : frequenciesHz)
            oscillators.push_back({ 0.0, f / rate });
    }

    double next() noexcept
    {
        double sum = 0.0;
        const std::size_t half = oscillators.size() / 2;

        for (std::size_t i = 0; i < oscillators.size(); ++i)
        {
            const double level = value(i);
            sum += level;

            if (i < half)
                sum += ring * level * value(i + half);
        }

        for (auto& o : oscillators)
        {
            o.phase += o.increment;
            o.phase -= std::floor(o.phase);
        }

        return sum / static_cast<double>(oscillators.size());
    }

private:
    struct Oscillator
    {
        double phase;     // cycles, 0..1
        double increment; // cycles per sample
    };

    double value(std::size_t i) const noexcept { return oscillators[i].phase < 0.5 ? 1.0 : -1.0; }

    std::vector<Oscillator> oscillators;
    double ring;
};

// A decaying sine partial with a slowly beating twin a few hertz away.
struct Partial
{
    double frequency; // Hz
    double amplitude; // linear
    double decay;     // time constant, seconds
    double beat;      // Hz between the partial and its twin
};

class PartialBank
{
public:
    PartialBank(std::vector<Partial> partialsIn, Noise& phases) : partials(std::move(partialsIn))
    {
        for (std::size_t i = 0; i < partials.size(); ++i)
            startPhases.push_back(2.0 * pi * (phases.next() + 1.0));
    }

    double at(double seconds) const noexcept
    {
        double sum = 0.0;

        for (std::size_t i = 0; i < partials.size(); ++i)
        {
            const Partial& p = partials[i];
            const double phase = 2.0 * pi * p.frequency * seconds + startPhases[i];
            const double twin = std::sin(phase + 2.0 * pi * p.beat * seconds + startPhases[i] * 0.37);
            sum += p.amplitude * std::exp(-seconds / p.decay) * (std::sin(phase) + 0.6 * twin);
        }

        return sum;
    }

private:
    std::vector<Partial> partials;
    std::vector<double> startPhases;
};

// Windowed-sinc low-pass that takes the oversampled signal down to the table
// rate, so the naive squares leave no audible aliases.
std::vector<double> decimate(const std::vector<double>& input, int factor, double cutoffHz, double inputRate);

// Scales to the given peak and fades the last fadeSeconds to zero, so the
// voice never clicks when it reaches the end of the table.
void normaliseAndFade(std::vector<double>& table, double peak, double fadeSeconds, double rate);
} // namespace sampletables::kit
