// Cost of the voice engine alone, rendered in runs of 256 frames as the drum
// machine renders it, with a reference kernel of plain filter work to compare
// machines by: the ratio of the core's cost to the kernel's says more than
// either figure alone. (The whole module, block and routing included, is
// module_benchmark's.)
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
constexpr int runFrames = 256;

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

/** Runs of one core, every voice's samples into its own buffer. */
struct Runs
{
    explicit Runs(PulsettaCore& c) : core(c)
    {
        for (std::size_t v = 0; v < buffers.size(); ++v)
            outputs[v] = buffers[v].data();
    }
    void render()
    {
        core.render(outputs.data(), runFrames);
        benchmark::DoNotOptimize(buffers.data());
        benchmark::ClobberMemory();
    }

    PulsettaCore& core;
    std::array<std::array<double, runFrames>, instrument::numVoices> buffers {};
    std::array<double*, instrument::numVoices> outputs {};
};

void reportRates(benchmark::State& state, double sampleRate)
{
    const auto frames = static_cast<double>(state.iterations()) * runFrames;
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
    Runs runs(*core);
    for (auto _ : state)
        runs.render();
    reportRates(state, rateOf(state));
}

/** Every voice idle after every voice was hit and three minutes of silence
    followed: no tail may have decayed into slow denormal arithmetic. */
void coreIdleAfterMinutesOfSilence(benchmark::State& state)
{
    const double rate = rateOf(state);
    auto core = makeCore(rate);
    Runs runs(*core);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        core->trigger(slot, 1.0f);
    for (auto silence = static_cast<std::int64_t>(rate * 180.0); silence > 0; silence -= runFrames)
        runs.render();
    for (auto _ : state)
        runs.render();
    reportRates(state, rate);
}

/** Every voice sounding, each retriggered every 50 ms (to the run); with the
    second argument set, the trigger-out pulse runs too. */
void coreAllSounding(benchmark::State& state)
{
    const double rate = rateOf(state);
    auto core = makeCore(rate);
    core->setTriggerOutEnabled(state.range(1) != 0);
    core->setTriggerOutSource(instrument::bassDrum);
    core->initTriggerOutPulse();
    Runs runs(*core);
    const auto retriggerEvery = static_cast<std::int64_t>(rate * 0.05);
    std::int64_t untilRetrigger = 0;
    for (auto _ : state)
    {
        if ((untilRetrigger -= runFrames) <= 0)
        {
            untilRetrigger = retriggerEvery;
            for (int slot = 0; slot < instrument::numVoices; ++slot)
                core->trigger(slot, 1.0f);
        }
        runs.render();
        if (core->isTriggerOutEnabled())
            for (int n = 0; n < runFrames; ++n)
                benchmark::DoNotOptimize(core->processTriggerOut());
    }
    reportRates(state, rate);
}

/** One voice alone, sounding, retriggered every 50 ms (to the run); at 48 kHz. */
void oneVoiceSounding(benchmark::State& state)
{
    const auto slot = static_cast<int>(state.range(0));
    auto core = makeCore(48000.0);
    Runs runs(*core);
    std::int64_t untilRetrigger = 0;
    for (auto _ : state)
    {
        if ((untilRetrigger -= runFrames) <= 0)
        {
            untilRetrigger = 2400;
            core->trigger(slot, 1.0f);
        }
        runs.render();
    }
    reportRates(state, 48000.0);
}

/** The reference: 11 cookbook biquads and 11 smoothers per frame. */
void referenceKernel(benchmark::State& state)
{
    std::array<Biquad, instrument::numVoices> filters;
    std::array<Smoother, instrument::numVoices> smoothers;
    for (std::size_t i = 0; i < filters.size(); ++i)
    {
        filters[i].coefficients = cookbook::lowPass(200.0 + 300.0 * static_cast<double>(i), 1.0, 48000.0);
        smoothers[i].rate = 0.002;
    }
    double input = 0.5;
    for (auto _ : state)
        for (int n = 0; n < runFrames; ++n)
        {
            input = -input;
            double sum = 0.0;
            for (std::size_t i = 0; i < filters.size(); ++i)
                sum += filters[i].processGuarded(input) * smoothers[i].moveToward(input);
            benchmark::DoNotOptimize(sum);
        }
    reportRates(state, 48000.0);
}
} // namespace

BENCHMARK(coreIdle)->Arg(44100)->Arg(96000);
BENCHMARK(coreIdleAfterMinutesOfSilence)->Arg(44100)->Arg(96000);
BENCHMARK(coreAllSounding)->Args({ 44100, 0 })->Args({ 96000, 0 })->Args({ 44100, 1 })->Args({ 96000, 1 });
BENCHMARK(oneVoiceSounding)->DenseRange(0, instrument::numVoices - 1);
BENCHMARK(referenceKernel);
