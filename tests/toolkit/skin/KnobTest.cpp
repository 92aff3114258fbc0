#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/GFXKnob.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
const juce::String levelLink = R"(<links><link as="connectedTo" param="Level"/></links>)";

struct KnobTest : ::testing::Test
{
    KnobTest()
    {
        skin.images["k61.png"] = makeFrameStrip (61);
        skin.images["k12.png"] = makeFrameStrip (12);
        skin.images["k1.png"] = makeFrameStrip (1);
        skin.images["k17.png"] = makeFrameStrip (17);
    }

    template <typename Knob>
    Knob& load (Knob& knob, const juce::String& xml)
    {
        stage.add (knob);
        loadControl (knob, xml, skin);
        return knob;
    }

    TestSkin skin;
    Stage stage;
};
} // namespace

TEST_F (KnobTest, ShowsTheFrameNearestItsValueAndFrameZeroWhenDisabled)
{
    struct Case
    {
        const char* gfx;
        double value;
        bool enabled;
        int frame;
    } cases[] = {
        { R"(<gfx resource="k61.png" framesNum="61"/>)", 0.5, true, 30 },
        { R"(<gfx resource="k61.png" framesNum="61"/>)", 1.0, true, 60 },
        { R"(<gfx resource="k61.png" framesNum="61"/>)", 0.0, true, 0 },
        { R"(<gfx resource="k61.png" framesNum="61"/>)", 0.7, false, 0 },
        { R"(<gfx resource="k1.png"/>)", 1.0, true, 0 },
    };

    for (const auto& c : cases)
    {
        GFXKnob knob;
        load (knob, juce::String ("<Knob>") + c.gfx + "</Knob>");
        knob.setValue (c.value, juce::dontSendNotification);
        knob.setEnabled (c.enabled);
        EXPECT_EQ (shownFrame (knob), c.frame) << c.gfx << " at " << c.value;
    }

    GFXKnob knob;
    load (knob, R"(<Knob><gfx resource="k61.png" framesNum="61"/></Knob>)").setValue (1.0, juce::dontSendNotification);
    stage.root.setEnabled (false);
    EXPECT_EQ (shownFrame (knob), 0) << "a disabled parent disables the knob";
}

TEST_F (KnobTest, SwitchSnapsToItsStepAndChannelDisplayKeepsFrameZeroForDisabled)
{
    GFXSwitch selector;
    load (selector, R"(<Switch style="vertical"><gfx resource="k12.png" framesNum="12"/></Switch>)");
    EXPECT_EQ (selector.getSliderStyle(), juce::Slider::LinearVertical);
    selector.setValue (1.0);
    EXPECT_EQ (shownFrame (selector), 11);
    selector.setValue (0.5012);
    EXPECT_DOUBLE_EQ (selector.getValue(), 0.5);

    const struct
    {
        const char* gfx;
        double value;
        int frame;
    } channels[] = {
        { R"(<gfx resource="k17.png" framesNum="17"/>)", 0.0, 1 },
        { R"(<gfx resource="k17.png" framesNum="17"/>)", 1.0, 16 },
        { R"(<gfx resource="k1.png"/>)", 0.0, 0 }, // one frame: nothing past the strip
    };

    for (const auto& c : channels)
    {
        GFXMidiChannelDisplay display;
        load (display, juce::String ("<MidiChannelDisplay>") + c.gfx + "</MidiChannelDisplay>");
        display.setValue (c.value, juce::dontSendNotification);
        EXPECT_EQ (shownFrame (display), c.frame) << c.gfx << " at " << c.value;
    }
}

TEST_F (KnobTest, BoundKnobDraggedByTheMouseWritesItsParameterInOneGesture)
{
    GFXKnob knob;
    load (knob, "<Knob>" + levelLink + R"(<gfx resource="k61.png" framesNum="61"/></Knob>)");
    ControllerLog editor;
    knob.addListener (&editor);
    HostLog host (skin.parameter ("Level"));

    dragBy (knob, { 4.0f, 3.0f }, { 0.0f, -125.0f });

    EXPECT_FLOAT_EQ (skin.parameter ("Level").getValue(), 0.5f);
    EXPECT_EQ (host.log, (std::vector<std::string> { "begin", "set 0.500", "end" }));
    EXPECT_EQ (editor.log, (std::vector<std::string> { "start", "value", "end" }));

    // The parameter's own deferred notification reaches the knob without an echo.
    testing_support::runPendingMessages();
    EXPECT_EQ (shownFrame (knob), 30);
    EXPECT_EQ (host.log.size(), 3u);

    // A change from elsewhere moves the knob and tells nobody.
    skin.parameter ("Level").setValue (1.0f, true);
    testing_support::runPendingMessages();
    EXPECT_EQ (shownFrame (knob), 60);
    EXPECT_EQ (editor.log.size(), 3u);

    // JUCE 7 makes each wheel step a gesture of its own.
    juce::MouseWheelDetails wheel {};
    wheel.deltaY = -0.5f;
    knob.mouseWheelMove (mouseAt (knob, { 4.0f, 3.0f }, { 4.0f, 3.0f }, {}), wheel);
    ASSERT_EQ (host.log.size(), 7u);
    EXPECT_EQ (host.log[4], "begin");
    EXPECT_EQ (host.log[6], "end");
}

TEST_F (KnobTest, UnboundKnobTurnsButWritesAndTellsNothing)
{
    GFXKnob knob;
    load (knob, R"(<Knob><gfx resource="k61.png" framesNum="61"/></Knob>)");
    ControllerLog editor;
    knob.addListener (&editor);
    HostLog host (skin.parameter ("Level"));

    dragBy (knob, { 4.0f, 3.0f }, { 0.0f, -125.0f });

    EXPECT_DOUBLE_EQ (knob.getValue(), 0.5);
    EXPECT_TRUE (editor.log.empty());
    EXPECT_TRUE (host.log.empty());
}

TEST_F (KnobTest, PitchBenderAndModWheelSpringBackWithTheirParameters)
{
    PitchBender bender;
    load (bender, "<PitchBender>" + levelLink + R"(<gfx resource="k61.png" framesNum="61"/></PitchBender>)");
    EXPECT_DOUBLE_EQ (bender.getValue(), -1.0) << "follows its parameter's 0 as -1";

    dragBy (bender, { 4.0f, 3.0f }, { 0.0f, -60.0f });
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (bender.getValue(), 0.0);
    EXPECT_FLOAT_EQ (skin.parameter ("Level").getValue(), 0.5f);

    ModWheel wheel;
    load (wheel, R"(<ModWheel><links><link as="connectedTo" param="Tune"/></links></ModWheel>)");
    dragBy (wheel, { 4.0f, 3.0f }, { 0.0f, -60.0f });
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (wheel.getValue(), 0.0);
    EXPECT_FLOAT_EQ (skin.parameter ("Tune").getValue(), 0.0f);
}
