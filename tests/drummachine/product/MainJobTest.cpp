#include "support/TemporarySettingsHome.h"
#include "tools/playpattern/MainJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The main job through the real module and the command-line host: the WAV it
// writes holds the pattern's hits, each where the pattern's step falls at the
// pattern's tempo, on the mix and on each voice's own output.
namespace
{
constexpr double rate = 44100.0;

// Sample frames where a hit starts: the first difference (which favours the
// attack of a hit over the tail of the one before) is summed over 64-sample
// windows every 32 samples; a window much louder than the eight before it
// marks a hit, placed at the first sample whose difference comes near the
// window's largest.
std::vector<long long> detectOnsets (const std::vector<float>& signal)
{
    constexpr int window = 64, hop = 32;
    std::vector<double> energy;
    for (size_t start = 1; start + window < signal.size(); start += hop)
    {
        double sum = 0.0;
        for (size_t i = start; i < start + window; ++i)
        {
            const double d = (double) signal[i] - (double) signal[i - 1];
            sum += d * d;
        }
        energy.push_back (sum);
    }
    const double loudest = energy.empty() ? 0.0 : *std::max_element (energy.begin(), energy.end());
    std::vector<long long> onsets;
    for (size_t f = 0; f < energy.size(); ++f)
    {
        double before = 0.0;
        for (size_t b = f >= 8 ? f - 8 : 0; b < f; ++b)
            before = std::max (before, energy[b]);
        if (energy[f] < 1.0e-4 * loudest || energy[f] < 1.0e-6 || energy[f] < 6.0 * before) // below -60 dB is silence
            continue;
        const size_t start = 1 + f * hop;
        double largest = 0.0;
        for (size_t i = start; i < start + window; ++i)
            largest = std::max (largest, std::abs ((double) signal[i] - (double) signal[i - 1]));
        long long at = (long long) start;
        for (size_t i = start >= (size_t) hop ? start - hop : 1; i < start + window; ++i)
            if (std::abs ((double) signal[i] - (double) signal[i - 1]) >= 0.25 * largest)
            {
                at = (long long) i;
                break;
            }
        if (onsets.empty() || at - onsets.back() > (long long) (0.04 * rate)) // a clap's bursts span 33 ms
            onsets.push_back (at);
    }
    return onsets;
}

std::vector<long long> expectedHits (const mainjob::FactoryPattern& pattern, long long playFrames, int track)
{
    const int passes = (int) std::ceil ((double) playFrames / rate * pattern.tempo / 60.0 / pattern.getPatternBeats());
    const auto starts = mainjob::stepStartFrames (pattern, rate, passes);
    std::vector<long long> hits;
    for (size_t n = 0; n < starts.size(); ++n)
    {
        const int step = (int) (n % (size_t) pattern.length);
        const bool hit = track < 0 ? pattern.hasHitAt (step) : pattern.steps[(size_t) track][(size_t) step] != 0;
        if (hit && starts[n] < playFrames)
            hits.push_back (starts[n]);
    }
    return hits;
}

void expectSameTimes (const std::vector<long long>& expected, const std::vector<long long>& found, const std::string& what)
{
    const long long tolerance = (long long) (0.003 * rate);
    for (auto time : expected)
    {
        const bool matched = std::any_of (found.begin(), found.end(), [&] (long long f) { return std::llabs (f - time) <= tolerance; });
        EXPECT_TRUE (matched) << what << ": no hit near frame " << time;
    }
    for (auto time : found)
    {
        const bool matched = std::any_of (expected.begin(), expected.end(), [&] (long long e) { return std::llabs (e - time) <= tolerance; });
        EXPECT_TRUE (matched) << what << ": a hit at frame " << time << " where the pattern has none";
    }
}

std::string outputFolder()
{
    const char* folder = std::getenv ("PULSETTA_TEST_OUTPUT");
    return folder != nullptr ? std::string (folder) + "/main-job" : std::string();
}

// The module keeps its user settings under the XDG folder: a fresh one.
class MainJob : public ::testing::Test
{
protected:
    testing_support::TemporarySettingsHome settingsHome { "pulsetta-main-job-" };
};

void checkPattern (int bank, int number)
{
    mainjob::JobSettings settings;
    settings.modulePath = PULSETTA_MODULE_PATH;
    settings.outputFolder = outputFolder();
    settings.bank = bank;
    settings.pattern = number;
    mainjob::JobResult result;
    std::string error;
    ASSERT_TRUE (mainjob::run (settings, result, error)) << error;

    const auto what = "bank " + std::to_string (bank) + " pattern " + std::to_string (number) + " (" + result.pattern.name + ")";
    const auto playFrames = result.playFrames;
    EXPECT_EQ (playFrames, (long long) std::llround (16 * 60.0 * rate / result.pattern.tempo)) << "four bars at the pattern's tempo";
    ASSERT_GT (*std::max_element (result.mixLeft.begin(), result.mixLeft.end()), 0.01f) << what << ": the mix is silent";

    std::vector<float> mix (result.mixLeft.begin(), result.mixLeft.begin() + playFrames);
    expectSameTimes (expectedHits (result.pattern, playFrames, -1), detectOnsets (mix), what + " mix");

    // Each voice on its own output: its row, and nothing else.
    for (int voice = 0; voice < mainjob::numVoices; ++voice)
    {
        const auto& channel = result.outputs[(size_t) (2 * voice)];
        std::vector<float> played (channel.begin(), channel.begin() + playFrames);
        expectSameTimes (expectedHits (result.pattern, playFrames, voice), detectOnsets (played),
                         what + " " + mainjob::voiceCode (voice));
    }
}
} // namespace

TEST_F (MainJob, TheFirstFactoryPatternPlaysItsStepsAtItsTempo)
{
    checkPattern (1, 1);
}

TEST_F (MainJob, AChosenPatternOfAnUpperBankPlaysItsSteps)
{
    checkPattern (6, 3);
}

TEST (MainJobSteps, StepTimesFollowTheShuffle)
{
    mainjob::FactoryPattern pattern;
    pattern.tempo = 120.0;
    pattern.shuffle = 0.5;
    pattern.length = 4;
    const auto frames = mainjob::stepStartFrames (pattern, 48000.0, 2);
    // A step is 6000 frames; pairs of 9000 and 3000.
    EXPECT_EQ (frames, (std::vector<long long> { 0, 9000, 12000, 21000, 24000, 33000, 36000, 45000 }));
}

TEST_F (MainJob, RefusesPatternsThatDoNotExist)
{
    mainjob::FactoryPattern pattern;
    std::string error;
    EXPECT_FALSE (mainjob::readFactoryPattern (0, 1, pattern, error));
    EXPECT_FALSE (error.empty());
    EXPECT_FALSE (mainjob::readFactoryPattern (1, 13, pattern, error));
    EXPECT_FALSE (mainjob::readFactoryPattern (9, 1, pattern, error));
    EXPECT_TRUE (mainjob::readFactoryPattern (8, 12, pattern, error)) << error;

    mainjob::JobSettings settings;
    settings.modulePath = "/nonexistent/Pulsetta.so";
    settings.outputFolder.clear();
    mainjob::JobResult result;
    EXPECT_FALSE (mainjob::run (settings, result, error));
    EXPECT_FALSE (error.empty());
}
