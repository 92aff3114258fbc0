// The chain and the pending bank changed from the message thread (front-panel
// buttons) and the audio thread (pattern and bank notes) at once, while the
// audio thread plays the chain across pattern ends. Every chain either side
// reads must be one that some change wrote whole, and every bank press counts.
//
// The writes are chosen so that a torn mix shows: a short chain (span 0..7)
// is only ever written with its span as its bank, a long chain (span 8..11)
// with any bank. A mix of two writes' first, last and bank mostly breaks that
// rule. Both loops run a fixed number of times.
#include "tests/drummachine/sequencer/SequencerTestSupport.h"

#include "drummachine/sequencer/PulsettaSeq.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <sstream>
#include <string>
#include <thread>

namespace
{
using Chain = PulsettaSeq::Chain;

constexpr int slots = PulsettaSeq::slotsPerBank;
constexpr int banks = PulsettaSeq::numBanks;
constexpr int longSpan = 8; // spans from here on are written with any bank

// A stand-in drum machine that counts the triggers instead of keeping them:
// the audio side plays hundreds of thousands of steps.
class CountingOwner : public RecordingOwner
{
public:
    void triggerInstrument (int, float) override { ++triggerCount; }
    long triggerCount = 0; // audio thread only
};

std::string describe (Chain chain)
{
    std::ostringstream text;
    text << "first " << (int) chain.first << ", last " << (int) chain.last << ", bank " << (int) chain.bank
         << ", pending bank " << (int) chain.pendingBank;
    return text.str();
}

bool isInRange (Chain chain)
{
    return chain.first >= 0 && chain.last < slots && chain.first <= chain.last && chain.bank >= 0 && chain.bank < banks
           && chain.pendingBank >= 0 && chain.pendingBank < banks;
}

// One of the whole chains the writers below produce.
bool isWrittenWhole (Chain chain)
{
    const int span = chain.last - chain.first;
    return isInRange (chain) && (span >= longSpan || chain.bank == span);
}

// What one side saw: how many reads, how many were not whole, and the first.
struct ReadLog
{
    long reads = 0;
    long torn = 0;
    std::string firstTorn;

    void check (Chain chain, bool whole)
    {
        ++reads;
        if (whole)
            return;
        if (torn++ == 0)
            firstTorn = describe (chain);
    }
};

// Lets both threads start their loops together, so that they overlap.
class StartLine
{
public:
    void arriveAndWait()
    {
        arrived.fetch_add (1);
        while (arrived.load() < 2)
            std::this_thread::yield();
    }

private:
    std::atomic<int> arrived { 0 };
};

class ChainHandOverStressTest : public ::testing::Test
{
protected:
    CountingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };

    void SetUp() override
    {
        // Lengths 1..16 across the store, so that pattern ends come often.
        for (int pattern = 0; pattern < PulsettaSeq::numPatterns; ++pattern)
        {
            seq.setEditedPatternLength (1 + (pattern * 7) % Pattern::numSteps);
            seq.setStepOn (pattern, 0, 0);
            seq.editNextPattern();
        }
    }

    // A chain from the state or a test: span k in bank k.
    void setShortChain (std::mt19937& random)
    {
        const int span = std::uniform_int_distribution<int> (0, longSpan - 1) (random);
        const int first = std::uniform_int_distribution<int> (0, slots - 1 - span) (random);
        seq.setChain (first, first + span, span);
    }

    // A pattern range picked by buttons or held notes: a long span, either order.
    void selectLongChain (std::mt19937& random)
    {
        const int span = std::uniform_int_distribution<int> (longSpan, slots - 1) (random);
        const int first = std::uniform_int_distribution<int> (0, slots - 1 - span) (random);
        if (random() % 2 == 0)
            seq.selectChainInPendingBank (first, first + span);
        else
            seq.selectChainInPendingBank (first + span, first);
    }

    // The audio side's cursor is always a stored pattern.
    static bool isStoredPattern (int pattern) { return PulsettaSeq::isValidPattern (pattern); }
};
} // namespace

TEST_F (ChainHandOverStressTest, BothThreadsOnlyEverSeeWholeChains)
{
    constexpr long audioSteps = 300000;
    constexpr long messageChanges = 150000;

    seq.setChain (0, 0, 0);
    seq.startNative();

    StartLine startLine;
    ReadLog audioLog, messageLog;
    long cursorsOutside = 0, patternChanges = 0;

    std::thread audio ([&] {
        std::mt19937 random (1);
        startLine.arriveAndWait();
        for (long i = 0; i < audioSteps; ++i)
        {
            const bool flamPass = i % 3 == 0;
            seq.playNativeStep (false);
            if (flamPass)
                seq.playNativeStep (true);
            if (seq.advanceNativeStep())
                ++patternChanges;
            audioLog.check (seq.getChain(), isWrittenWhole (seq.getChain()));

            if (i % 7 == 0)
            {
                // A pattern or bank note arrives with the block.
                if (random() % 2 == 0)
                    selectLongChain (random);
                else
                    seq.choosePendingBank ((int) (random() % 4));
                audioLog.check (seq.getChain(), isWrittenWhole (seq.getChain()));
            }
            if (i % 101 == 0)
                seq.locate (std::uniform_real_distribution<double> (0.0, 500.0) (random));
            if (i % 4999 == 0)
            {
                // Stopped, a change moves the cursor at once; started, it waits.
                seq.stopNative();
                selectLongChain (random);
                audioLog.check (seq.getChain(), isWrittenWhole (seq.getChain()));
                seq.startNative();
            }
            if (! isStoredPattern (seq.getNativePattern()) || ! Pattern::isValidStep (seq.getNativeStep()))
                ++cursorsOutside;
        }
    });

    std::thread message ([&] {
        std::mt19937 random (2);
        startLine.arriveAndWait();
        for (long i = 0; i < messageChanges; ++i)
        {
            switch (random() % 4)
            {
                case 0: setShortChain (random); break;
                case 1: selectLongChain (random); break;
                case 2: seq.setPendingBank ((int) (random() % banks)); break;
                default: seq.choosePendingBank ((int) (random() % 4)); break;
            }
            const Chain seen = seq.getChain();
            messageLog.check (seen, isWrittenWhole (seen));
        }
    });

    audio.join();
    message.join();

    EXPECT_EQ (audioLog.torn, 0) << "first torn chain on the audio thread: " << audioLog.firstTorn;
    EXPECT_EQ (messageLog.torn, 0) << "first torn chain on the message thread: " << messageLog.firstTorn;
    EXPECT_EQ (cursorsOutside, 0);
    EXPECT_GT (patternChanges, audioSteps / Pattern::numSteps) << "the audio side crossed pattern ends";
    EXPECT_GT (owner.triggerCount, 0);
    EXPECT_TRUE (isInRange (seq.getChain())) << describe (seq.getChain());
}

// Both threads press the button of bank 1 (message: the front panel; audio: a
// bank note) while ranges are picked and the chain plays. Each press flips the
// pending bank between 1 and 5, so an odd number of presses ends on 5, and the
// presses that chose 5 outnumber those that chose 1 by exactly one. A press
// lost between reading the pending bank and writing it breaks both counts.
TEST_F (ChainHandOverStressTest, EveryBankPressFromEitherThreadCounts)
{
    constexpr long audioPresses = 100001;
    constexpr long messagePresses = 100000;
    constexpr int pressed = 1;

    seq.setChain (0, 0, pressed); // pending bank 1
    seq.startNative();

    StartLine startLine;
    ReadLog audioLog, messageLog;
    const auto isLowerOrUpper = [] (Chain chain) {
        return isInRange (chain) && (chain.pendingBank == pressed || chain.pendingBank == pressed + banks / 2);
    };
    long upperChoices[2] = { 0, 0 }, lowerChoices[2] = { 0, 0 };

    const auto press = [&] (int side, ReadLog& log) {
        const int chosen = seq.choosePendingBank (pressed);
        (chosen == pressed ? lowerChoices : upperChoices)[side]++;
        log.check (seq.getChain(), isLowerOrUpper (seq.getChain()));
    };

    std::thread audio ([&] {
        startLine.arriveAndWait();
        for (long i = 0; i < audioPresses; ++i)
        {
            seq.playNativeStep (false);
            seq.advanceNativeStep();
            press (0, audioLog);
        }
    });

    std::thread message ([&] {
        std::mt19937 random (3);
        startLine.arriveAndWait();
        for (long i = 0; i < messagePresses; ++i)
        {
            press (1, messageLog);
            if (i % 3 == 0)
                selectLongChain (random); // keeps the pending bank
        }
    });

    audio.join();
    message.join();

    EXPECT_EQ (audioLog.torn, 0) << audioLog.firstTorn;
    EXPECT_EQ (messageLog.torn, 0) << messageLog.firstTorn;
    EXPECT_EQ (lowerChoices[0] + lowerChoices[1] + upperChoices[0] + upperChoices[1], audioPresses + messagePresses);
    EXPECT_EQ ((upperChoices[0] + upperChoices[1]) - (lowerChoices[0] + lowerChoices[1]), 1);
    EXPECT_EQ (seq.getChain().pendingBank, pressed + banks / 2);
}

TEST (ChoosePendingBank, LowerThenUpperAndBadButtonsChangeNothing)
{
    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };
    seq.setChain (3, 5, 2);

    EXPECT_EQ (seq.choosePendingBank (0), 0);
    EXPECT_EQ (seq.choosePendingBank (0), 4) << "a second press gives the upper bank";
    EXPECT_EQ (seq.choosePendingBank (0), 0);
    EXPECT_EQ (seq.choosePendingBank (3), 3);
    EXPECT_EQ (seq.choosePendingBank (3), 7);
    EXPECT_EQ (seq.choosePendingBank (2), 2) << "from the upper bank of another button: that button's lower bank";

    for (const int bad : { -1, 4, 7, 99 })
        EXPECT_EQ (seq.choosePendingBank (bad), 2) << bad;

    const Chain chain = seq.getChain();
    EXPECT_EQ (describe (chain), describe (Chain { 3, 5, 2, 2 })) << "the chain itself waits for the next selection";
}
