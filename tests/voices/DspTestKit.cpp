#include "DspTestKit.h"

#include "tools/WavFile.h"
#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numeric>

namespace dsptest
{
namespace
{
using voiceconstants::pi;

std::size_t endOf(const Signal& signal, std::size_t end)
{
    return end == 0 || end > signal.size() ? signal.size() : end;
}
} // namespace

Signal Rendering::mix() const
{
    Signal sum(voices[0].size(), 0.0);
    for (const auto& voiceSignal : voices)
        std::transform(sum.begin(), sum.end(), voiceSignal.begin(), sum.begin(), std::plus<>());
    return sum;
}

float defaultSoundParameter(int index)
{
    switch (index)
    {
        case 14: return 0.25f; // Bass Drum Attack
        case 15: return 0.25f; // Bass Drum Decay
        case 18: return 0.25f; // Snare Drum Tone
        case 40: return 1.0f;  // Hand Clap Reverb
        case 46: return 1.0f;  // Crash Decay
        case 48: return 1.0f;  // Ride Decay
        default: return 0.5f;  // levels, the other controls, Main Volume
    }
}

void applyDefaultParameters(PulsettaCore& core)
{
    for (int index = 0; index <= instrument::mainVolumeParameter; ++index)
        core.setParameter(index, defaultSoundParameter(index));
}

std::unique_ptr<PulsettaCore> makeCore(double sampleRate, std::size_t preRollSamples)
{
    auto core = std::make_unique<PulsettaCore>();
    core->setSampleRate(static_cast<float>(sampleRate));
    applyDefaultParameters(*core);
    if (preRollSamples > 0)
        render(*core, preRollSamples);
    return core;
}

Rendering render(PulsettaCore& core, std::size_t frames, const std::vector<Hit>& hits)
{
    std::vector<Hit> sorted(hits);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Hit& a, const Hit& b) { return a.sample < b.sample; });

    Rendering rendering;
    for (auto& voiceSignal : rendering.voices)
        voiceSignal.resize(frames);
    rendering.triggerOut.resize(frames);

    // In runs from hit to hit, as the drum machine renders between events.
    std::size_t next = 0;
    for (std::size_t n = 0; n < frames;)
    {
        while (next < sorted.size() && sorted[next].sample <= static_cast<std::int64_t>(n))
        {
            core.trigger(sorted[next].instrument, sorted[next].velocity);
            ++next;
        }
        std::size_t end = frames;
        if (next < sorted.size())
            end = std::min(end, static_cast<std::size_t>(sorted[next].sample));
        double* outputs[instrument::numVoices];
        for (std::size_t slot = 0; slot < rendering.voices.size(); ++slot)
            outputs[slot] = rendering.voices[slot].data() + n;
        core.render(outputs, static_cast<int>(end - n));
        for (; n < end; ++n)
            rendering.triggerOut[n] = core.processTriggerOut();
    }
    return rendering;
}

Signal renderVoice(PulsettaCore& core, int slot, std::size_t frames, const std::vector<Hit>& hits)
{
    return render(core, frames, hits).voices[static_cast<std::size_t>(slot)];
}

double peak(const Signal& signal, std::size_t begin, std::size_t end)
{
    double highest = 0.0;
    for (std::size_t i = begin; i < endOf(signal, end); ++i)
        highest = std::max(highest, std::fabs(signal[i]));
    return highest;
}

std::size_t peakIndex(const Signal& signal)
{
    const auto byMagnitude = [](double a, double b) { return std::fabs(a) < std::fabs(b); };
    return static_cast<std::size_t>(std::max_element(signal.begin(), signal.end(), byMagnitude) - signal.begin());
}

double decayTime(const Signal& signal, double sampleRate, double decibels)
{
    const std::size_t top = peakIndex(signal);
    const double highest = std::fabs(signal.empty() ? 0.0 : signal[top]);
    if (highest == 0.0)
        return 0.0;
    const double threshold = highest * std::pow(10.0, -decibels / 20.0);
    std::size_t last = top;
    for (std::size_t i = top; i < signal.size(); ++i)
        if (std::fabs(signal[i]) > threshold)
            last = i;
    return static_cast<double>(last - top) / sampleRate;
}

bool allFinite(const Signal& signal)
{
    return std::all_of(signal.begin(), signal.end(), [](double x) { return std::isfinite(x); });
}

double zeroCrossingFrequency(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end)
{
    end = endOf(signal, end);
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = std::max<std::size_t>(begin, 1); i < end; ++i)
    {
        if (signal[i - 1] < 0.0 && signal[i] >= 0.0)
        {
            const double fraction = -signal[i - 1] / (signal[i] - signal[i - 1]);
            const double time = static_cast<double>(i - 1) + fraction;
            if (crossings == 0)
                first = time;
            last = time;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0.0;
    return static_cast<double>(crossings - 1) * sampleRate / (last - first);
}

double autocorrelationPitch(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end,
                            double lowest, double highest)
{
    end = endOf(signal, end);
    const auto shortestLag = static_cast<std::size_t>(std::floor(sampleRate / highest));
    const auto longestLag = static_cast<std::size_t>(std::ceil(sampleRate / lowest));
    if (end <= begin + longestLag + 2)
        return 0.0;

    // The mean is taken out first: a slow offset would otherwise favour the
    // longest lag.
    const auto from = signal.begin() + static_cast<std::ptrdiff_t>(begin);
    const double mean = std::accumulate(from, from + static_cast<std::ptrdiff_t>(end - begin), 0.0)
                      / static_cast<double>(end - begin);

    auto correlation = [&](std::size_t lag) {
        double sum = 0.0, energyA = 0.0, energyB = 0.0;
        for (std::size_t i = begin; i + lag < end; ++i)
        {
            const double a = signal[i] - mean, b = signal[i + lag] - mean;
            sum += a * b;
            energyA += a * a;
            energyB += b * b;
        }
        return energyA > 0.0 && energyB > 0.0 ? sum / std::sqrt(energyA * energyB) : 0.0;
    };

    std::vector<double> values(longestLag + 2, 0.0);
    for (std::size_t lag = shortestLag > 0 ? shortestLag - 1 : 0; lag <= longestLag + 1; ++lag)
        values[lag] = correlation(lag);

    std::size_t best = shortestLag;
    for (std::size_t lag = shortestLag; lag <= longestLag; ++lag)
        if (values[lag] > values[best])
            best = lag;

    double refined = static_cast<double>(best);
    if (best > 0)
    {
        const double a = values[best - 1], b = values[best], c = values[best + 1];
        const double denominator = a - 2.0 * b + c;
        if (denominator != 0.0)
            refined += 0.5 * (a - c) / denominator;
    }
    return sampleRate / refined;
}

double dominantFrequency(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end,
                         double lowest, double highest)
{
    end = endOf(signal, end);
    const std::size_t length = end > begin ? end - begin : 0;
    if (length < 2)
        return 0.0;

    std::vector<double> windowed(length);
    for (std::size_t i = 0; i < length; ++i)
        windowed[i] = signal[begin + i] * (0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i) / static_cast<double>(length - 1)));

    double bestFrequency = 0.0, bestPower = -1.0;
    for (double frequency = lowest; frequency <= highest; frequency += 0.5)
    {
        const double w = 2.0 * pi * frequency / sampleRate;
        const double coefficient = 2.0 * std::cos(w);
        double s1 = 0.0, s2 = 0.0;
        for (double x : windowed)
        {
            const double s0 = x + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        if (power > bestPower)
        {
            bestPower = power;
            bestFrequency = frequency;
        }
    }
    return bestFrequency;
}

bool writeWav(const std::string& path, const Signal& signal, double sampleRate, bool normalise)
{
    // 32-bit float samples: a slow tail quantised to 16 bits would draw
    // false chirps into a spectrogram.
    const double highest = peak(signal);
    const double gain = normalise && highest > 0.0 ? 0.89 / highest : 1.0;
    std::vector<float> samples(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i)
        samples[i] = static_cast<float>(std::clamp(signal[i] * gain, -1.0, 1.0));
    return clihost::writeWav(path, { samples }, std::round(sampleRate));
}

std::string outputFolder()
{
    for (const char* variable : { "PULSETTA_TEST_OUTPUT", "TMPDIR" })
        if (const char* folder = std::getenv(variable); folder != nullptr && *folder != '\0')
            return folder;
    return "/tmp";
}
} // namespace dsptest
