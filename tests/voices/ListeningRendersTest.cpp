#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <string>

using namespace dsptest;

// Writes every voice at its default settings (a hit and a softer one) and a
// short groove to WAV files in the test output folder, for a person to
// listen to and to look at as spectrograms. The checks only make sure each
// file holds a real sound.
TEST(ListeningRenders, EveryVoiceAndAGrooveToWav)
{
    const char* names[instrument::numVoices] = { "bass-drum", "snare-drum", "low-tom", "mid-tom", "hi-tom", "rim-shot",
                                                 "hand-clap", "closed-hi-hat", "open-hi-hat", "crash", "ride" };
    const double rate = 44100.0;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        auto core = makeCore(rate, 44100);
        const auto signal = renderVoice(*core, slot, static_cast<std::size_t>(rate * 2.5),
                                        { { 2205, slot, 1.0f }, { 66150, slot, 0.6f } });
        EXPECT_TRUE(allFinite(signal)) << names[slot];
        EXPECT_GT(peak(signal), 0.01) << names[slot];
        EXPECT_TRUE(writeWav(outputFolder() + "/voice-" + names[slot] + ".wav", signal, rate)) << names[slot];
    }

    // Closed hats on eighths with an open hat choked by the next closed one,
    // a ride on quarters and a crash on the one: the choke must be heard.
    auto core = makeCore(rate, 44100);
    const auto eighth = static_cast<std::int64_t>(rate * 0.25);
    std::vector<Hit> hits { { 0, instrument::crash, 1.0f }, { 0, instrument::bassDrum, 1.0f } };
    for (std::int64_t step = 0; step < 16; ++step)
    {
        hits.push_back({ step * eighth, step % 4 == 3 ? instrument::openHiHat : instrument::closedHiHat,
                         step % 2 == 0 ? 1.0f : 0.6f });
        if (step % 2 == 0)
            hits.push_back({ step * eighth, instrument::ride, 0.7f });
        if (step % 4 == 2)
            hits.push_back({ step * eighth, instrument::handClap, 0.9f });
        if (step % 8 == 5)
            hits.push_back({ step * eighth, instrument::rimShot, 0.8f });
    }
    const auto groove = render(*core, static_cast<std::size_t>(eighth * 17), hits).mix();
    EXPECT_TRUE(allFinite(groove));
    EXPECT_TRUE(writeWav(outputFolder() + "/voices-groove.wav", groove, rate));
}

TEST(ListeningRenders, WavWriterRefusesAFolderThatIsNotThere)
{
    EXPECT_FALSE(writeWav("/nonexistent-folder/x.wav", { 0.0, 0.5 }, 44100.0));
}
