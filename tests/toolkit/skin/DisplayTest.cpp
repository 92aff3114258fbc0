#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/NumericDisplay.h"
#include "toolkit/skin/PatternNumberDisplay.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
struct DisplayTest : ::testing::Test
{
    DisplayTest()
    {
        skin.images["digit.png"] = makeFrameStrip (NumericDisplayDigit::framesNum, 10, 16);
        skin.images["led.png"] = makeFrameStrip (3);
        skin.images["one.png"] = makeFrameStrip (1);
        for (int frames : { 12, 19, 13, 11 })
            skin.images["p" + juce::String (frames) + ".png"] = makeFrameStrip (frames);
    }

    // The figures shown, "_" for a blank one: "_7".
    static std::string figures (const NumericDisplay& display)
    {
        std::string text;
        for (int i = 0; i < display.getNumDigits(); ++i)
            text += display.getDigit (i).isHidden() ? '_' : static_cast<char> ('0' + display.getDigit (i).getFigure());
        return text;
    }

    TestSkin skin;
    Stage stage;
};

const char* const twoDigitDisplay = R"(<NumericDisplay digitsNum="2" firstDigitOrder="10" minValue="0" maxValue="99">
    <links><link as="connectedTo" param="Pattern"/></links><digits resource="digit.png"/></NumericDisplay>)";
} // namespace

TEST_F (DisplayTest, NumericDisplayShowsFiguresClampedWithLeadingZerosBlank)
{
    const char* const outputs = R"(<NumericDisplay digitsNum="2" firstDigitOrder="10" minValue="1" maxValue="12"/>)";
    const char* const tempo = R"(<NumericDisplay digitsNum="4" firstDigitOrder="100" minValue="30" maxValue="300"/>)";
    const char* const small = R"(<NumericDisplay digitsNum="2" firstDigitOrder="0.1" minValue="0" maxValue="0.99"/>)";
    const char* const narrow = R"(<NumericDisplay digitsNum="2" minValue="0" maxValue="500"/>)";
    const struct
    {
        const char* xml;
        double value;
        const char* shown;
        double kept;
    } cases[] = {
        { outputs, 7.0, "_7", 7.0 },      { outputs, 10.0, "10", 10.0 },  { outputs, 0.0, "_1", 1.0 },
        { outputs, 40.0, "12", 12.0 },    { tempo, 120.5, "1205", 120.5 }, { tempo, 30.0, "_300", 30.0 },
        { tempo, 999.0, "3000", 300.0 },  { small, 0.25, "25", 0.25 },     { small, 0.0, "__", 0.0 },
        { narrow, 345.0, "99", 345.0 }, // more figures than cells: all nines
    };

    for (const auto& c : cases)
    {
        NumericDisplay display;
        stage.add (display);
        loadControl (display, c.xml, skin);
        display.setDisplayValue (c.value, false);
        EXPECT_EQ (figures (display), c.shown) << c.xml << " at " << c.value;
        EXPECT_DOUBLE_EQ (display.getDisplayValue(), c.kept);
    }
}

TEST_F (DisplayTest, NumericDisplayDrawsDigitFramesAndASign)
{
    NumericDisplay display;
    stage.add (display);
    loadControl (display, R"(<NumericDisplay digitsNum="2" minValue="-20" maxValue="20"><size width="30" height="16"/>
        <sign><gfx resource="led.png"/></sign><digits><gfx resource="digit.png"/><gfx resource="digit.png"/></digits>
        <pos left="5" top="6"/></NumericDisplay>)", skin);
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (5, 6, 28, 16)) << "sign 8 wide, then two digits 10 wide";

    display.setDisplayValue (-7.0, false);
    auto image = paintImage (display);
    EXPECT_EQ (frameAt (image, 4, 1), 1) << "minus";
    EXPECT_EQ (frameAt (image, 13, 8), 0) << "blank tens";
    EXPECT_EQ (frameAt (image, 23, 8), 8) << "7";

    display.setEnabled (false);
    image = paintImage (display);
    EXPECT_EQ (frameAt (image, 4, 1), 0);
    EXPECT_EQ (frameAt (image, 23, 8), 0);
}

TEST_F (DisplayTest, DraggingAFigureStepsByItsPlaceInOneGesture)
{
    const struct
    {
        const char* control;
        float x, dy;
        int written;
    } cases[] = {
        { "", 5.0f, -25.0f, 60 },          // tens: up 25 pixels is two steps of 10
        { "", 15.0f, -25.0f, 42 },         // ones
        { "continous", 5.0f, -25.0f, 42 }, // always the second figure
        { "", 5.0f, 19.0f, 30 },           // down one step
        { "", 5.0f, -200.0f, 99 },         // written clamped
    };

    for (const auto& c : cases)
    {
        skin.parameter ("Pattern").setInt (40, false);
        NumericDisplay display;
        stage.add (display);
        loadControl (display, juce::String (twoDigitDisplay).replace ("<NumericDisplay", juce::String ("<NumericDisplay control=\"") + c.control + "\""), skin);
        ControllerLog editor;
        display.addListener (&editor);
        HostLog host (skin.parameter ("Pattern"));

        dragBy (display, { c.x, 8.0f }, { 0.0f, c.dy });

        EXPECT_EQ (skin.parameter ("Pattern").getInt(), c.written) << c.control << " " << c.x << " " << c.dy;
        EXPECT_EQ (host.log.front(), "begin");
        EXPECT_EQ (host.log.back(), "end");
        EXPECT_EQ (editor.log, (std::vector<std::string> { "start", "value", "end" }));
    }
}

TEST_F (DisplayTest, FaultyDigitElementsStillBuildAWorkingDisplay)
{
    const struct
    {
        const char* xml;
        int digits;
        const char* problem;
    } cases[] = {
        { R"(<NumericDisplay digitsNum="0" maxValue="9"><size width="0" height="10"/></NumericDisplay>)", 1, "digitsNum 0 is out of 1..9: 1 taken" },
        { R"(<NumericDisplay digitsNum="40" maxValue="9"/>)", 9, "digitsNum 40 is out of 1..9: 9 taken" },
        { R"(<NumericDisplay digitsNum="3" maxValue="999"><digits><gfx resource="digit.png"/></digits></NumericDisplay>)", 3,
          "1 digit images for 3 digits: the others drawn plain" },
        { R"(<NumericDisplay digitsNum="2" firstDigitOrder="15" maxValue="99"/>)", 2, "firstDigitOrder 15 is no power of ten: 10 taken" },
        { R"(<NumericDisplay digitsNum="2" maxValue="99"><digits resource="gone.png"/></NumericDisplay>)", 2, "no image \"gone.png\"" },
    };

    for (const auto& c : cases)
    {
        NumericDisplay display;
        stage.add (display);
        const auto problems = loadControl (display, c.xml, skin);
        display.setDisplayValue (7.0, false);
        paintImage (display);

        EXPECT_EQ (display.getNumDigits(), c.digits) << c.xml;
        EXPECT_EQ (figures (display).back(), '7') << c.xml;
        EXPECT_EQ (problems[0], juce::String ("NumericDisplay: ") + c.problem);
    }
}

TEST_F (DisplayTest, PatternNumberDisplayShowsEachModesFigures)
{
    const struct
    {
        int mode, value, slotMax;
        bool enabled;
        std::vector<int> frames;
    } cases[] = {
        { PatternNumberDisplay::bankAndSlotMode, 13, 12, true, { 3, 18, 1, 2 } },   // 2-01
        { PatternNumberDisplay::bankAndSlotMode, 96, 12, true, { 9, 18, 2, 3 } },   // 8-12
        { PatternNumberDisplay::bankAndSlotMode, 96, 4, true, { 10, 18, 1, 5 } },   // bank 24 shows 9
        { PatternNumberDisplay::bankAndSlotMode, 0, 12, true, { 2, 18, 1, 2 } },    // below the range: 1
        { PatternNumberDisplay::bankAndSlotMode, 13, 0, true, { 5, 18, 1, 2 } },    // no slots: 4 a bank, 4-01
        { PatternNumberDisplay::bankAndSlotMode, 13, 99, true, { 2, 18, 2, 4 } },   // 16 a bank at most, 1-13
        { PatternNumberDisplay::noteMode, 61, 12, true, { 11, 11, 11, 6 } },        // P.C#5
        { PatternNumberDisplay::noteMode, 127, 12, true, { 11, 15, 12, 0 } },       // P.G, octave 10 blank
        { PatternNumberDisplay::numericMode, 16, 12, true, { 0, 2, 7, 0 } },        // 16
        { PatternNumberDisplay::numericMode, 61, 12, true, { 0, 2, 7, 0 } },        // kept at 16
        { PatternNumberDisplay::noteMode, 61, 12, false, { 0, 0, 0, 0 } },
    };

    for (const auto& c : cases)
    {
        PatternNumberDisplay display;
        stage.add (display);
        loadControl (display, R"(<PatternNumberDisplay slotMax=")" + juce::String (c.slotMax) + R"("><pos left="3" top="4"/>
            <gfx firstDigit="p12.png" secondDigit="p19.png" thirdDigit="p13.png" fourthDigit="p11.png"/></PatternNumberDisplay>)", skin);
        display.setMode (c.mode);
        display.setValue (c.value);
        display.updatePatternDigits();
        display.setEnabled (c.enabled);

        const auto image = paintImage (display);
        std::vector<int> frames;
        for (int i = 0; i < 4; ++i)
            frames.push_back (frameAt (image, i * 8 + 4, 3));

        EXPECT_EQ (frames, c.frames) << c.mode << " " << c.value;
    }
}

TEST_F (DisplayTest, AnimationFollowsItsParameterBlinksFlashesAndDrawsPlainWithoutAStrip)
{
    GFXAnimation led;
    stage.add (led);
    loadControl (led, R"(<Animation states="3" style="x"><links><link as="connectedTo" param="Level"/></links><gfx resource="led.png" framesNum="3"/></Animation>)", skin);
    skin.parameter ("Level").setValue (0.8f, true);
    testing_support::runPendingMessages();
    EXPECT_EQ (shownFrame (led), 2);
    makeBlinkDark (led);
    EXPECT_EQ (shownFrame (led), 0) << "the dark phase of a blink";
    led.stopBlinking();
    EXPECT_EQ (shownFrame (led), 2);

    GFXAnimation lamp;
    stage.add (lamp);
    loadControl (lamp, R"(<Animation><gfx resource="one.png"/></Animation>)", skin);
    lamp.flash (1);
    EXPECT_EQ (lamp.getFrame(), 0) << "a one-frame strip has no frame 1 to flash";

    // Without a strip: a grey square, with no dot for a single frame.
    GFXAnimation plain;
    stage.add (plain);
    loadControl (plain, R"(<Animation><size width="20" height="20"/></Animation>)", skin);
    EXPECT_EQ (paintImage (plain).getPixelAt (10, 10), juce::Colour::greyLevel (0.9f));
}
