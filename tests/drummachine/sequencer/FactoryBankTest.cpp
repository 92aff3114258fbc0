#include <gtest/gtest.h>

#include <set>

#include "drummachine/sequencer/PulsettaSeq.h"
#include "RecordingOwner.h"

namespace
{
struct FactoryBank : ::testing::Test
{
    void SetUp() override { seq.loadDefaultPatterns (DrumMachineSeq::PatternSource::factoryPatterns, {}); }

    Pattern pattern (int index) const
    {
        Pattern p;
        EXPECT_TRUE (seq.copyPattern (index, p));
        return p;
    }

    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };
};
} // namespace

TEST_F (FactoryBank, LoadsNinetySixPlayablePatternsWithDistinctNames)
{
    std::set<juce::String> names;
    for (int index = 0; index < 96; ++index)
    {
        const auto p = pattern (index);
        EXPECT_FALSE (p.getName().startsWith ("Pattern ")) << index; // the bank named every slot
        EXPECT_TRUE (names.insert (p.getName()).second) << p.getName();
        EXPECT_GE (p.getFlam(), Pattern::minFlam);
        EXPECT_LE (p.getFlam(), Pattern::maxFlam);

        int sounding = 0;
        for (int track = 0; track < instruments::numInstruments; ++track)
            for (int step = 0; step < p.getLength(); ++step)
                sounding += p.getStep (track, step) != 0 ? 1 : 0;
        EXPECT_GT (sounding, 0) << p.getName();
    }
    EXPECT_EQ (names.size(), 96u);
}

TEST_F (FactoryBank, OffersSwingTripletAndFlamFeels)
{
    std::set<int> scales;
    int shuffled = 0, withFlamSteps = 0, withStrongSteps = 0, withAccents = 0, oddOrShort = 0;
    for (int index = 0; index < 96; ++index)
    {
        const auto p = pattern (index);
        scales.insert (p.getScale());
        shuffled += p.getShuffle() > 0.0 ? 1 : 0;
        oddOrShort += p.getLength() != 16 ? 1 : 0;
        bool flam = false, strong = false, accent = false;
        for (int step = 0; step < p.getLength(); ++step)
        {
            accent = accent || p.getStep (Pattern::accentTrack, step) != 0;
            for (int track = 0; track < instruments::numInstruments; ++track)
            {
                flam = flam || p.getStep (track, step) == Pattern::stepFlam;
                strong = strong || p.getStep (track, step) == Pattern::stepAccent;
            }
        }
        withFlamSteps += flam ? 1 : 0;
        withStrongSteps += strong ? 1 : 0;
        withAccents += accent ? 1 : 0;
    }
    EXPECT_EQ (scales, (std::set<int> { 3, 4, 6, 8 }));
    EXPECT_GT (shuffled, 40);
    EXPECT_GE (withFlamSteps, 6);
    EXPECT_GE (withStrongSteps, 20);
    EXPECT_GT (withAccents, 90);
    EXPECT_GE (oddOrShort, 10);
}
