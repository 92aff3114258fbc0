// The engine against the reference: every voice, and a busy pattern with
// knobs turning, rendered by both at 44.1, 48 and 96 kHz, must agree within
// 1e-6 on every sample of every voice.
#include "DspTestKit.h"
#include "reference/ReferenceCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace dsptest;

namespace
{
constexpr double tolerance = 1e-6;
constexpr double rates[] = { 44100.0, 48000.0, 96000.0 };

struct Event
{
    std::int64_t frame;
    int index;     // a voice to hit, or a sound parameter to set
    float value;   // the velocity, or the parameter's value
    bool isHit;
};

struct Scenario
{
    std::vector<float> parameters; // 0..49 at the start
    std::vector<Event> events;     // in frame order
    std::int64_t frames;
};

/** The largest difference on each voice between the engine and the
    reference. The engine renders in runs from event to event, cut again at
    random lengths as a host's blocks would cut them. */
std::array<double, instrument::numVoices> largestDifferences(double rate, const Scenario& scenario)
{
    PulsettaCore core;
    reference::Core model;
    core.setSampleRate(static_cast<float>(rate));
    model.setSampleRate(rate);
    for (int i = 0; i < static_cast<int>(scenario.parameters.size()); ++i)
        core.setParameter(i, scenario.parameters[static_cast<size_t>(i)]), model.setParameter(i, scenario.parameters[static_cast<size_t>(i)]);

    std::array<double, instrument::numVoices> largest {};
    std::array<std::vector<double>, instrument::numVoices> out;
    for (auto& voice : out)
        voice.resize(600);
    std::mt19937 cuts(static_cast<unsigned>(scenario.frames));
    double expected[instrument::numVoices];
    size_t next = 0;
    for (std::int64_t n = 0; n < scenario.frames;)
    {
        for (; next < scenario.events.size() && scenario.events[next].frame == n; ++next)
        {
            const auto& e = scenario.events[next];
            if (e.isHit)
                core.trigger(e.index, e.value), model.trigger(e.index, e.value);
            else
                core.setParameter(e.index, e.value), model.setParameter(e.index, e.value);
        }
        std::int64_t end = std::min(scenario.frames, n + std::uniform_int_distribution<std::int64_t>(1, 520)(cuts));
        if (next < scenario.events.size())
            end = std::min(end, scenario.events[next].frame);
        double* outputs[instrument::numVoices];
        for (size_t v = 0; v < out.size(); ++v)
            outputs[v] = out[v].data();
        core.render(outputs, static_cast<int>(end - n));
        for (std::int64_t i = 0; n < end; ++n, ++i)
        {
            model.process(expected);
            for (size_t v = 0; v < largest.size(); ++v)
            {
                const double difference = std::fabs(out[v][static_cast<size_t>(i)] - expected[v]);
                largest[v] = difference <= largest[v] ? largest[v] : (std::isnan(difference) ? HUGE_VAL : difference);
            }
        }
    }
    return largest;
}

std::vector<float> defaults()
{
    std::vector<float> values;
    for (int i = 0; i <= instrument::mainVolumeParameter; ++i)
        values.push_back(defaultSoundParameter(i));
    return values;
}
} // namespace

TEST(ReferenceRender, EveryVoiceAloneWithDefaultAndRandomKnobs)
{
    std::mt19937 random(7);
    for (const double rate : rates)
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            for (int knobs = 0; knobs < 2; ++knobs)
            {
                Scenario s { defaults(), {}, static_cast<std::int64_t>(rate * 2.5) };
                if (knobs == 1)
                    for (int c = 0; c < instrument::controlCountOf[slot]; ++c)
                        s.parameters[static_cast<size_t>(instrument::firstControlOf[slot] + c)]
                            = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
                // A hit, a softer one, an accent on top of it while it sounds.
                for (const auto& [at, velocity] : { std::pair { 0.01, 1.0f }, { 0.4, 0.6f }, { 0.45, 1.378f } })
                    s.events.push_back({ static_cast<std::int64_t>(at * rate), slot, velocity, true });
                const auto largest = largestDifferences(rate, s);
                EXPECT_LE(largest[static_cast<size_t>(slot)], tolerance) << "slot " << slot << " at " << rate << " Hz";
            }
}

TEST(ReferenceRender, BusyPatternWithKnobsTurning)
{
    for (const double rate : rates)
    {
        std::mt19937 random(static_cast<unsigned>(rate));
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        Scenario s { defaults(), {}, static_cast<std::int64_t>(rate * 6.0) };
        for (double t = 0.0; t < 6.0; t += 0.01 + 0.1 * static_cast<double>(unit(random)))
        {
            const auto frame = static_cast<std::int64_t>(t * rate);
            for (int hits = std::uniform_int_distribution<int>(0, 3)(random); hits > 0; --hits)
                s.events.push_back({ frame, std::uniform_int_distribution<int>(0, 10)(random), 0.2f + 1.18f * unit(random), true });
            if (unit(random) < 0.3f)
                s.events.push_back({ frame, std::uniform_int_distribution<int>(0, 49)(random), unit(random), false });
        }
        const auto largest = largestDifferences(rate, s);
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            EXPECT_LE(largest[static_cast<size_t>(slot)], tolerance) << "slot " << slot << " at " << rate << " Hz";
        std::printf("largest difference at %.0f Hz: %.3g\n", rate, *std::max_element(largest.begin(), largest.end()));
    }
}
