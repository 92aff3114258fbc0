#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

struct CountingListener : Parameter::Listener
{
    void parameterChanged (Parameter*) override { ++changes; }
    int changes = 0;
};
} // namespace

// Each row reads a text into the parameter (in order) and checks what it shows.
TEST (Parameters, TextFormsOfEveryKind)
{
    FloatParameter level (1, "Level", 0.0f, 10.0f, 12.0f);
    IntParameter steps (2, "Steps", 0, 3, 1);
    EnumParameter scale (3, "Scale", "Low;Mid;High");
    NoteParameter key (4, "Key", 36);
    BoolParameter b (5, "B");
    StateParameter s (6, "S");
    AnswerParameter answer (7, "A");
    LogicParameter logic (8, "L");
    StringParameter text (9, "Name", "12 monkeys");

    struct Case
    {
        Parameter& p;
        const char* input;
        const char* shown;
    };

    const Case cases[] = {
        { level, nullptr, "10.000000000" }, // the default is clamped
        { level, "3.5", "3.500000000" }, { level, "junk", "0.000000000" },
        { steps, "2 steps", "2" }, { steps, "none", "0" },
        { scale, "Mid", "Mid" }, { scale, "mid", "Low" }, // items are case-sensitive, no number: 0
        { scale, "1", "High" },                           // a number is normalised
        { key, nullptr, "C-3" }, { key, "C#3", "C#3" }, { key, "A#H", "G-H" }, { key, "C3", "C-0" },
        { key, "0.5", "E-5" }, // no note name: a normalised number (64)
        { b, "true", "true" }, { b, "false", "false" }, { b, "true", "true" },
        { b, "YES", "false" }, // bool words are case-sensitive
        { s, "on", "on" }, { s, "off", "off" }, { s, "ON", "on" }, // state words ignore case
        { answer, "yes", "yes" }, { answer, "no", "no" }, { answer, "on", "yes" }, // falls back to the plain words
        { logic, "1", "1" }, { logic, "0", "0" }, { logic, "0.7", "1" }, { text, "off", "off" },
    };

    for (auto& c : cases)
    {
        if (c.input != nullptr)
            c.p.setFromString (c.input, false);
        EXPECT_EQ (c.p.toString(), juce::String (c.shown)) << c.p.getName() << " <- " << (c.input ? c.input : "(default)");
    }
    EXPECT_FALSE (text.getBool());
}

TEST (Parameters, NumberConversionsAndClamping)
{
    FloatParameter f (1, "Level", 0.0f, 10.0f, 0.0f);
    f.setNormalised (1.5f, false);
    EXPECT_EQ (f.getValue(), 10.0f);
    f.setNormalised (0.25f, false);
    EXPECT_EQ (f.getValue(), 2.5f);
    EXPECT_EQ (f.getInt(), 2);
    f.setValue (5.0f, false);
    EXPECT_TRUE (f.getBool()) << "the midpoint counts as the upper half";
    f.setValue (4.99f, false);
    EXPECT_FALSE (f.getBool());
    f.setBool (true, false);
    EXPECT_EQ (f.getValue(), 10.0f);

    IntParameter i (2, "Steps", 0, 3, 1);
    i.setNormalised (0.5f, false);
    EXPECT_EQ (i.getInt(), 2) << "1.5 rounds up";
    i.setValue (2.9f, false);
    EXPECT_EQ (i.getInt(), 2) << "cut toward zero";
    i.setValue (-0.9f, false);
    EXPECT_EQ (i.getInt(), 0);
    i.setInt (99, false);
    EXPECT_EQ (i.getNormalised(), 1.0f);
    i.setValue (3.0e38f, false);
    EXPECT_EQ (i.getInt(), 3);
    i.setFromString ("99999999999999999999", false);
    EXPECT_EQ (i.getInt(), 3);

    BoolParameter b (3, "B");
    b.setNormalised (0.5f, false);
    EXPECT_TRUE (b.getBool());
    b.setValue (0.01f, false);
    EXPECT_TRUE (b.getBool());

    StringParameter s (4, "Name", "12 monkeys");
    EXPECT_EQ (s.getInt(), 12);
    EXPECT_EQ (s.getNormalised(), 1.0f);
    s.setValue (1.0f / 3.0f, false);
    EXPECT_EQ (s.toString(), juce::String ("0.333333"));
    s.setInt (-4, false);
    EXPECT_TRUE (s.getBool());
}

// A non-finite number from a file, chunk or host must never reach a value:
// every setter of every kind turns it into the minimum.
TEST (Parameters, NonFiniteInputBecomesTheMinimum)
{
    FloatParameter f (1, "Tune", 0.2f, 0.8f, 0.5f);
    IntParameter i (2, "Output", 1, 12, 5);
    BoolParameter b (3, "B");
    StringParameter s (4, "S");

    struct Case
    {
        Parameter& p;
        float minimum;
    };

    for (auto& c : { Case { f, 0.2f }, Case { i, 1.0f }, Case { b, 0.0f }, Case { s, 0.0f } })
    {
        for (auto bad : { notANumber, inf, -inf })
        {
            c.p.setValue (0.6f, false);
            c.p.setValue (bad, false);
            EXPECT_EQ (c.p.getValue(), c.minimum) << c.p.getName() << " setValue " << bad;
            c.p.setValue (0.6f, false);
            c.p.setNormalised (bad, false);
            EXPECT_EQ (c.p.getValue(), c.minimum) << c.p.getName() << " setNormalised " << bad;
            EXPECT_TRUE (std::isfinite (c.p.getNormalised())) << c.p.getName();
        }

        for (auto* text : { "nan", "inf", "-inf", "NaN" })
        {
            c.p.setValue (0.6f, false);
            c.p.setFromString (text, false);
            EXPECT_EQ (c.p.getValue(), c.minimum) << c.p.getName() << " " << text;
        }
    }

    s.setValue (notANumber, false);
    EXPECT_EQ (s.toString(), juce::String ("0"));
    EXPECT_EQ (FloatParameter (5, "Other", 0.0f, 1.0f, notANumber).getValue(), 0.0f);
}

TEST (Parameters, EmptyOrTurnedRangesAreSafe)
{
    EXPECT_EQ (FloatParameter (1, "Fixed", 0.3f, 0.3f, 0.3f).getNormalised(), 0.0f);
    EXPECT_EQ (EnumParameter (2, "Only", "Single").getNormalised(), 0.0f) << "no 0/0";
    EnumParameter none (3, "Empty", "");
    EXPECT_EQ (none.getNormalised(), 0.0f);
    EXPECT_EQ (none.toString(), juce::String());

    FloatParameter upsideDown (4, "Turned", 1.0f, 0.0f, 0.5f);
    EXPECT_EQ (upsideDown.getMinimum(), 0.0f);
    EXPECT_EQ (upsideDown.getMaximum(), 1.0f);
}

TEST (Parameters, RangeAndItemChangesClampAndNotify)
{
    IntParameter p (1, "Length", 0, 16, 12);
    CountingListener immediate;
    p.addListener (&immediate);

    p.setMaximum (8);
    EXPECT_EQ (p.getInt(), 8);
    EXPECT_EQ (immediate.changes, 1);
    p.setMaximum (-1); // below the minimum: refused
    p.setMinimum (9);  // above the maximum: refused
    EXPECT_EQ (p.getMaximum(), 8);
    EXPECT_EQ (p.getMinimum(), 0);
    p.setMaximum (16); // value does not move: nobody is told
    EXPECT_EQ (immediate.changes, 1);
    p.setMinimum (10);
    EXPECT_EQ (p.getInt(), 10);
    EXPECT_EQ (immediate.changes, 2);

    EnumParameter e (2, "Scale", "Low;Mid;High");
    e.setInt (2, false);
    e.setItems ("A;B");
    EXPECT_EQ (e.getMaximum(), 1);
    EXPECT_EQ (e.toString(), juce::String ("B"));
}

TEST (Parameters, CopiesAcrossKindsAndClones)
{
    FloatParameter f (1, "F", 0.0f, 10.0f, 7.6f);
    IntParameter i (2, "I", 0, 5, 0);
    StringParameter s (4, "S");
    i.setFromParameter (f, false);
    EXPECT_EQ (i.getInt(), 5);
    s.setFromParameter (f, false);
    EXPECT_EQ (s.toString(), juce::String ("7.599999905"));
    f.setFromParameter (i, false);
    EXPECT_EQ (f.getValue(), 5.0f);

    EnumParameter e (1, "Scale", "3;4;6;8");
    e.setInt (2, false);
    e.setAutomatable (true);
    CountingListener listener;
    e.addListener (&listener);

    auto copy = e.clone (7, "Copy");
    ASSERT_NE (dynamic_cast<EnumParameter*> (copy.get()), nullptr);
    EXPECT_EQ (copy->getId(), 7);
    EXPECT_EQ (copy->getName(), juce::String ("Copy"));
    EXPECT_EQ (copy->toString(), juce::String ("6"));
    EXPECT_TRUE (copy->isAutomatable());
    copy->setInt (0, true);
    EXPECT_EQ (listener.changes, 0) << "a clone has no listeners";

    EXPECT_NE (dynamic_cast<StateParameter*> (StateParameter (2, "S", true).clone (3, "T").get()), nullptr);
    EXPECT_EQ (NoteParameter (4, "N", 61).clone (5, "M")->toString(), juce::String ("C#5"));
}
