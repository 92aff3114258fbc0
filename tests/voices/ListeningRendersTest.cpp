#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <string>

// Writes one hit of every voice (and a short groove of the cymbals) to WAV
// files in the test output folder, for a person to listen to and to look at
// as spectrograms. The checks only make sure each file holds a real sound.
TEST(ListeningRenders, EveryVoiceToWav)
{
    const char* names[instrument::numVoices] = { "bass-drum", "snare-drum", "low-tom", "mid-tom", "hi-tom", "rim-shot",
                                                 "hand-clap", "closed-hi-hat", "open-hi-hat", "crash", "ride" };
    const double rate = 44100.0;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        auto core = dsptest::makeCore(rate, 44100);
        const auto signal = dsptest::renderVoice(*core, slot, static_cast<std::size_t>(rate * 1.5),
                                                 { { 2205, slot, 1.0f } });
        EXPECT_TRUE(dsptest::allFinite(signal)) << names[slot];
        EXPECT_GT(dsptest::peak(signal), 0.01) << names[slot];
        EXPECT_TRUE(dsptest::writeWav(dsptest::outputFolder() + "/voice-" + names[slot] + ".wav", signal, rate));
    }

    // Closed hats on eighths with an open hat choked by the next closed one,
    // a ride on quarters and a crash on the one: the choke must be heard.
    auto core = dsptest::makeCore(rate, 44100);
    const auto eighth = static_cast<std::int64_t>(rate * 0.25);
    std::vector<dsptest::Hit> hits { { 0, instrument::crash, 1.0f }, { 0, instrument::bassDrum, 1.0f } };
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
    const auto groove = dsptest::render(*core, static_cast<std::size_t>(eighth * 17), hits).mix();
    EXPECT_TRUE(dsptest::allFinite(groove));
    EXPECT_TRUE(dsptest::writeWav(dsptest::outputFolder() + "/voices-groove.wav", groove, rate));
}
