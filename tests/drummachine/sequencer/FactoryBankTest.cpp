#include <gtest/gtest.h>

#include <set>

#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

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
