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

TEST (FloatParameter, ConversionsAndSetters)
{
    FloatParameter p (1, "Level", 0.0f, 10.0f, 12.0f);
    EXPECT_EQ (p.getValue(), 10.0f) << "the default is clamped";

    p.setNormalised (1.5f, false);
    EXPECT_EQ (p.getValue(), 10.0f);
    p.setNormalised (0.25f, false);
    EXPECT_EQ (p.getValue(), 2.5f);
    EXPECT_EQ (p.getNormalised(), 0.25f);
    EXPECT_EQ (p.getInt(), 2);

    p.setValue (5.0f, false);
    EXPECT_TRUE (p.getBool()) << "the midpoint counts as the upper half";
    p.setValue (4.99f, false);
    EXPECT_FALSE (p.getBool());

    p.setBool (true, false);
    EXPECT_EQ (p.getValue(), 10.0f);
    p.setBool (false, false);
    EXPECT_EQ (p.getValue(), 0.0f);

    p.setInt (7, false);
    EXPECT_EQ (p.getValue(), 7.0f);
    p.setFromString ("3.5", false);
    EXPECT_EQ (p.getValue(), 3.5f);
    p.setFromString ("junk", false);
    EXPECT_EQ (p.getValue(), 0.0f);

    p.setValue (0.5f, false);
    EXPECT_EQ (p.toString(), juce::String ("0.500000000"));
}

TEST (FloatParameter, NonFiniteInputBecomesTheMinimum)
{
    FloatParameter p (1, "Tune", 0.2f, 0.8f, 0.5f);

    for (auto bad : { notANumber, inf, -inf })
    {
        p.setValue (0.5f, false);
        p.setValue (bad, false);
        EXPECT_EQ (p.getValue(), 0.2f);
        EXPECT_TRUE (std::isfinite (p.getValue()));

        p.setValue (0.5f, false);
        p.setNormalised (bad, false);
        EXPECT_EQ (p.getValue(), 0.2f);
    }

    for (auto* text : { "nan", "inf", "-inf", "NaN" })
    {
        p.setValue (0.5f, false);
        p.setFromString (text, false);
        EXPECT_EQ (p.getValue(), 0.2f) << text;
    }

    FloatParameter nanDefault (2, "Other", 0.0f, 1.0f, notANumber);
    EXPECT_EQ (nanDefault.getValue(), 0.0f);
}

TEST (FloatParameter, EmptyRangeNormalisesToZero)
{
    FloatParameter p (1, "Fixed", 0.3f, 0.3f, 0.3f);
    EXPECT_EQ (p.getNormalised(), 0.0f);

    FloatParameter upsideDown (2, "Turned", 1.0f, 0.0f, 0.5f);
    EXPECT_EQ (upsideDown.getMinimum(), 0.0f);
    EXPECT_EQ (upsideDown.getMaximum(), 1.0f);
}

TEST (IntParameter, ConversionsAndSetters)
{
    IntParameter p (1, "Steps", 0, 3, 1);

    p.setNormalised (0.5f, false);
    EXPECT_EQ (p.getInt(), 2) << "1.5 rounds up";
    p.setValue (2.9f, false);
    EXPECT_EQ (p.getInt(), 2) << "cut toward zero";
    p.setValue (-0.9f, false);
    EXPECT_EQ (p.getInt(), 0);
    p.setInt (99, false);
    EXPECT_EQ (p.getInt(), 3);
    EXPECT_EQ (p.getNormalised(), 1.0f);
    EXPECT_TRUE (p.getBool());
    p.setBool (false, false);
    EXPECT_EQ (p.getInt(), 0);
    EXPECT_FALSE (p.getBool());
    p.setFromString ("2 steps", false);
    EXPECT_EQ (p.getInt(), 2);
    p.setFromString ("none", false);
    EXPECT_EQ (p.getInt(), 0);
    EXPECT_EQ (p.toString(), juce::String ("0"));
}

TEST (IntParameter, NonFiniteAndHugeInputNeverReachTheValue)
{
    IntParameter p (1, "Output", 1, 12, 5);

    for (auto bad : { notANumber, inf, -inf })
    {
        p.setInt (5, false);
        p.setValue (bad, false);
        EXPECT_EQ (p.getInt(), 1);
        p.setInt (5, false);
        p.setNormalised (bad, false);
        EXPECT_EQ (p.getInt(), 1);
    }

    p.setValue (3.0e38f, false);
    EXPECT_EQ (p.getInt(), 12);
    p.setFromString ("99999999999999999999", false);
    EXPECT_EQ (p.getInt(), 12);
}

TEST (IntParameter, RangeChangesClampAndNotify)
{
    IntParameter p (1, "Length", 0, 16, 12);
    CountingListener immediate;
    p.addListener (&immediate);

    p.setMaximum (8);
    EXPECT_EQ (p.getInt(), 8);
    EXPECT_EQ (immediate.changes, 1);

    p.setMaximum (-1); // below the minimum: refused
    EXPECT_EQ (p.getMaximum(), 8);
    p.setMinimum (9); // above the maximum: refused
    EXPECT_EQ (p.getMinimum(), 0);

    p.setMaximum (16); // value does not move: nobody is told
    EXPECT_EQ (immediate.changes, 1);

    p.setMinimum (10);
    EXPECT_EQ (p.getInt(), 10);
    EXPECT_EQ (immediate.changes, 2);
}

TEST (EnumParameter, ItemsAndText)
{
    EnumParameter p (1, "Scale", "Low;Mid;High");
    EXPECT_EQ (p.getMaximum(), 2);

    p.setFromString ("Mid", false);
    EXPECT_EQ (p.getInt(), 1);
    EXPECT_EQ (p.toString(), juce::String ("Mid"));
    p.setFromString ("mid", false); // not an item (case-sensitive), no number: 0
    EXPECT_EQ (p.getInt(), 0);
    p.setFromString ("1", false); // a number, applied as normalised
    EXPECT_EQ (p.getInt(), 2);

    p.setItems ("A;B");
    EXPECT_EQ (p.getMaximum(), 1);
    EXPECT_EQ (p.getInt(), 1);
    EXPECT_EQ (p.toString(), juce::String ("B"));
}

TEST (EnumParameter, OneItemAndNoItemsAreSafe)
{
    EnumParameter one (1, "Only", "Single");
    EXPECT_EQ (one.getNormalised(), 0.0f) << "no 0/0";
    EXPECT_EQ (one.toString(), juce::String ("Single"));

    EnumParameter none (2, "Empty", "");
    EXPECT_EQ (none.getNormalised(), 0.0f);
    EXPECT_EQ (none.toString(), juce::String());
}

TEST (NoteParameter, NamesAndNumbers)
{
    NoteParameter p (1, "Key", 36);
    EXPECT_EQ (p.toString(), juce::String ("C-3"));
    p.setFromString ("C#3", false);
    EXPECT_EQ (p.getInt(), 37);
    p.setFromString ("A#H", false);
    EXPECT_EQ (p.getInt(), 127);
    p.setFromString ("0.5", false); // no note name: a normalised number
    EXPECT_EQ (p.getInt(), 64);
    p.setFromString ("C3", false);
    EXPECT_EQ (p.getInt(), 0);
}

TEST (BoolParameters, WordsWrittenAndRead)
{
    BoolParameter b (1, "B");
    StateParameter s (2, "S");
    AnswerParameter a (3, "A");
    LogicParameter l (4, "L");

    struct Case
    {
        Parameter& p;
        const char* on;
        const char* off;
    };

    for (auto& c : { Case { b, "true", "false" }, Case { s, "on", "off" }, Case { a, "yes", "no" }, Case { l, "1", "0" } })
    {
        c.p.setBool (true, false);
        EXPECT_EQ (c.p.toString(), juce::String (c.on));
        c.p.setFromString (c.off, false);
        EXPECT_FALSE (c.p.getBool());
        c.p.setFromString (c.on, false);
        EXPECT_TRUE (c.p.getBool());
    }

    b.setBool (true, false);
    b.setFromString ("YES", false); // no word (case-sensitive), reads as 0
    EXPECT_FALSE (b.getBool());
    s.setFromString ("ON", false); // state words ignore case
    EXPECT_TRUE (s.getBool());
    a.setFromString ("on", false); // falls back to the plain words
    EXPECT_TRUE (a.getBool());
    l.setFromString ("0.7", false);
    EXPECT_TRUE (l.getBool());
}

TEST (BoolParameters, NumbersAndNonFiniteInput)
{
    BoolParameter p (1, "B");

    p.setNormalised (0.5f, false);
    EXPECT_TRUE (p.getBool());
    p.setNormalised (-3.0f, false);
    EXPECT_FALSE (p.getBool());
    p.setValue (0.01f, false);
    EXPECT_TRUE (p.getBool());

    for (auto bad : { notANumber, inf })
    {
        p.setBool (true, false);
        p.setNormalised (bad, false);
        EXPECT_FALSE (p.getBool());
        p.setBool (true, false);
        p.setValue (bad, false);
        EXPECT_FALSE (p.getBool());
    }

    p.setBool (true, false);
    p.setFromString ("nan", false);
    EXPECT_FALSE (p.getBool());
}

TEST (StringParameter, TextConversions)
{
    StringParameter p (1, "Name", "12 monkeys");
    EXPECT_EQ (p.getInt(), 12);
    EXPECT_EQ (p.getValue(), 12.0f);
    EXPECT_EQ (p.getNormalised(), 1.0f);

    p.setValue (0.25f, false);
    EXPECT_EQ (p.toString(), juce::String ("0.25"));
    p.setValue (1.0f / 3.0f, false);
    EXPECT_EQ (p.toString(), juce::String ("0.333333"));
    p.setValue (notANumber, false);
    EXPECT_EQ (p.toString(), juce::String ("0"));
    p.setFromString ("nan", false);
    EXPECT_EQ (p.getValue(), 0.0f);
    EXPECT_EQ (p.getNormalised(), 0.0f);

    p.setBool (true, false);
    EXPECT_EQ (p.toString(), juce::String ("true"));
    EXPECT_TRUE (p.getBool());
    p.setInt (-4, false);
    EXPECT_EQ (p.toString(), juce::String ("-4"));
    EXPECT_TRUE (p.getBool());
    p.setFromString ("off", false);
    EXPECT_FALSE (p.getBool());
}

TEST (Parameters, CopyFromAnotherKind)
{
    FloatParameter f (1, "F", 0.0f, 10.0f, 7.6f);
    IntParameter i (2, "I", 0, 5, 0);
    BoolParameter b (3, "B");
    StringParameter s (4, "S");

    i.setFromParameter (f, false);
    EXPECT_EQ (i.getInt(), 5);
    b.setFromParameter (f, false);
    EXPECT_TRUE (b.getBool());
    s.setFromParameter (f, false);
    EXPECT_EQ (s.toString(), juce::String ("7.599999905"));
    f.setFromParameter (i, false);
    EXPECT_EQ (f.getValue(), 5.0f);
}

TEST (Parameters, ClonesKeepKindValueAndFlag)
{
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

    StateParameter s (2, "S", true);
    auto stateCopy = s.clone (3, "T");
    EXPECT_NE (dynamic_cast<StateParameter*> (stateCopy.get()), nullptr);
    EXPECT_EQ (stateCopy->toString(), juce::String ("on"));

    NoteParameter n (4, "N", 61);
    EXPECT_EQ (n.clone (5, "M")->toString(), juce::String ("C#5"));
}
