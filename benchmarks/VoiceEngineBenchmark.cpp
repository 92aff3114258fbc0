// Cost of the voice engine per sample frame, and a reference kernel of plain
// filter work to compare machines by: the ratio of the core's cost to the
// kernel's says more than either figure alone.
//
// Counters: "rtf" is the real-time factor at the rate of the run (how many
// seconds of sound one second of one core renders); "frames/s" the raw rate.

#include "voices/CookbookBiquad.h"
#include "voices/PulsettaCore.h"
#include "voices/Smoother.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>

namespace
{
std::unique_ptr<PulsettaCore> makeCore(double sampleRate)
{
    auto core = std::make_unique<PulsettaCore>();
    core->setSampleRate(static_cast<float>(sampleRate));
    for (int index = 0; index <= instrument::mainVolumeParameter; ++index)
        core->setParameter(index, 0.5f);
    // Long decays and full levels, so retriggered voices never fall silent.
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        core->setParameter(slot, 1.0f);
        for (int control = 0; control < instrument::controlCountOf[slot]; ++control)
            core->setParameter(instrument::firstControlOf[slot] + control, 1.0f);
    }
    return core;
}

void reportRates(benchmark::State& state, double sampleRate)
{
    const auto frames = static_cast<double>(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["rtf"] = benchmark::Counter(frames / sampleRate, benchmark::Counter::kIsRate);
}

double rateOf(const benchmark::State& state)
{
    return static_cast<double>(state.range(0));
}

/** Every voice idle, right after the rate was set. */
void coreIdle(benchmark::State& state)
{
    auto core = makeCore(rateOf(state));
    double out[instrument::numVoices];
    for (auto _ : state)
    {
        core->process(out);
        benchmark::DoNotOptimize(out);
    }
    reportRates(state, rateOf(state));
}

/** Every voice idle after every voice was hit and three minutes of silence
    followed: no tail may have decayed into slow denormal arithmetic. */
void coreIdleAfterMinutesOfSilence(benchmark::State& state)
{
    const double rate = rateOf(state);
    auto core = makeCore(rate);
    double out[instrument::numVoices];
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        core->trigger(slot, 1.0f);
    const auto silence = static_cast<std::int64_t>(rate * 180.0);
    for (std::int64_t n = 0; n < silence; ++n)
        core->process(out);
    for (auto _ : state)
    {
        core->process(out);
        benchmark::DoNotOptimize(out);
    }
    reportRates(state, rate);
}

/** Every voice sounding, each retriggered every 50 ms; with the second
    argument set, the trigger-out pulse runs too (its four sines per sample
    are the worst case). */
void coreAllSounding(benchmark::State& state)
{
    const double rate = rateOf(state);
    auto core = makeCore(rate);
    core->setTriggerOutEnabled(true);
    core->setTriggerOutSource(instrument::bassDrum);
    core->initTriggerOutPulse();
    const auto retriggerEvery = static_cast<std::int64_t>(rate * 0.05);
    const bool withTriggerOut = state.range(1) != 0;
    double out[instrument::numVoices];
    std::int64_t untilRetrigger = 0;
    for (auto _ : state)
    {
        if (--untilRetrigger <= 0)
        {
            untilRetrigger = retriggerEvery;
            for (int slot = 0; slot < instrument::numVoices; ++slot)
                core->trigger(slot, 1.0f);
        }
        core->process(out);
        benchmark::DoNotOptimize(out);
        if (withTriggerOut)
            benchmark::DoNotOptimize(core->processTriggerOut());
    }
    reportRates(state, rate);
}

/** One voice alone, sounding, retriggered every 50 ms; at 44.1 kHz. */
void oneVoiceSounding(benchmark::State& state)
{
    const auto slot = static_cast<int>(state.range(0));
    auto core = makeCore(44100.0);
    PulsettaInstrument& voice = core->getVoice(slot);
    const auto retriggerEvery = static_cast<std::int64_t>(44100.0 * 0.05);
    // The voices fed with noise, as the core feeds them.
    const bool takesNoise = slot <= instrument::hiTom || slot == instrument::handClap;
    std::int64_t untilRetrigger = 0;
    double noise = 0.25;
    for (auto _ : state)
    {
        if (--untilRetrigger <= 0)
        {
            untilRetrigger = retriggerEvery;
            voice.trigger(1.0);
        }
        noise = -noise; // any input will do: the cost does not depend on it
        benchmark::DoNotOptimize(takesNoise ? voice.processWithNoise(noise) : voice.process());
    }
    reportRates(state, 44100.0);
}

/** The reference: 11 cookbook biquads and 11 smoothers per frame. */
void referenceKernel(benchmark::State& state)
{
    std::array<Biquad, instrument::numVoices> filters;
    std::array<Smoother, instrument::numVoices> smoothers;
    for (std::size_t i = 0; i < filters.size(); ++i)
    {
        filters[i].coefficients = cookbook::lowPass(200.0 + 300.0 * static_cast<double>(i), 1.0, 44100.0);
        smoothers[i].rate = 0.002;
    }
    double input = 0.5;
    for (auto _ : state)
    {
        input = -input;
        double sum = 0.0;
        for (std::size_t i = 0; i < filters.size(); ++i)
            sum += filters[i].processGuarded(input) * smoothers[i].moveToward(input);
        benchmark::DoNotOptimize(sum);
    }
    reportRates(state, 44100.0);
}
} // namespace

BENCHMARK(coreIdle)->Arg(44100)->Arg(96000);
BENCHMARK(coreIdleAfterMinutesOfSilence)->Arg(44100)->Arg(96000);
BENCHMARK(coreAllSounding)->Args({ 44100, 0 })->Args({ 96000, 0 })->Args({ 44100, 1 })->Args({ 96000, 1 });
BENCHMARK(oneVoiceSounding)->DenseRange(0, instrument::numVoices - 1);
BENCHMARK(referenceKernel);
