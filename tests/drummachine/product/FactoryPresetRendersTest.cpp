#include "FactoryKits.h"

#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

// Renders every factory kit through the voice engine, one hit of each voice,
// and checks what makes a kit usable: every voice sounds and none drowns the
// others. (That no two kits sound alike is checked through the module.)
namespace
{
constexpr double rate = 44100.0;
constexpr float baseVelocity = 48.0f / 127.0f;
constexpr float strongBoost = 0.377f;

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
} // namespace

TEST (FactoryPresetRenders, EveryKitSoundsBalanced)
{
    auto kits = factorykits::readFactoryBank();
    ASSERT_GE (kits.size(), 15u);
    kits.resize (15);
    kits.push_back (factorykits::readDefaultPreset());

    for (const auto& kit : kits)
    {
        for (float value : kit.values)
            EXPECT_TRUE (value >= 0.0f && value <= 1.0f) << kit.name << " gives all its values";
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
            // Every voice is heard (the kits' levels leave headroom for
            // accents and chords: a single strong hit may lie low), none
            // overloads, none is buried by the loudest.
            EXPECT_GT (figures[slot].peak, 0.005) << kit.name << " " << voiceNames[slot];
            EXPECT_LT (figures[slot].peak, 2.0) << kit.name << " " << voiceNames[slot];
            EXPECT_GT (figures[slot].punch, loudest / 12.0) << kit.name << " " << voiceNames[slot];
        }

    }
}
