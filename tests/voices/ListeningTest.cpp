#include "DspTestKit.h"

#include <gtest/gtest.h>

using namespace dsptest;

// Renders each voice at its default settings to a WAV file a person can
// listen to or look at (a spectrogram shows the pitch and the noise).
TEST(Listening, EachVoiceAtDefaultSettingsIsWrittenToAWavFile)
{
    const struct { int slot; const char* name; } voices[] = {
        { instrument::bassDrum, "bass-drum" }, { instrument::snareDrum, "snare-drum" },
        { instrument::lowTom, "low-tom" },     { instrument::midTom, "mid-tom" },
        { instrument::hiTom, "hi-tom" },
    };
    const double rate = 44100.0;
    for (const auto& voice : voices)
    {
        auto core = makeCore(rate, 4410);
        const auto s = renderVoice(*core, voice.slot, static_cast<std::size_t>(rate * 1.5),
                                   { { 2205, voice.slot, 1.0f }, { 33075, voice.slot, 0.6f } });
        ASSERT_TRUE(allFinite(s));
        EXPECT_GT(peak(s), 0.05) << voice.name;
        const std::string path = outputFolder() + "/voice-" + voice.name + ".wav";
        EXPECT_TRUE(writeWav(path, s, rate)) << path;
    }
}

TEST(Listening, WavWriterRefusesAFolderThatIsNotThere)
{
    EXPECT_FALSE(writeWav("/nonexistent-folder/x.wav", { 0.0, 0.5 }, 44100.0));
}
