// The factory content leaves headroom: every factory pattern played with the
// kit a new instance starts with peaks at or below -1 dBFS on the main output,
// at 44.1 and 96 kHz. (benchmarks/ holds the sweep of every factory kit.)
#include "ProductTestSupport.h"

#include "benchmarks/FactoryHeadroom.h"

#include <sstream>

TEST_F (ProductTest, EveryFactoryPatternWithTheDefaultKitPeaksAtOrBelowMinusOneDecibel)
{
    for (const double rate : { 44100.0, 96000.0 })
    {
        std::ostringstream over;
        double loudest = 0.0;
        for (int pattern = 0; pattern < PulsettaSeq::numPatterns; ++pattern)
        {
            const auto m = factoryheadroom::measure (pattern, -1, rate);
            loudest = std::max (loudest, m.peak);
            if (factoryheadroom::decibels (m.peak) > -1.0)
                over << " " << m.patternName << " (" << m.peak << ")";
        }
        EXPECT_TRUE (over.str().empty()) << rate << " Hz, over -1 dBFS:" << over.str();
        EXPECT_GT (loudest, 0.1) << rate << " Hz: the patterns are heard";
    }
}
