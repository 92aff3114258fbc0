#include "voices/sampletables/SynthesisKit.h"

#include <algorithm>

namespace sampletables::kit
{
std::vector<double> decimate(const std::vector<double>& input, int factor, double cutoffHz, double inputRate)
{
    constexpr int halfTaps = 127;
    std::vector<double> taps;
    const double fc = cutoffHz / inputRate; // cycles per input sample

    for (int j = -halfTaps; j <= halfTaps; ++j)
    {
        const double sinc = j == 0 ? 2.0 * fc : std::sin(2.0 * pi * fc * j) / (pi * j);
        const double w = 2.0 * pi * (j + halfTaps) / (2.0 * halfTaps);
        const double blackman = 0.42 - 0.5 * std::cos(w) + 0.08 * std::cos(2.0 * w);
        taps.push_back(sinc * blackman);
    }

    std::vector<double> output(input.size() / static_cast<std::size_t>(factor));
    const auto length = static_cast<long>(input.size());

    for (std::size_t m = 0; m < output.size(); ++m)
    {
        double sum = 0.0;
        const long centre = static_cast<long>(m) * factor;

        for (int j = -halfTaps; j <= halfTaps; ++j)
        {
            const long n = centre + j;
            if (n >= 0 && n < length)
                sum += taps[static_cast<std::size_t>(j + halfTaps)] * input[static_cast<std::size_t>(n)];
        }

        output[m] = sum;
    }

    return output;
}

void normaliseAndFade(std::vector<double>& table, double peak, double fadeSeconds, double rate)
{
    const auto fadeLength = std::min(table.size(), static_cast<std::size_t>(fadeSeconds * rate));
    const std::size_t fadeStart = table.size() - fadeLength;

    for (std::size_t i = fadeStart; i < table.size(); ++i)
    {
        const double x = static_cast<double>(i - fadeStart + 1) / static_cast<double>(fadeLength);
        table[i] *= 0.5 * (1.0 + std::cos(pi * x));
    }

    double largest = 0.0;
    for (const double x : table)
        largest = std::max(largest, std::abs(x));

    if (largest > 0.0)
        for (double& x : table)
            x *= peak / largest;
}
} // namespace sampletables::kit
