// The sequencer on the host's clock, through the real module and the command-line host: tempo changes
// the host makes inside a block, a locate, and a count-in. The steps are read from the echo notes the
// module sends back, each stamped with its frame.
#include "support/HostedModule.h"
#include "tools/Player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <utility>

namespace
{
// A pattern with the bass drum on each step the row marks, at 4 steps a beat and 120 bpm.
juce::XmlElement* replaceFirstPattern (juce::XmlElement& state, const char* bassDrumRow)
{
    auto* bank = state.getChildByName ("PatternsState")->getChildByName ("PatternBank");
    auto* first = bank->getChildByName ("Pattern");
    auto* pattern = new juce::XmlElement ("Pattern");
    pattern->setAttribute ("application", "Pulsetta");
    pattern->setAttribute ("name", "Clock Test");
    pattern->setAttribute ("length", 16);
    pattern->setAttribute ("scale", 4);
    pattern->setAttribute ("tempo", 120.0);
    pattern->createNewChildElement ("BD")->addTextElement (bassDrumRow);
    bank->replaceChildElement (first, pattern);
    return pattern;
}

// One tempo from a frame on: the host's song position in beats is piecewise linear in frames.
struct TempoSegment
{
    long long frame;
    double bpm;
};

// The frame of the first whole sample at or after each beat the host reaches, the song starting at
// `startBeat` on frame 0.
long long frameOfBeat (double beat, double startBeat, const std::vector<TempoSegment>& tempi, double rate)
{
    double segmentBeat = startBeat;
    for (size_t i = 0; i < tempi.size(); ++i)
    {
        const double beatsPerFrame = tempi[i].bpm / (60.0 * rate);
        const bool last = i + 1 == tempi.size();
        const double segmentEndBeat = last ? 1.0e300 : segmentBeat + (double) (tempi[i + 1].frame - tempi[i].frame) * beatsPerFrame;
        if (beat <= segmentEndBeat)
            return tempi[i].frame + (long long) std::ceil ((beat - segmentBeat) / beatsPerFrame - 1.0e-6);
        segmentBeat = segmentEndBeat;
    }
    return -1;
}

class SequencerHostClock : public ::testing::Test
{
protected:
    // Plays a script on a fresh instance whose first pattern has the bass drum on the marked steps,
    // with the internal sync on or off; the frames at which the bass drum's echo note came back.
    std::vector<long long> play (const std::string& text, double rate, int blockSize, bool internalSync,
                                 const char* bassDrumRow = "oooooooooooooooo")
    {
        auto instance = hosted.create (rate, blockSize);
        if (instance == nullptr)
            return {};

        auto state = testing_support::stateOf (*instance);
        EXPECT_NE (state, nullptr);
        if (state == nullptr)
            return {};
        replaceFirstPattern (*state, bassDrumRow);
        state->getChildByName ("InternalSequencer")->getChildByName ("IntSync")->setAttribute ("state", internalSync ? "on" : "off");
        testing_support::setState (*instance, *state);

        std::string error;
        clihost::Script script;
        EXPECT_TRUE (clihost::Script::parse (text, rate, script, error)) << error;
        clihost::PlaySettings play;
        play.sampleRate = rate;
        play.blockSize = blockSize;
        play.resume = false;
        const auto rendering = clihost::play (*instance, script, play);
        instance->close();

        std::set<long long> frames; // the bass drum may sit on several keys: one hit a frame
        for (const auto& sent : rendering.midi)
            if (sent.bytes.size() >= 3 && (sent.bytes[0] & 0xf0) == 0x90 && sent.bytes[2] > 0)
                frames.insert (sent.frame);
        return { frames.begin(), frames.end() };
    }

    testing_support::HostedModule hosted { PULSETTA_PRODUCT_MODULE_PATH, "pulsetta-sequencer-clock-" };
};

std::string describe (const std::vector<long long>& frames)
{
    std::ostringstream text;
    for (auto f : frames)
        text << f << ' ';
    return text.str();
}
} // namespace

TEST_F (SequencerHostClock, ATempoChangeInsideABlockKeepsEveryStepOnTheHostsGridAndPlaysItOnce)
{
    // Changes at a step, inside a block, faster and slower, small and large, at two rates; blocks so long
    // that steps fall inside the block of the change; and hosts that round their song position (to
    // 1/rounding beat), jitter their tempo by the arithmetic's noise or hold their sample position at 0.
    const struct { double before, after, beat, rate; int block, rounding = 0; double jitter = 0.0; bool samplesHeld = false; } cases[] = {
        { 100.0, 133.0, 11.0, 44100.0, 1024 },
        { 100.0, 133.0, 16.0, 44100.0, 1024 },
        { 60.0, 180.0, 8.0, 44100.0, 1024 },
        { 133.0, 100.0, 16.0, 48000.0, 2048 },
        { 140.0, 97.0, 5.5, 96000.0, 512 },
        { 60.0, 240.0, 180234.0 / 44100.0, 44100.0, 8192 },
        { 60.0, 300.0, 4.1, 44100.0, 8192 },
        { 100.0, 300.0, 4.3, 96000.0, 8192 },
        { 150.0, 90.0, 7.8, 44100.0, 4096, 1920 },
        { 133.0, 100.0, 16.0, 48000.0, 512, 1920, 1.0e-12 },
        { 120.0, 133.0, 6.3, 48000.0, 512, 0, 0.0, true },
    };
    for (const auto& c : cases)
    {
        const auto change = (long long) std::ceil (c.beat * 60.0 * c.rate / c.before - 1.0e-6);
        ASSERT_NE (change % c.block, 0) << "the change lies inside a block";
        const std::vector<TempoSegment> tempi { { 0, c.before }, { change, c.after } };
        const double beats = c.beat + 8.0;
        const auto end = frameOfBeat (beats, 0.0, tempi, c.rate);
        std::ostringstream script;
        script << "at 0 report-rounding " << c.rounding << "\nat 0 report-tempo-jitter " << c.jitter
               << "\nat 0 report-sample-position " << (c.samplesHeld ? "held" : "moving") << "\nat 0 tempo " << c.before
               << "\nat 0 play\nat " << change << " tempo-in-block " << c.after << "\nend " << end << "\n";
        const auto steps = play (script.str(), c.rate, c.block, false);

        std::vector<long long> grid;
        for (int step = 0; frameOfBeat (step / 4.0, 0.0, tempi, c.rate) < end; ++step)
            grid.push_back (frameOfBeat (step / 4.0, 0.0, tempi, c.rate));
        const auto what = std::to_string (c.before) + " to " + std::to_string (c.after) + " bpm at beat " + std::to_string (c.beat);
        EXPECT_EQ (steps.size(), grid.size()) << what << ": each step once, found at " << describe (steps);
        if (steps.size() != grid.size())
            continue;
        // The host tells of the change from the next block on: a step due before then is late, but comes
        // within that block. A host that rounds places its first report after the change only to within
        // its rounding; later reports narrow it down.
        const auto told = (change / c.block + 1) * c.block;
        const double rounding = c.rounding > 0 ? 0.5 / c.rounding * 60.0 * c.rate / c.after : 0.0;
        bool first = true;
        for (size_t i = 0; i < grid.size(); ++i)
        {
            if (grid[i] > change && grid[i] < told)
            {
                EXPECT_GE (steps[i], change) << what << ": step " << i;
                EXPECT_LT (steps[i], told + c.block) << what << ": step " << i << " comes by the end of the block after the change";
                continue;
            }
            const bool firstAfter = grid[i] >= told && std::exchange (first, false);
            EXPECT_LE (std::llabs (steps[i] - grid[i]), firstAfter ? rounding + 1.0 : 2.0)
                << what << ": step " << i << " at " << steps[i] << " instead of " << grid[i];
        }
    }
}

TEST_F (SequencerHostClock, AHostLocateMovesTheStepsToTheNewPosition)
{
    // At 120 bpm, 44.1 kHz: from beat 2 the host jumps to beat 9.1 (inside the step of beat 9).
    const auto steps = play ("at 0 tempo 120\nat 0 play\nat 44100 position 9.1\nend 88200\n", 44100.0, 1000, false, "o.o.o.o.o.o.o.o.");
    std::vector<long long> expected;
    for (int half = 0; half < 4; ++half)
        expected.push_back (half * 11025);
    expected.push_back (44100); // the step the host lands in starts afresh
    for (int half = 19; half < 23; ++half)
        expected.push_back (44100 + (long long) std::ceil ((half * 0.5 - 9.1) * 22050.0 - 1.0e-6));
    EXPECT_EQ (steps, expected) << describe (steps);
}

TEST_F (SequencerHostClock, ACountInPlaysNothingAndTheFirstBarStartsOnTheHostsZero)
{
    // A two-beat count-in, with the host's tempo changing inside a block before its zero in some; the
    // pattern plays its bass drum on each bar's first step.
    const struct
    {
        double hostTempo;
        long long changeFrame; // 0: none
        double changedTempo;
        bool internalSync;
        int block;
        std::vector<long long> hits;
    } cases[] = {
        { 120.0, 0, 0.0, false, 1024, { 48000, 144000 } },
        { 120.0, 0, 0.0, true, 1024, { 48000, 144000 } },
        // The internal sync keeps the pattern's own 120 bpm once the host reaches zero.
        { 100.0, 0, 0.0, true, 1024, { 57600, 153600 } },
        { 100.0, 0, 0.0, false, 1024, { 57600, 172800 } },
        // From frame 20000 the host counts in faster: its zero comes at frame 44000 (46857.1).
        { 120.0, 20000, 140.0, true, 512, { 44000, 140000 } },
        { 100.0, 20000, 140.0, true, 512, { 46858, 142858 } },
        { 120.0, 20000, 140.0, false, 512, { 44000, 126286 } },
    };
    for (const auto& c : cases)
    {
        std::ostringstream script;
        script << "at 0 tempo " << c.hostTempo << "\nat 0 position -2\nat 0 play\n";
        if (c.changeFrame > 0)
            script << "at " << c.changeFrame << " tempo-in-block " << c.changedTempo << "\n";
        script << "end 180000\n";
        const auto hits = play (script.str(), 48000.0, c.block, c.internalSync, "o...............");
        EXPECT_EQ (hits, c.hits) << c.hostTempo << " bpm, then " << c.changedTempo << " from frame " << c.changeFrame
                                 << ", internal sync " << c.internalSync << ": " << describe (hits);
    }
}
