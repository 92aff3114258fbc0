// The sequencer driven by its step clocks as the drum machine's audio block
// drives them (see MiniDrumMachine): the same triggers at the same samples
// whatever the block sizes and wherever the blocks start.
#include "MiniDrumMachine.h"

#include <gtest/gtest.h>

#include <random>

TEST (PlaybackWithClocks, SameTriggersWhateverTheBlockSize)
{
    // Two chained patterns: odd length, shuffle, flams, strong steps and accents.
    std::array<Pattern, 2> patterns;
    patterns[0].setLength (7);
    patterns[0].setTempo (141.7);
    patterns[0].setShuffle (0.45);
    patterns[0].setFlam (0.2);
    patterns[1].setTempo (97.3);
    patterns[1].setShuffle (0.1);
    patterns[1].setFlam (0.383);
    for (int step = 0; step < 16; ++step)
    {
        patterns[0].setStep (step % 11, step, Pattern::stepFlam);
        patterns[1].setStep ((step * 3) % 11, step, Pattern::stepAccent);
        if (step % 3 == 0)
            patterns[1].setStep (Pattern::accentTrack, step, Pattern::stepAccent);
    }

    auto render = [&] (std::vector<int> blockSizes) {
        RecordingOwner recorder;
        PulsettaSeq sequencer (recorder, "Pulsetta", "XR");
        for (int p = 0; p < 2; ++p)
            sequencer.storePattern (p, patterns[(size_t) p]);
        sequencer.setChain (0, 1, 0);
        MiniDrumMachine machine (recorder, sequencer);
        machine.startNative (0.0);
        std::int64_t left = 44100 * 30;
        for (size_t i = 0; left > 0; ++i)
        {
            const int block = static_cast<int> (std::min<std::int64_t> (blockSizes[i % blockSizes.size()], left));
            machine.processBlock (block);
            left -= block;
        }
        return recorder.takeTriggers();
    };

    const auto reference = render ({ 1 });
    ASSERT_GT (reference.size(), 200u);
    for (const int size : { 2, 13, 64, 1024, 4096 })
        EXPECT_EQ (render ({ size }), reference) << size;

    std::mt19937 random (11);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::vector<int> irregular;
    for (int i = 0; i < 400; ++i)
        irregular.push_back (sizes (random));
    EXPECT_EQ (render (irregular), reference);
}
