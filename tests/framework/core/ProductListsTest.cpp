// The product's embedded parameter and event lists as the processor loads them.
#include "framework/core/EventsMap.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

namespace
{
const juce::StringArray words { "Bass Drum", "Snare Drum", "Low Tom", "Mid Tom", "Hi Tom", "Rim Shot",
                                "Hand Clap", "Closed Hi Hat", "Open Hi Hat", "Crash", "Ride", "Accent" };

class ProductParameterList : public ::testing::Test
{
protected:
    void SetUp() override { manager.loadFromResource ("parameters.xml"); }

    void expectFloat (int index, const juce::String& name, float value, bool automatable)
    {
        auto* p = dynamic_cast<FloatParameter*> (manager.getParameter (index));
        ASSERT_NE (p, nullptr) << index;
        EXPECT_EQ (p->getName(), name) << index;
        EXPECT_EQ (p->getValue(), value) << index;
        EXPECT_EQ (p->getMinimum(), 0.0f);
        EXPECT_EQ (p->getMaximum(), 1.0f);
        EXPECT_EQ (p->isAutomatable(), automatable) << index;
    }

    ParameterManager manager;
};
} // namespace

TEST_F (ProductParameterList, Holds143Parameters)
{
    EXPECT_EQ (manager.getNumParameters(), 143);
    EXPECT_EQ (manager.getApplicationName(), juce::String ("Pulsetta"));

    for (int i = 0; i < 143; ++i)
    {
        ASSERT_NE (manager.getParameter (i), nullptr) << i;
        EXPECT_EQ (manager.getParameter (i)->isAutomatable(), i < 84) << i;
    }
}

TEST_F (ProductParameterList, NamesKindsAndDefaults)
{
    for (int w = 0; w < 12; ++w)
    {
        expectFloat (w, words[w] + " Level", 0.5f, true);
        expectFloat (72 + w, words[w] + " Rand Threshold", 0.2f, true);
        expectFloat (95 + w, words[w] + " Activity", 0.0f, false);
        expectFloat (107 + w, words[w] + " Rand State", 0.0f, false);
        expectFloat (119 + w, words[w] + " Selection", 0.0f, false);
        expectFloat (131 + w, words[w] + " Rand Selection", 0.0f, false);
    }

    for (int v = 0; v < 11; ++v)
    {
        expectFloat (50 + v, words[v] + " Mute", 0.0f, true);
        expectFloat (61 + v, words[v] + " Solo", 0.0f, true);

        auto* output = dynamic_cast<IntParameter*> (manager.getParameter (84 + v));
        ASSERT_NE (output, nullptr);
        EXPECT_EQ (output->getName(), words[v] + " Output Number");
        EXPECT_EQ (output->getMinimum(), 1);
        EXPECT_EQ (output->getMaximum(), 12);
        EXPECT_EQ (output->getInt(), 1);
        EXPECT_FALSE (output->isAutomatable());
    }

    expectFloat (49, "Main Volume", 0.5f, true);
}

TEST_F (ProductParameterList, VoiceControls)
{
    const std::pair<const char*, float> controls[] = {
        { "Bass Drum Tune", 0.5f }, { "Bass Drum Pitch", 0.5f }, { "Bass Drum Attack", 0.25f },
        { "Bass Drum Decay", 0.25f }, { "Bass Drum Tune Depth", 0.5f }, { "Snare Drum Tune", 0.5f },
        { "Snare Drum Tone", 0.25f }, { "Snare Drum Tune Depth", 0.5f }, { "Snare Drum Decay", 0.5f },
        { "Snare Drum Snappy", 0.5f }, { "Low Tom Tune", 0.5f }, { "Low Tom Tone", 0.5f },
        { "Low Tom Tune Depth", 0.5f }, { "Low Tom Decay", 0.5f }, { "Low Tom Tune Decay", 0.5f },
        { "Mid Tom Tune", 0.5f }, { "Mid Tom Tone", 0.5f }, { "Mid Tom Tune Depth", 0.5f },
        { "Mid Tom Decay", 0.5f }, { "Mid Tom Tune Decay", 0.5f }, { "Hi Tom Tune", 0.5f },
        { "Hi Tom Tone", 0.5f }, { "Hi Tom Tune Depth", 0.5f }, { "Hi Tom Decay", 0.5f },
        { "Hi Tom Tune Decay", 0.5f }, { "Rim Shot Tune", 0.5f }, { "Rim Shot Decay", 0.5f },
        { "Hand Clap Tune", 0.5f }, { "Hand Clap Reverb", 1.0f }, { "Closed Hi Hat Tune", 0.5f },
        { "Closed Hi Hat Decay", 0.5f }, { "Open Hi Hat Tune", 0.5f }, { "Open Hi Hat Decay", 0.5f },
        { "Crash Tune", 0.5f }, { "Crash Decay", 1.0f }, { "Ride Tune", 0.5f }, { "Ride Decay", 1.0f },
    };

    int index = 12;
    for (auto& [name, value] : controls)
        expectFloat (index++, name, value, true);

    EXPECT_EQ (index, 49);
}

TEST (ProductEventsList, Holds92EventsAndTheCommands)
{
    EventsMap events;
    events.loadFromResource ("events.xml");
    ASSERT_EQ (events.getNumEvents(), 92);

    const juce::StringArray voices { "Bass Drum", "Snare Drum", "Low Tom", "Mid Tom", "Hi Tom", "Rim Shot",
                                     "Hand Clap", "Closed Hi Hat", "Open Hi Hat", "Crash", "Ride" };
    for (int v = 0; v < 11; ++v)
    {
        EXPECT_EQ (events.getName (v), "Toggle " + voices[v] + " Mute");
        EXPECT_EQ (events.getName (11 + v), "Inverse " + voices[v] + " Mute");
        EXPECT_EQ (events.getName (22 + v), "Toggle " + voices[v] + " Solo");
        EXPECT_EQ (events.getName (33 + v), "Inverse " + voices[v] + " Solo");
    }
    for (int w = 0; w < 12; ++w)
    {
        EXPECT_EQ (events.getName (44 + w), "Select " + words[w]);
        EXPECT_EQ (events.getName (56 + w), "Toggle " + words[w] + " Selection");
        EXPECT_EQ (events.getName (68 + w), "Tap " + words[w]);
        EXPECT_EQ (events.getName (80 + w), "Tap " + words[w] + " Accented");
    }

    const char* commands[] = { "Options", "About", "Select next preset", "Select previous preset", "Browse presets",
                               "Save preset", "Save preset as", "Copy current preset", "Paste copied preset",
                               "Store current preset", "Toggle Midi Learn" };
    for (int c = 0; c < 11; ++c)
        EXPECT_TRUE (events.addEvent (1000 + c, commands[c]));

    EXPECT_EQ (events.getNumEvents(), 103);
    EXPECT_EQ (events.getDisplayName (55), juce::String ("Select accent"));
    EXPECT_EQ (events.getDisplayName (1010), juce::String ("Toggle midi learn"));
    EXPECT_EQ (events.getDisplayName (1001), juce::String ("About"));
    EXPECT_EQ (events.getUid ("Tap Accent Accented"), 91);
}
