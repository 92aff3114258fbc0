// The whole product through the real module and the command-line host: the
// state chunk keeps every kind of edit, and the factory kits, picked by
// program change, each sound different.
#include "support/HostedModule.h"
#include "tools/Player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace vst;
using testing_support::setState;
using testing_support::stateOf;

namespace
{
constexpr double rate = 44100.0;
constexpr int blockSize = 256;

class ProductHost : public ::testing::Test
{
protected:
    // A fresh instance at the test's rate and block size, resumed.
    std::unique_ptr<clihost::PluginInstance> create() { return hosted.create (rate, blockSize); }

    static clihost::Rendering play (clihost::PluginInstance& instance, const std::vector<std::pair<long long, std::vector<uint8_t>>>& midi,
                                    long long frames)
    {
        clihost::Script script;
        for (const auto& [frame, bytes] : midi)
        {
            clihost::ScriptEvent event;
            event.frame = frame;
            event.bytes = bytes;
            script.events.push_back (event);
        }
        script.lengthFrames = frames;
        clihost::PlaySettings settings;
        settings.sampleRate = rate;
        settings.blockSize = blockSize;
        settings.lengthFrames = frames;
        settings.resume = false;
        return clihost::play (instance, script, settings);
    }

    static std::string programName (clihost::PluginInstance& instance)
    {
        char name[64] = {};
        instance.dispatch (effGetProgramName, 0, 0, name);
        return name;
    }

    testing_support::HostedModule hosted { PULSETTA_MODULE_PATH, "pulsetta-product-host-" };
};

juce::XmlElement* section (juce::XmlElement& state, const char* tag)
{
    return state.getChildByName (tag);
}
} // namespace

TEST_F (ProductHost, EveryEditOfTheWholeProductComesBackInANewInstance)
{
    auto edited = create();

    // Sound parameters and mutes, as the host automates them.
    for (int i = 0; i < 49; ++i)
        edited->setParameter (i, (float) ((i * 7) % 11) / 10.0f);
    edited->setParameter (52, 1.0f); // Low Tom Mute
    edited->setParameter (63, 1.0f); // Low Tom Solo

    // A chain from two held pattern keys: slots 1..4.
    play (*edited, { { 0, { 0x90, 14, 100 } }, { 300, { 0x90, 19, 100 } }, { 600, { 0x80, 19, 0 } }, { 700, { 0x80, 14, 0 } } }, 2048);

    // Patterns, outputs and the drum map, as a document would carry them.
    auto state = stateOf (*edited);
    ASSERT_NE (state, nullptr);
    auto* firstPattern = section (*state, "PatternsState")->getChildByName ("PatternBank")->getChildByName ("Pattern");
    ASSERT_NE (firstPattern, nullptr);
    firstPattern->setAttribute ("name", "Edited Groove");
    firstPattern->setAttribute ("tempo", "133.5");
    firstPattern->getChildByName ("SD")->deleteAllTextElements();
    firstPattern->getChildByName ("SD")->addTextElement ("..O...X...o....o");
    section (*state, "AudioOutputSettings")->getChildByName ("OutAssignations")->getChildByName ("SD")->setAttribute ("out", 7);
    section (*state, "DrumMap")->createNewChildElement ("assign")->setAttribute ("midiKey", 60);
    section (*state, "DrumMap")->getChildElement (section (*state, "DrumMap")->getNumChildElements() - 1)->setAttribute ("instrument", "RS");
    setState (*edited, *state);

    const auto saved = stateOf (*edited);
    ASSERT_NE (saved, nullptr);
    const auto savedText = saved->toString();
    edited->close();

    auto restored = create();
    setState (*restored, *saved);
    const auto again = stateOf (*restored);
    ASSERT_NE (again, nullptr);
    EXPECT_EQ (again->toString(), savedText) << "saved again, the state is the same";

    // And each edit is there.
    for (int i = 0; i < 49; ++i)
        EXPECT_NEAR (restored->getParameter (i), (float) ((i * 7) % 11) / 10.0f, 1.0e-6f) << i;
    EXPECT_EQ (restored->getParameter (52), 1.0f);
    EXPECT_EQ (restored->getParameter (63), 1.0f);
    auto* chain = again->getChildByName ("XRState")->getChildByName ("ChainPatterns");
    EXPECT_EQ (chain->getIntAttribute ("first"), 1);
    EXPECT_EQ (chain->getIntAttribute ("last"), 4);
    EXPECT_EQ (chain->getIntAttribute ("bank"), 0);
    auto* pattern = section (*again, "PatternsState")->getChildByName ("PatternBank")->getChildByName ("Pattern");
    EXPECT_EQ (pattern->getStringAttribute ("name"), "Edited Groove");
    EXPECT_DOUBLE_EQ (pattern->getDoubleAttribute ("tempo"), 133.5);
    EXPECT_EQ (pattern->getChildByName ("SD")->getAllSubText().trim(), "..O...X...o....o");
    EXPECT_EQ (section (*again, "AudioOutputSettings")->getChildByName ("OutAssignations")->getChildByName ("SD")->getIntAttribute ("out"), 7);
    bool keyKept = false;
    for (auto* assign : section (*again, "DrumMap")->getChildIterator())
        keyKept = keyKept || (assign->getIntAttribute ("midiKey") == 60 && assign->getStringAttribute ("instrument") == "RS");
    EXPECT_TRUE (keyKept);

    // The restored chain plays: slot 1 is the first pattern the sequencer reaches.
    restored->close();
}

TEST_F (ProductHost, FactoryKitsPickedByProgramChangeEachSoundDifferent)
{
    // Every voice once, on the drum map's keys, with the sequencer off so the notes play.
    const int keys[11] = { 36, 38, 41, 45, 48, 37, 39, 42, 46, 49, 51 };
    std::vector<std::vector<float>> renders;
    std::vector<std::string> names;
    for (int program = 0; program < 15; ++program)
    {
        auto instance = create();
        auto state = stateOf (*instance);
        ASSERT_NE (state, nullptr);
        section (*state, "InternalSequencer")->getChildByName ("IntSeq")->setAttribute ("state", "off");
        setState (*instance, *state);

        std::vector<std::pair<long long, std::vector<uint8_t>>> midi { { 0, { 0xC0, (uint8_t) program } } };
        for (int voice = 0; voice < 11; ++voice)
            midi.push_back ({ 2048 + voice * 8192, { 0x90, (uint8_t) keys[voice], 100 } });
        const auto rendering = play (*instance, midi, 2048 + 11 * 8192 + 22050);
        names.push_back (programName (*instance));
        renders.push_back (rendering.outputs[0]);
        instance->close();
    }

    auto rms = [] (const std::vector<float>& x) {
        double sum = 0.0;
        for (float v : x)
            sum += (double) v * (double) v;
        return std::sqrt (sum / (double) x.size());
    };
    for (size_t a = 0; a < renders.size(); ++a)
    {
        EXPECT_GT (rms (renders[a]), 1.0e-3) << names[a] << " is silent";
        for (size_t b = a + 1; b < renders.size(); ++b)
        {
            std::vector<float> difference (renders[a].size());
            for (size_t i = 0; i < difference.size(); ++i)
                difference[i] = renders[a][i] - renders[b][i];
            EXPECT_GT (rms (difference), 0.05 * std::max (rms (renders[a]), rms (renders[b])))
                << names[a] << " and " << names[b] << " sound alike";
        }
    }
    EXPECT_EQ (names.front(), "Classic Balanced");
    EXPECT_EQ (std::set<std::string> (names.begin(), names.end()).size(), names.size()) << "each program change picked its own kit";
}
