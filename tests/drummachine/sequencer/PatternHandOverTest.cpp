#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "drummachine/sequencer/PatternXml.h"
#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

namespace
{
// An owner whose rewrite guard is the lock a processor holds around each block.
class LockingOwner : public RecordingOwner
{
public:
    void beginPatternRewrite() override { blockLock.lock(); }
    void endPatternRewrite() override { blockLock.unlock(); }

    std::mutex blockLock;
};

Pattern makeVariant (const char* name, int32_t value, int length)
{
    Pattern pattern;
    pattern.setName (name);
    pattern.setLength (length);
    pattern.setTempo (length * 10.0);
    for (int track = 0; track < Pattern::numTracks - 1; ++track)
        for (int step = 0; step < Pattern::numSteps; ++step)
            pattern.setStep (track, step, value);
    return pattern;
}

// True when the record is wholly one of the two variants (files keep only the
// steps within the length, so only those are compared).
bool isWhole (const Pattern& pattern)
{
    const int32_t first = pattern.getStep (0, 0);
    for (int track = 0; track < Pattern::numTracks - 1; ++track)
        for (int step = 0; step < pattern.getLength(); ++step)
            if (pattern.getStep (track, step) != first)
                return false;
    const bool a = first == 1 && pattern.getLength() == 7 && pattern.getName() == "A" && pattern.getTempo() == 70.0;
    const bool b = first == 3 && pattern.getLength() == 12 && pattern.getName() == "B" && pattern.getTempo() == 120.0;
    return a || b;
}
} // namespace

TEST (PatternHandOver, PlaybackNeverSeesHalfARecord)
{
    LockingOwner owner;
    PulsettaSeq seq (owner, "Pulsetta", "XR");
    const Pattern a = makeVariant ("A", 1, 7);
    const Pattern b = makeVariant ("B", 3, 12);
    ASSERT_TRUE (seq.storePattern (5, a));

    auto bank = std::make_unique<PulsettaSeq::PatternStore>();
    for (auto& pattern : *bank)
        pattern = b;

    std::atomic<bool> done { false };
    std::atomic<int> torn { 0 };
    std::thread audio ([&] {
        int blocks = 0;
        while (! done.load() || blocks < 1000)
        {
            const std::lock_guard<std::mutex> block (owner.blockLock);
            Pattern playing;
            seq.copyPattern (5, playing); // what the playback reads during one block
            if (! isWhole (playing))
                ++torn;
            ++blocks;
        }
    });

    for (int i = 0; i < 2000; ++i)
    {
        switch (i % 4)
        {
            case 0: seq.storePattern (5, b); break;
            case 1: seq.storePattern (5, a); break;
            case 2: seq.storeAllPatterns (*bank); break;
            default:
            {
                auto element = PatternXml::create (a, "Pulsetta");
                seq.readPatternXml (*element, 5, 2);
                break;
            }
        }
    }
    done.store (true);
    audio.join();
    EXPECT_EQ (torn.load(), 0);
}
