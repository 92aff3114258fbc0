#include "FactoryKits.h"

#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

// Renders every factory kit through the voice engine, one hit of each voice
// and then a two-bar groove at the sequencer's velocities, to WAV files in the
// test output folder (to listen to and to draw as spectrograms), and checks
// what makes a kit usable: every voice sounds, none drowns the others, and no
// two kits sound alike.
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

/** Each voice alone, 0.6 s apart (cymbals 1.5 s), then two bars of a groove. */
dsptest::Signal renderDemo (const factorykits::Kit& kit)
{
    std::vector<dsptest::Hit> hits;
    std::int64_t at = 0;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        hits.push_back ({ at, slot, baseVelocity + strongBoost });
        at += (std::int64_t) (rate * (slot >= instrument::crash - 1 ? 1.5 : 0.6));
    }

    const double step = rate * 60.0 / 120.0 / 4.0; // 16ths at 120 bpm
    const float accentLevel = kit.values[instrument::accentLevelParameter];
    for (int n = 0; n < 32; ++n)
    {
        const auto when = at + (std::int64_t) std::ceil (n * step);
        const int s = n % 16;
        const bool accented = s % 8 == 0;
        const float plain = baseVelocity + (accented ? strongBoost + accentScale * accentLevel : 0.0f);
        const float strong = plain + strongBoost;
        auto hit = [&] (int slot, float velocity) { hits.push_back ({ when, slot, velocity }); };
        if (s % 4 == 0 || n == 26)
            hit (instrument::bassDrum, s == 0 ? strong : plain);
        if (s == 4 || s == 12)
            hit (instrument::snareDrum, strong);
        if (n >= 16 && s == 12)
            hit (instrument::handClap, plain);
        if (s == 7)
            hit (instrument::rimShot, plain);
        if (s % 2 == 0 && s != 14)
            hit (instrument::closedHiHat, s % 4 == 0 ? plain : baseVelocity);
        if (s == 14)
            hit (instrument::openHiHat, plain);
        if (n == 0)
            hit (instrument::crash, strong);
        if (n >= 16 && s % 4 == 2)
            hit (instrument::ride, plain);
        if (n == 28) hit (instrument::hiTom, plain);
        if (n == 29) hit (instrument::midTom, plain);
        if (n == 30) hit (instrument::midTom, plain);
        if (n == 31) hit (instrument::lowTom, strong);
    }
    auto core = makeKitCore (kit);
    return dsptest::render (*core, (size_t) (at + 32 * step + rate * 1.5), hits).mix();
}

juce::String fileNameOf (const juce::String& name)
{
    return name.toLowerCase().replaceCharacter (' ', '-').retainCharacters ("abcdefghijklmnopqrstuvwxyz0123456789-");
}

double rms (const dsptest::Signal& signal)
{
    double sum = 0.0;
    for (double x : signal)
        sum += x * x;
    return signal.empty() ? 0.0 : std::sqrt (sum / (double) signal.size());
}
} // namespace

TEST (FactoryPresetRenders, EveryKitSoundsBalancedAndIsWritten)
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

        const auto demo = renderDemo (kit);
        EXPECT_TRUE (dsptest::allFinite (demo)) << kit.name;
        EXPECT_TRUE (dsptest::writeWav (dsptest::outputFolder() + "/kit-" + fileNameOf (kit.name).toStdString() + ".wav",
                                        demo, rate, false));
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
