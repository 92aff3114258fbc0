#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/GFXButton.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXRocker.h"
#include "toolkit/skin/GFXToggleButton.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
using Mods = juce::ModifierKeys;
const Mods left = Mods::leftButtonModifier;
const Mods right = Mods::rightButtonModifier;
const Mods ctrl = Mods (Mods::leftButtonModifier | Mods::ctrlModifier);
const Mods shift = Mods (Mods::leftButtonModifier | Mods::shiftModifier);
const Mods ctrlShift = Mods (Mods::leftButtonModifier | Mods::ctrlModifier | Mods::shiftModifier);

struct ButtonTest : ::testing::Test
{
    ButtonTest()
    {
        for (int frames : { 1, 2, 3, 4, 6 })
            skin.images["s" + juce::String (frames) + ".png"] = makeFrameStrip (frames);
    }

    template <typename Widget>
    Widget& load (Widget& widget, const juce::String& xml)
    {
        stage.add (widget);
        loadControl (widget, xml, skin);
        widget.addListener (&editor);
        return widget;
    }

    // The frame shown while the mouse holds the widget down at its centre.
    int frameWhilePressed (juce::Component& widget)
    {
        const auto centre = widget.getLocalBounds().getCentre().toFloat();
        widget.mouseDown (mouseAt (widget, centre, centre));
        const int frame = shownFrame (widget);
        widget.mouseUp (mouseAt (widget, centre, centre));
        return frame;
    }

    TestSkin skin;
    Stage stage;
    ControllerLog editor;
};
} // namespace

TEST_F (ButtonTest, PushButtonFiresTheActionOfItsModifiers)
{
    const juce::String withoutCtrl = R"(<actions><action type="onClick" event="PLAY"/><action type="onRightClick" event="STOP"/></actions>)";
    const juce::String withCtrl = R"(<actions><action type="onClick" event="PLAY"/><action type="onClickWithCtrl" event="CLEAR"/></actions>)";
    const struct
    {
        const juce::String& actions;
        Mods mods;
        std::vector<std::string> fired;
    } cases[] = {
        { withoutCtrl, left, { "event 10" } },  { withoutCtrl, right, { "event 11" } }, { withoutCtrl, ctrl, {} },
        { withCtrl, ctrl, { "event 12" } },     { withCtrl, right, { "event 10" } },
    };

    for (const auto& c : cases)
    {
        GFXButton button;
        load (button, "<Button>" + c.actions + R"(<gfx resource="s2.png" framesNum="2"/></Button>)");
        editor.log.clear();
        clickCentre (button, c.mods);
        EXPECT_EQ (editor.log, c.fired) << c.actions << " " << c.mods.getRawFlags();
    }

    GFXButton button;
    load (button, "<Button>" + withCtrl + "</Button>");
    button.modifierKeysChanged (ctrl);
    EXPECT_EQ (button.getTooltip(), "Clear");
    button.modifierKeysChanged (left);
    EXPECT_EQ (button.getTooltip(), "Play");
}

TEST_F (ButtonTest, BoundPushButtonHoldsItsParameterWhileDownAndActsOnPress)
{
    GFXButton button;
    load (button, R"(<Button clickEvent="onRelease"><links><link as="connectedTo" param="Held"/></links>
                     <actions><action type="onClick" event="PLAY"/></actions><gfx resource="s2.png" framesNum="2"/></Button>)");
    HostLog host (skin.parameter ("Held"));

    juce::Component& component = button;
    const auto centre = button.getLocalBounds().getCentre().toFloat();
    component.mouseDown (mouseAt (button, centre, centre));
    EXPECT_EQ (editor.log, (std::vector<std::string> { "start", "value", "event 10" }));
    EXPECT_EQ (shownFrame (button), 1);
    component.mouseUp (mouseAt (button, centre, centre));

    EXPECT_EQ (host.log, (std::vector<std::string> { "begin", "set 1.000", "set 0.000", "end" })) << "press to release, one gesture";
    EXPECT_EQ (shownFrame (button), 0);

    GFXButton oneFrame;
    load (oneFrame, R"(<Button><gfx resource="s1.png"/></Button>)");
    EXPECT_EQ (frameWhilePressed (oneFrame), 0) << "a one-frame strip stays visible while pressed";
}

TEST_F (ButtonTest, MultiStateButtonShowsStatePressHighlightAndBlink)
{
    struct Case
    {
        const char* attributes;
        float value;
        bool pressed, highlighted, blinkDark;
        int frame;
    } cases[] = {
        { R"(style="3D" states="2")", 1.0f, true, false, false, 3 },
        { R"(style="3D" states="2")", 0.0f, false, false, false, 0 },
        { R"(style="2D" states="3")", 0.5f, false, false, false, 1 },
        { R"(style="2D" states="3")", 0.0f, false, true, false, 2 },
        { R"(style="2D" states="3")", 1.0f, false, true, false, 0 },
        { R"(style="3D" states="3")", 0.0f, true, true, false, 5 },
        { R"(style="2D" states="3")", 1.0f, false, false, true, 0 },
        { R"(style="3D" states="2")", 1.0f, true, false, true, 1 },
        { R"(style="2D" states="1")", 1.0f, false, false, false, 1 }, // fewer than 2 states keeps 2
    };

    for (const auto& c : cases)
    {
        const auto threeD = juce::String (c.attributes).contains ("3D");
        const int states = juce::jmax (2, juce::String (c.attributes).fromFirstOccurrenceOf ("states=\"", false, false).getIntValue());
        GFXMultiStateButton button;
        load (button, juce::String ("<MultiStateButton ") + c.attributes + R"(><links><link as="connectedTo" param="Level"/></links><gfx resource="s)"
                          + juce::String (threeD ? states * 2 : states) + R"(.png"/></MultiStateButton>)");
        skin.parameter ("Level").setValue (c.value, true);
        testing_support::runPendingMessages();
        button.setHighlighted (c.highlighted);
        if (c.blinkDark)
            makeBlinkDark (button);

        EXPECT_EQ (c.pressed ? frameWhilePressed (button) : shownFrame (button), c.frame) << c.attributes << " at " << c.value;
        skin.parameter ("Level").setValue (0.0f, false);
    }
}

TEST_F (ButtonTest, MultiStateButtonFallsThroughItsActionsAndNeverWritesItsParameter)
{
    const juce::String all = R"(<actions><action type="onClick" event="PLAY"/><action type="onClickWithCtrl" event="STOP"/>
                                <action type="onClickWithShift" event="CLEAR"/><action type="onRightClick" event="RANDOM"/></actions>)";
    const juce::String some = R"(<actions><action type="onClick" event="PLAY"/><action type="onClickWithShift" event="CLEAR"/></actions>)";
    const struct
    {
        const juce::String& actions;
        Mods mods;
        const char* fired;
    } cases[] = {
        { all, left, "event 10" },   { all, ctrl, "event 11" },  { all, shift, "event 12" }, { all, right, "event 13" },
        { all, ctrlShift, "event 11" }, { some, ctrlShift, "event 12" }, { some, ctrl, "event 10" }, { some, right, "event 10" },
    };

    for (const auto& c : cases)
    {
        GFXMultiStateButton button;
        load (button, R"(<MultiStateButton><links><link as="connectedTo" param="Level"/></links>)" + c.actions + "</MultiStateButton>");
        editor.log.clear();
        clickCentre (button, c.mods);
        EXPECT_EQ (editor.log, std::vector<std::string> { c.fired }) << c.mods.getRawFlags();
    }

    EXPECT_FLOAT_EQ (skin.parameter ("Level").getValue(), 0.0f);
}

TEST_F (ButtonTest, FlashLightsStateOneForAMoment)
{
    GFXMultiStateButton button;
    load (button, R"(<MultiStateButton><gfx resource="s2.png"/></MultiStateButton>)");
    button.flash (1);
    EXPECT_EQ (shownFrame (button), 1);

    testing_support::runMessagesUntil ([&button] { return button.getButtonStateIndex() == 0; }, 2000);
    EXPECT_EQ (shownFrame (button), 0);
}

TEST_F (ButtonTest, BoundThreeDToggleShowsItsHeldFrameAndWritesTheNewState)
{
    GFXToggleButton toggle;
    load (toggle, R"(<ToggleButton style="3D"><links><link as="connectedTo" param="Held"/></links><gfx resource="s4.png"/></ToggleButton>)");
    skin.parameter ("Held").setBool (true, true);
    testing_support::runPendingMessages();
    HostLog host (skin.parameter ("Held"));

    EXPECT_EQ (shownFrame (toggle), 2);
    EXPECT_EQ (frameWhilePressed (toggle), 3);
    EXPECT_FALSE (skin.parameter ("Held").getBool());
    EXPECT_EQ (editor.log, std::vector<std::string> { "value" });
    EXPECT_EQ (host.log, (std::vector<std::string> { "begin", "set 0.000", "end" })) << "the click, one gesture";
}

TEST_F (ButtonTest, RockerFiresByHalfAndShowsThreeFramesWhateverFramesNumSays)
{
    GFXRocker rocker;
    const auto problems = loadControl (rocker, R"(<Rocker><actions><action type="onMoreClick" event="PLAY"/><action type="onLessClick" event="STOP"/>
        <action type="onMoreClickWithCtrl" event="CLEAR"/></actions><gfx resource="s3.png" framesNum="1"/></Rocker>)", skin);
    stage.add (rocker);
    rocker.addListener (&editor);
    EXPECT_EQ (problems, juce::StringArray ("Rocker: a rocker's strip has 3 frames: framesNum 1 ignored"));
    EXPECT_EQ (rocker.getHeight(), 6);

    const struct
    {
        float y;
        Mods mods;
        int frame;
        std::vector<std::string> fired;
    } cases[] = { { 1.0f, left, 2, { "event 10" } }, { 5.0f, left, 0, { "event 11" } },
                  { 1.0f, ctrl, 2, { "event 12" } }, { 5.0f, ctrl, 0, {} } };

    for (const auto& c : cases)
    {
        editor.log.clear();
        rocker.mouseDown (mouseAt (rocker, { 4.0f, c.y }, { 4.0f, c.y }, c.mods));
        EXPECT_EQ (shownFrame (rocker), c.frame) << c.y;
        rocker.mouseDrag (mouseAt (rocker, { 40.0f, c.y }, { 4.0f, c.y }, c.mods, true));
        EXPECT_EQ (shownFrame (rocker), 1) << "dragged off it rests";
        rocker.mouseUp (mouseAt (rocker, { 4.0f, c.y }, { 4.0f, c.y }, c.mods));
        EXPECT_EQ (shownFrame (rocker), 1);
        EXPECT_EQ (editor.log, c.fired) << c.y;
    }
}
