#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/GFXButton.h"
#include "toolkit/skin/GFXToggleButton.h"
#include "toolkit/skin/PanelFromXml.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
struct PanelTest : ::testing::Test
{
    PanelTest()
    {
        skin.images["back.png"] = makeFrameStrip (1, 200, 100);
        skin.images["knob.png"] = makeFrameStrip (61, 10, 10);
        skin.images["switch.png"] = makeFrameStrip (12, 10, 10);
        skin.images["led.png"] = makeFrameStrip (2, 10, 10);
        skin.images["push.png"] = makeFrameStrip (2, 10, 10);
        skin.images["step.png"] = makeFrameStrip (6, 10, 10);
        skin.images["notes.png"] = makeFrameStrip (9, 10, 10);
        skin.images["digit.png"] = makeFrameStrip (11, 10, 10);
        skin.images["uneven.png"] = makeFrameStrip (1, 10, 25);
    }

    PanelBuild build (const juce::String& xml)
    {
        auto built = toolkit::createPanelFromXml (*juce::parseXML (xml), skin, "Pulsetta");
        if (built.panel != nullptr)
            stage.add (*built.panel);
        return built;
    }

    static juce::String skinWith (const juce::String& controls, const juce::String& panelChildren = {})
    {
        return R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel"><gfx resource="back.png"/>)" + panelChildren
               + "<controls>" + controls + "</controls></Panel></PluginEditor>";
    }

    TestSkin skin;
    Stage stage;
};
} // namespace

TEST_F (PanelTest, MainPanelIsTheFirstMainPanelOfASkinForThisPlugin)
{
    const struct
    {
        const char* xml;
        const char* problem; // null: built
    } cases[] = {
        { R"(<pluginEDITOR application="PULSETTA"><Panel name="Other"/><panel name="mainpanel"><controls><Knob name="second"/></controls></panel>
             <Panel name="MainPanel"><controls><Knob name="third"/></controls></Panel></pluginEDITOR>)", nullptr },
        { R"(<Editor application="Pulsetta"><Panel name="MainPanel"/></Editor>)", "the skin's root is \"Editor\", not \"PluginEditor\"" },
        { R"(<PluginEditor application="Other"><Panel name="MainPanel"/></PluginEditor>)", "the skin is for \"Other\", not for \"Pulsetta\"" },
        { R"(<PluginEditor application="Pulsetta"><Panel name="Main"/></PluginEditor>)", "the skin has no panel named \"MainPanel\"" },
    };

    for (const auto& c : cases)
    {
        const auto built = build (c.xml);
        EXPECT_EQ (built.panel == nullptr, c.problem != nullptr) << c.xml;
        EXPECT_EQ (built.problems, c.problem != nullptr ? juce::StringArray (c.problem) : juce::StringArray()) << c.xml;

        if (built.panel != nullptr)
        {
            EXPECT_EQ (built.panel->getName(), "MainEditorPanel");
            EXPECT_EQ (built.panel->getChildComponent (0)->getName(), "second");
        }
    }
}

TEST_F (PanelTest, ControlsAreBuiltOnTopOfEachOtherAndMovedByTheOffset)
{
    const auto built = build (skinWith (R"(<Knob name="a"><pos left="5" top="7"/></Knob><ToggleButton name="b"><pos left="1" top="2"/></ToggleButton>)")
                                  .replace ("<controls>", R"(<controls ofsX="10" ofsY="-3">)"));
    ASSERT_EQ (built.panel->getNumChildComponents(), 2);
    EXPECT_EQ (built.panel->getChildComponent (0)->getPosition(), juce::Point<int> (15, 4));
    EXPECT_NE (dynamic_cast<GFXToggleButton*> (built.panel->getChildComponent (1)), nullptr) << "topmost, though this product has none";
    EXPECT_EQ (built.panel->getBounds(), juce::Rectangle<int> (0, 0, 200, 100));

    const auto withoutControls = build (R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel"><pos left="4" top="4"/></Panel></PluginEditor>)");
    EXPECT_EQ (withoutControls.panel->getPosition(), juce::Point<int> (4, 4));
}

TEST_F (PanelTest, PaintsItsBackgroundGreyWithoutImageAndNothingWhenTransparent)
{
    const struct
    {
        const char* panel;
        juce::Colour centre;
    } cases[] = {
        { R"(<Panel name="MainPanel"><gfx resource="back.png"/></Panel>)", frameColour (0) },
        { R"(<Panel name="MainPanel"><size width="40" height="30"/></Panel>)", juce::Colour::greyLevel (0.9f) },
        { R"(<Panel name="MainPanel"><gfx resource="back.png" transparent=" yes"/></Panel>)", juce::Colours::transparentBlack },
    };

    for (const auto& c : cases)
    {
        const auto built = build (juce::String (R"(<PluginEditor application="Pulsetta">)") + c.panel + "</PluginEditor>");
        EXPECT_EQ (paintImage (*built.panel).getPixelAt (20, 15), c.centre) << c.panel;
    }
}

TEST_F (PanelTest, ListenerAddedToThePanelHearsEveryControlInNestedPanels)
{
    const auto built = build (skinWith (R"(<Panel name="inner"><controls><Button name="deep"><actions><action type="onClick" event="PLAY"/></actions>
        <size width="10" height="10"/></Button></controls></Panel>)"));
    ControllerLog editor;
    built.panel->addListener (&editor);

    auto* inner = built.panel->getChildComponent (0);
    clickCentre (*inner->getChildComponent (0));
    EXPECT_EQ (editor.log, std::vector<std::string> { "event 10" });
}

TEST_F (PanelTest, PanelsNestedWithoutEndStopAtTheDepthCap)
{
    juce::String nested = R"(<Knob name="bottom"/>)";
    for (int level = 0; level < 20; ++level)
        nested = "<Panel><controls>" + nested + "</controls></Panel>";

    const auto built = build (skinWith (nested));

    int depth = 1;
    for (juce::Component* panel = built.panel.get(); panel->getNumChildComponents() > 0; panel = panel->getChildComponent (0))
        ++depth;
    EXPECT_EQ (depth, GFXPanel::maxDepth + 1) << "the panel past the cap is built empty";
    ASSERT_EQ (built.problems.size(), 1);
    EXPECT_TRUE (built.problems[0].endsWith ("panels nested more than 8 deep: the controls of this one are left out")) << built.problems[0];
}

// Every tag this product's skin uses, and every other tag the toolkit builds,
// in one skin: it builds, binds, and paints each control's frame.
TEST_F (PanelTest, SkinWithEveryTagBuildsAndPaints)
{
    const auto built = build (skinWith (R"(
        <Knob name="knob"><links><link as="connectedTo" param="Level"/></links><gfx resource="knob.png" framesNum="61"/><pos left="0" top="0"/></Knob>
        <Switch name="switch"><gfx resource="switch.png" framesNum="12"/><pos left="10" top="0"/></Switch>
        <Animation name="led"><links><link as="connectedTo" param="Held"/></links><gfx resource="led.png" framesNum="2"/><pos left="20" top="0"/></Animation>
        <Button name="push"><gfx resource="push.png" framesNum="2"/><pos left="30" top="0"/></Button>
        <MultiStateButton name="step" style="3D" states="3"><links><link as="connectedTo" param="Tune"/></links><gfx resource="step.png"/><pos left="40" top="0"/></MultiStateButton>
        <NumericDisplay name="tempo" digitsNum="3" minValue="30" maxValue="300"><links><link as="connectedTo" param="Tempo"/></links>
          <digits resource="digit.png"/><pos left="50" top="0"/></NumericDisplay>
        <PatternNumberDisplay name="pattern"><links><link as="connectedTo" param="Pattern"/></links><pos left="0" top="20"/></PatternNumberDisplay>
        <Display name="patternName"/><Display name="presetName"/><DisplayFloat name="number"/><TextInput name="input"/>
        <ToggleButton name="toggle"/><Rocker name="rocker"/><PitchBender name="bend"/><ModWheel name="wheel"/>
        <MidiChannelDisplay name="channel"/>
        <NoteDisplay name="note"><links><link as="connectedTo" param="Pattern"/></links><gfx><notes resource="notes.png"/></gfx>
          <pos left="100" top="0"/></NoteDisplay>
        <MidiKeyboard name="keys"><size width="100" height="30"/><pos left="0" top="60"/></MidiKeyboard>
        <ModulationMatrix name="matrix"><size width="200" height="100"/><pos left="0" top="100"/></ModulationMatrix>)"));
    skin.parameter ("Level").setValue (1.0f, true);
    skin.parameter ("Held").setBool (true, true);
    skin.parameter ("Tune").setValue (0.5f, true);
    testing_support::runPendingMessages();

    EXPECT_TRUE (built.problems.isEmpty()) << built.problems.joinIntoString ("\n");
    EXPECT_EQ (built.panel->getNumChildComponents(), 19);

    const auto image = paintImage (*built.panel);
    EXPECT_EQ (frameAt (image, 5, 5), 60);
    EXPECT_EQ (frameAt (image, 15, 5), 0);
    EXPECT_EQ (frameAt (image, 25, 5), 1);
    EXPECT_EQ (frameAt (image, 35, 5), 0);
    EXPECT_EQ (frameAt (image, 45, 5), 2);
    EXPECT_EQ (frameAt (image, 55, 5), 2) << "tempo 120: 1";
    EXPECT_EQ (frameAt (image, 75, 5), 1) << "tempo 120: 0";
    EXPECT_EQ (frameAt (image, 105, 5), 1) << "pattern 0: C";
    EXPECT_EQ (frameAt (image, 150, 80), 0) << "background";
}

// A skin full of mistakes still builds a panel that paints, and says what is
// wrong where.
TEST_F (PanelTest, FaultySkinBuildsAndListsEachProblemWithItsPlace)
{
    const auto built = build (skinWith (R"(
        <Slider name="s"/><Slider/>
        <Knob name="k"><links><link as="connectedTo" param="Volume"/></links><gfx resource="knob.png" framesNum="0"/></Knob>
        <Button name="b"><actions><action type="onClick" event="EJECT"/></actions><gfx resource="missing.png"/></Button>
        <Animation name="a"><gfx resource="uneven.png" framesNum="2"/></Animation>
        <NumericDisplay name="n" digitsNum="0"/>
        <TextInput name="t1" editable="always"/><TextInput name="t2"/>)"));

    ASSERT_NE (built.panel, nullptr);
    EXPECT_EQ (built.panel->getNumChildComponents(), 6);
    paintImage (*built.panel);

    const juce::String at = "Panel \"MainPanel\" > ";
    const juce::String expected[] = {
                                   at + "Slider \"s\": unknown control \"Slider\": left out",
                                   at + "Slider #2: unknown control \"Slider\": left out",
                                   at + "Knob \"k\": no parameter named \"Volume\"",
                                   at + "Knob \"k\": gfx framesNum 0 is out of 1..16384: 1 taken",
                                   at + "Button \"b\": no event named \"EJECT\"",
                                   at + "Button \"b\": no image \"missing.png\"",
                                   at + "Animation \"a\": image \"uneven.png\" is 25 pixels high, not a whole number of 2 frames",
                                   at + "NumericDisplay \"n\": digitsNum 0 is out of 1..9: 1 taken",
                                   at + "TextInput \"t1\": editable \"always\" is none of \"no\", \"onClick\", \"onDoubleClick\": left as it was",
                               };
    EXPECT_EQ (built.problems, juce::StringArray (expected, juce::numElementsInArray (expected)));
}
