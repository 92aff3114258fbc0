#include "FactoryKits.h"

#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

// Renders every factory kit through the voice engine, one hit of each voice,
// and checks what makes a kit usable: every voice sounds, none drowns the
// others, and no two kits sound alike.
namespace
{
constexpr double rate = 44100.0;
constexpr float baseVelocity = 48.0f / 127.0f;
constexpr float strongBoost = 0.377f;
constexpr float accentScale = 0.623f;

const char* const voiceNames[instrument::numVoices] = { "BD", "SD", "LT", "MT", "HT", "RS", "HC", "CH", "OH", "CR", "RD" };

std::unique_ptr<PulsettaCore> makeKitCore (const factorykits::Kit& kit)
{
    auto core = dsptest::makeCore (rate);
    for (int index = 0; index < factorykits::numSoundValues; ++index)
        core->setParameter (index, kit.values[(size_t) index]);
    dsptest::render (*core, 22050); // levels and master settle
    return core;
}

/** How loud a hit is heard: the root mean square over the first 80 ms after
    the peak, after two one-pole high-passes at 150 Hz that stand in for the
    ear's weak bass (a kick's fundamental counts for less than its click). */
double punch (const dsptest::Signal& signal)
{
    const double a = std::exp (-2.0 * 3.14159265358979 * 150.0 / rate);
    dsptest::Signal heard (signal.size());
    double x1 = 0.0, y1 = 0.0, z1 = 0.0, w1 = 0.0;
    for (size_t i = 0; i < signal.size(); ++i)
    {
        const double y = (signal[i] - x1) * (a + 1.0) / 2.0 + a * y1;
        x1 = signal[i];
        y1 = y;
        const double w = (y - z1) * (a + 1.0) / 2.0 + a * w1;
        z1 = y;
        w1 = w;
        heard[i] = w;
    }
    const auto start = dsptest::peakIndex (heard);
    const auto end = std::min (heard.size(), start + (size_t) (rate * 0.08));
    double sum = 0.0;
    for (auto i = start; i < end; ++i)
        sum += heard[i] * heard[i];
    return end > start ? std::sqrt (sum / (double) (end - start)) : 0.0;
}

struct VoiceFigures
{
    double peak = 0.0, punch = 0.0, decay = 0.0;
};

VoiceFigures measureVoice (const factorykits::Kit& kit, int slot)
{
    auto core = makeKitCore (kit);
    const auto signal = dsptest::renderVoice (*core, slot, (size_t) (rate * 4.0), { { 0, slot, baseVelocity + strongBoost } });
    return { dsptest::peak (signal), punch (signal), dsptest::decayTime (signal, rate) };
}

double rms (const dsptest::Signal& signal)
{
    double sum = 0.0;
    for (double x : signal)
        sum += x * x;
    return signal.empty() ? 0.0 : std::sqrt (sum / (double) signal.size());
}
} // namespace

TEST (FactoryPresetRenders, EveryKitSoundsBalanced)
{
    auto kits = factorykits::readFactoryBank();
    ASSERT_GE (kits.size(), 15u);
    kits.resize (15);
    kits.push_back (factorykits::readDefaultPreset());
    kits.back().group = "(default)";

    for (const auto& kit : kits)
    {
        std::printf ("%-22s", kit.name.toRawUTF8());
        double loudest = 0.0;
        VoiceFigures figures[instrument::numVoices];
        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            figures[slot] = measureVoice (kit, slot);
            loudest = std::max (loudest, figures[slot].punch);
            std::printf (" %s %.2f %.3f %.2fs |", voiceNames[slot], figures[slot].peak, figures[slot].punch, figures[slot].decay);
        }
        std::printf ("\n");

        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            // Every voice is heard, none overloads, none is buried by the loudest.
            EXPECT_GT (figures[slot].peak, 0.05) << kit.name << " " << voiceNames[slot];
            EXPECT_LT (figures[slot].peak, 2.0) << kit.name << " " << voiceNames[slot];
            EXPECT_GT (figures[slot].punch, loudest / 12.0) << kit.name << " " << voiceNames[slot];
        }

    }
}

/** One accented hit of every voice, rendered alone. */
std::vector<dsptest::Signal> renderHits (const factorykits::Kit& kit)
{
    std::vector<dsptest::Signal> hits;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        auto core = makeKitCore (kit);
        hits.push_back (dsptest::renderVoice (*core, slot, (size_t) (rate * 1.5), { { 0, slot, baseVelocity + strongBoost } }));
    }
    return hits;
}

/** How far apart two kits sound: the largest difference of any one voice,
    relative to the louder of the two (0 alike, about 1.4 unrelated). */
double distance (const std::vector<dsptest::Signal>& a, const std::vector<dsptest::Signal>& b)
{
    double largest = 0.0;
    for (size_t slot = 0; slot < a.size(); ++slot)
    {
        dsptest::Signal difference (a[slot].size());
        for (size_t i = 0; i < difference.size(); ++i)
            difference[i] = a[slot][i] - b[slot][i];
        largest = std::max (largest, rms (difference) / std::max (rms (a[slot]), rms (b[slot])));
    }
    return largest;
}

TEST (FactoryPresetRenders, KitsAreNamedAndDistinct)
{
    auto kits = factorykits::readFactoryBank();
    ASSERT_GE (kits.size(), 15u);
    kits.resize (15);

    std::set<juce::String> names;
    std::vector<std::vector<dsptest::Signal>> hits;
    for (const auto& kit : kits)
    {
        EXPECT_FALSE (kit.name.startsWith ("Factory")) << "every factory kit has a name for what it is";
        names.insert (kit.name);
        for (float value : kit.values)
            EXPECT_TRUE (value >= 0.0f && value <= 1.0f) << kit.name << " gives all its values";
        hits.push_back (renderHits (kit));
    }
    EXPECT_EQ (names.size(), kits.size());
    EXPECT_NE (kits.front().group, "Factory") << "the factory group has a name of its own";

    // Every pair differs clearly in at least one voice.
    for (size_t a = 0; a < hits.size(); ++a)
        for (size_t b = a + 1; b < hits.size(); ++b)
            EXPECT_GT (distance (hits[a], hits[b]), 0.4) << kits[a].name << " and " << kits[b].name << " sound too much alike";
}
