#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parse (const char* text)
{
    auto root = juce::parseXML (juce::String (text));
    EXPECT_NE (root, nullptr);
    return root;
}

ParameterManager& load (ParameterManager& manager, const char* paramLines)
{
    auto root = parse ((juce::String ("<PluginParameters application=\"Test\">") + paramLines + "</PluginParameters>").toRawUTF8());
    manager.loadFromXml (*root);
    return manager;
}
} // namespace

TEST (ParameterList, EntriesThatCannotBeReadCreateNothing)
{
    ParameterManager manager;
    load (manager, R"(
        <param index="-1" name="Minus"/>
        <param name="No Index"/>
        <param index="1" name=""/>
        <param index="2"/>
        <param index="3" name="Capital" type="Float"/>
        <param index="4" name="Unknown" type="knob"/>
        <param index="5" name="After"/>
        <other index="6" name="Other tag"/>
        <PARAM index="7" name="Upper Tag"/>)");

    EXPECT_EQ (manager.getNumParameters(), 2);
    EXPECT_EQ (manager.getIndexOfName ("After"), 5);
    EXPECT_EQ (manager.getIndexOfName ("Upper Tag"), 7);
    EXPECT_EQ (manager.getApplicationName(), juce::String ("Test"));
}

TEST (ParameterList, KindsRangesValuesAndDuplicates)
{
    ParameterManager manager;
    load (manager, R"(
        <param index="0" name="Clamped" value="2"/>
        <param index="1" name="Raised" min="0.5" max="2"/>
        <param index="2" name="Nan" value="nan" min="0.1"/>
        <param index="3" name="Count" type="int" value="7"/>
        <param index="4" name="Outputs" type="int" min="1" max="12" value="1"/>
        <param index="5" name="Key" type="note" value="C#3"/>
        <param index="6" name="Top" type="note" value="A#H"/>
        <param index="7" name="Bad Key" type="note" value="C3"/>
        <param index="8" name="Switch" type="enum" enum="Off;On" value="On"/>
        <param index="9" name="Flag" type="bool" value="yes"/>
        <param index="10" name="State" type="state" value="ON"/>
        <param index="11" name="Answer" type="answer" value="yes"/>
        <param index="12" name="Logic" type="logic" value="1"/>
        <param index="13" name="Text" type="string" value="hello"/>
        <param index="14" name="Auto" auto=" Yes"/>
        <param index="15" name="Not Auto" auto="no"/>
        <param index="16" name="Backwards" min="1" max="0" value="0.25"/>
        <param index="16" name="Second" value="0.2"/>
        <param index="17" name="Key" value="0.3"/>)");

    ASSERT_EQ (manager.getNumParameters(), 17) << "duplicates keep the first";
    EXPECT_EQ (manager.getIndexOfName ("Second"), -1);
    EXPECT_EQ (manager.getParameter (17), nullptr);

    // index, value: an absent value gives the minimum, nan never enters, an
    // int without max ranges 0 to 1, texts read as their kind reads them.
    const std::pair<int, float> values[] = { { 0, 1.0f }, { 1, 0.5f }, { 2, 0.1f }, { 3, 1.0f }, { 4, 1.0f }, { 5, 37.0f },
                                             { 6, 127.0f }, { 7, 0.0f }, { 8, 1.0f }, { 9, 1.0f }, { 10, 1.0f },
                                             { 11, 1.0f }, { 12, 1.0f }, { 16, 0.25f } };
    for (auto& [index, value] : values)
        EXPECT_EQ (manager.getValue (index), value) << manager.getName (index);

    EXPECT_EQ (dynamic_cast<IntParameter*> (manager.getParameter (3))->getMaximum(), 1);
    EXPECT_NE (dynamic_cast<StringParameter*> (manager.getParameter (13)), nullptr);
    EXPECT_EQ (manager.toString (13), juce::String ("hello"));
    EXPECT_TRUE (manager.getParameter (14)->isAutomatable());
    EXPECT_FALSE (manager.getParameter (15)->isAutomatable());
    EXPECT_FALSE (manager.getParameter (0)->isAutomatable()) << "absent auto means false";
}

TEST (ParameterList, WrongRootOrBrokenResourceLeavesTheManagerEmpty)
{
    ParameterManager manager;
    load (manager, R"(<param index="1" name="A"/>)");
    ASSERT_EQ (manager.getNumParameters(), 1);

    auto other = parse (R"(<Parameters><param index="1" name="A"/></Parameters>)");
    manager.loadFromXml (*other);
    EXPECT_EQ (manager.getNumParameters(), 0);

    load (manager, R"(<param index="1" name="A"/>)");
    manager.loadFromResource ("missing.xml");
    EXPECT_EQ (manager.getNumParameters(), 0);

    auto lowerRoot = parse (R"(<pluginparameters><param index="3" name="C"/></pluginparameters>)");
    manager.loadFromXml (*lowerRoot);
    EXPECT_EQ (manager.getNumParameters(), 1);
}

TEST (ParameterManager, UnknownIndexesAndNamesGiveNeutralAnswers)
{
    ParameterManager manager;
    load (manager, R"(<param index="0" name="Bass Drum Level" value="0.5"/>)");

    EXPECT_EQ (manager.getIndexOfName ("bass drum level"), -1) << "names are exact";
    EXPECT_EQ (manager.getIndexOfName ("Bass Drum Level"), 0);
    EXPECT_EQ (manager.getParameter (9999), nullptr);
    EXPECT_EQ (manager.getParameter (-1), nullptr);
    EXPECT_EQ (manager.toString (9999), juce::String());
    EXPECT_EQ (manager.getName (9999), juce::String());
    EXPECT_EQ (manager.getValue (9999), 0.0f);
    EXPECT_EQ (manager.getNormalised (-5), 0.0f);
    EXPECT_FALSE (manager.getBool (9999));

    manager.setValue (9999, 1.0f);
    manager.setNormalised (-1, 1.0f);
    manager.setInt (9999, 1);
    manager.setBool (9999, true);
    manager.setFromString (9999, "1");
    manager.copyValue (0, 9999);
    manager.copyValue (9999, 0);
    EXPECT_EQ (manager.getValue (0), 0.5f);
    EXPECT_EQ (manager.getNumParameters(), 1);
}

TEST (ParameterManager, AddingRefusesTakenIndexesAndNames)
{
    ParameterManager manager;
    EXPECT_TRUE (manager.addParameter (std::make_unique<IntParameter> (3000, "Pattern", 0, 95, 0)));
    EXPECT_FALSE (manager.addParameter (std::make_unique<IntParameter> (3000, "Other", 0, 1, 0)));
    EXPECT_FALSE (manager.addParameter (std::make_unique<IntParameter> (3001, "Pattern", 0, 1, 0)));
    EXPECT_FALSE (manager.addParameter (nullptr));
    EXPECT_TRUE (manager.addParameter (std::make_unique<StringParameter> (110001, "Current Preset Name")));

    EXPECT_EQ (manager.getNumParameters(), 2);
    EXPECT_EQ (manager.getParameterAt (1)->getId(), 110001);
    EXPECT_EQ (manager.getParameterAt (2), nullptr);

    manager.setFromString (3000, "12");
    manager.copyValue (110001, 3000);
    EXPECT_EQ (manager.toString (110001), juce::String ("12"));

    manager.clear();
    EXPECT_EQ (manager.getNumParameters(), 0);
    EXPECT_EQ (manager.getParameter (3000), nullptr);
}
