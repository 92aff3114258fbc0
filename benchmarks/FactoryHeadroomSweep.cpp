// Every factory pattern with every factory kit, at 44.1 and 96 kHz: the main
// output's peak, the loudest pattern of each kit, and whether all of them stay
// at or below -1 dBFS (the exit status says so too). Run by hand:
//   build/release/benchmarks/factory_headroom_sweep [starts [kit]]
// With starts above 1 each pattern is also started that many times after
// other lead-ins, and the loudest start counts: the noisy voices peak
// differently each time (1 start takes about a minute and a half).
#include "benchmarks/FactoryHeadroom.h"

#include "drummachine/product/Pulsetta.h"
#include "tests/support/TemporaryUserFolders.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main (int argc, char** argv)
{
    const int starts = argc > 1 ? std::max (1, std::atoi (argv[1])) : 1;
    const int onlyKit = argc > 2 ? std::atoi (argv[2]) : -1; // a preset index of the bank, or every kit
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const testing_support::TemporaryUserFolders userFolders ("pulsetta-headroom-");

    // The factory kits, and the first cleared preset: the default kit a cleared preset starts from.
    int numKits = 0;
    {
        auto* created = BasePlugin::startUp (std::make_unique<Pulsetta>());
        const std::unique_ptr<Pulsetta> product (static_cast<Pulsetta*> (created));
        const auto& bank = product->getPresetBank();
        numKits = bank.getGroupSize (0) + 1;
    }

    constexpr double limit = -1.0; // dBFS
    double loudestOfAll = -1000.0;
    for (const double rate : { 44100.0, 96000.0 })
        for (int kit = 0; kit < numKits; ++kit)
        {
            if (onlyKit >= 0 && kit != onlyKit)
                continue;
            factoryheadroom::Measurement loudest;
            int over = 0;
            for (int pattern = 0; pattern < PulsettaSeq::numPatterns; ++pattern)
            {
                factoryheadroom::Measurement m;
                for (int start = 0; start < starts; ++start)
                {
                    const auto again = factoryheadroom::measure (pattern, kit, rate, 8192 + start * 4999);
                    if (start == 0 || again.peak > m.peak)
                        m = again;
                }
                if (m.peak > loudest.peak)
                    loudest = m;
                over += factoryheadroom::decibels (m.peak) > limit ? 1 : 0;
            }
            loudestOfAll = std::max (loudestOfAll, factoryheadroom::decibels (loudest.peak));
            std::printf ("%6.0f Hz  %-20s loudest %6.2f dBFS (%s)  over %.0f dBFS: %d\n", rate, loudest.kitName.toRawUTF8(),
                         factoryheadroom::decibels (loudest.peak), loudest.patternName.toRawUTF8(), limit, over);
            std::fflush (stdout);
        }
    std::printf ("loudest of all: %.2f dBFS\n", loudestOfAll);
    return loudestOfAll <= limit ? 0 : 1;
}
