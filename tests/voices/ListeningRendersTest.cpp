#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <string>

using namespace dsptest;

// Writes every voice at its default settings (a hit and a softer one) to WAV
// files in the test output folder, for a person to listen to and to look at
// as spectrograms. The checks only make sure each file holds a real sound.
TEST(ListeningRenders, EveryVoiceToWav)
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
}

TEST(ListeningRenders, WavWriterRefusesAFolderThatIsNotThere)
{
    EXPECT_FALSE(writeWav("/nonexistent-folder/x.wav", { 0.0, 0.5 }, 44100.0));
}
