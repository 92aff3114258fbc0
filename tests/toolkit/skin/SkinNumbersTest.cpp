#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/PanelFromXml.h"

#include <gtest/gtest.h>

using namespace widget_testing;

// A skin package is a user's file: whatever number it holds, the panel builds,
// paints (in the sanitizer build: without an overflow) and lists the number
// out of range with its place.
namespace
{
struct NumericAttribute
{
    const char* panelContent; // "$" stands for the value
    const char* named;        // as the problem names it
    bool decimal;
};

// Every numeric attribute of the skin vocabulary.
const NumericAttribute numericAttributes[] = {
    { R"(<pos left="$"/>)", "pos left", false },
    { R"(<size height="$"/>)", "size height", false },
    { R"(<controls ofsX="$"><Knob name="c"><pos left="-10"/></Knob><Knob name="d"><pos left="10"/></Knob></controls>)", "controls ofsX", false },
    { R"(<controls ofsY="$"><Knob name="c"><pos top="-10"/></Knob><Knob name="d"><pos top="10"/></Knob></controls>)", "controls ofsY", false },
    { R"(<controls><Knob name="c"><pos top="$"/></Knob></controls>)", "pos top", false },
    { R"(<controls><Knob name="c"><size width="$"/></Knob></controls>)", "size width", false },
    { R"(<controls><Knob name="c"><gfx resource="knob.png" framesNum="$"/></Knob></controls>)", "gfx framesNum", false },
    { R"(<controls><Animation name="c"><gfx resource="none.png" framesNum="$"/></Animation></controls>)", "gfx framesNum", false },
    { R"(<controls><Rocker name="c"><gfx resource="knob.png" framesNum="$"/></Rocker></controls>)", "gfx framesNum", false },
    { R"(<controls><MultiStateButton name="c" style="3D" states="$"><gfx resource="knob.png"/></MultiStateButton></controls>)", "states", false },
    { R"(<controls><MultiStateButton name="c" radioGroupId="$"/></controls>)", "radioGroupId", false },
    { R"(<controls><ToggleButton name="c" radioGroupId="$"/></controls>)", "radioGroupId", false },
    { R"(<controls><Display name="c"><gfx resource="knob.png" fontHeight="$"/><size width="60" height="20"/></Display></controls>)", "gfx fontHeight", false },
    { R"(<controls><NumericDisplay name="c" digitsNum="$" maxValue="9"/></controls>)", "digitsNum", false },
    { R"(<controls><NumericDisplay name="c" firstDigitOrder="$" maxValue="9"/></controls>)", "firstDigitOrder", true },
    { R"(<controls><NumericDisplay name="c" minValue="$"/></controls>)", "minValue", true },
    { R"(<controls><NumericDisplay name="c" maxValue="$"/></controls>)", "maxValue", true },
    { R"(<controls><PatternNumberDisplay name="c" notePatternMin="$"/></controls>)", "notePatternMin", false },
    { R"(<controls><PatternNumberDisplay name="c" notePatternMax="$"/></controls>)", "notePatternMax", false },
    { R"(<controls><PatternNumberDisplay name="c" numericPatternMin="$"/></controls>)", "numericPatternMin", false },
    { R"(<controls><PatternNumberDisplay name="c" numericPatternMax="$"/></controls>)", "numericPatternMax", false },
    { R"(<controls><PatternNumberDisplay name="c" bankAndSlotPatternMin="$"/></controls>)", "bankAndSlotPatternMin", false },
    { R"(<controls><PatternNumberDisplay name="c" bankAndSlotPatternMax="$"/></controls>)", "bankAndSlotPatternMax", false },
    { R"(<controls><PatternNumberDisplay name="c" slotMax="$"/></controls>)", "slotMax", false },
    { R"(<controls><TextInput name="c"><font height="$"/></TextInput></controls>)", "font height", true },
    { R"(<controls><TextInput name="c"><font extraKerning="$"/></TextInput></controls>)", "font extraKerning", true },
    { R"(<controls><NoteDisplay name="c"><size width="$" height="16"/></NoteDisplay></controls>)", "size width", false },
    { R"(<controls><MidiKeyboard name="c" firstKey="$" lastKey="10"/></controls>)", "firstKey", false },
    { R"(<controls><MidiKeyboard name="c" firstKey="10" lastKey="$"/></controls>)", "lastKey", false },
    { R"(<controls><MidiKeyboard name="c"><Keys><Key left="$"/></Keys></MidiKeyboard></controls>)", "left", false },
    { R"(<controls><MidiKeyboard name="c"><Keys><Key right="$"/></Keys></MidiKeyboard></controls>)", "right", false },
    { R"(<controls><MidiKeyboard name="c"><Keys><Key><gfx resource="knob.png" framesNum="$"/></Key></Keys></MidiKeyboard></controls>)", "gfx framesNum", false },
    { R"(<controls><MidiKeyboard name="c"><Keys><Key><pos left="$"/></Key></Keys></MidiKeyboard></controls>)", "pos left", false },
    { R"(<controls><ModulationMatrix name="c"><size height="$"/></ModulationMatrix></controls>)", "size height", false },
};

struct SkinNumbersTest : ::testing::Test
{
    SkinNumbersTest() { skin.images["knob.png"] = makeFrameStrip (61, 10, 10); }

    // The panel built from a skin with that content, painted into an image
    // of at most 300 by 200 pixels; its problems.
    juce::StringArray buildAndPaint (const juce::String& panelContent)
    {
        const auto xml = R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel">)" + panelContent + "</Panel></PluginEditor>";
        auto built = toolkit::createPanelFromXml (*juce::parseXML (xml), skin, "Pulsetta");
        EXPECT_NE (built.panel, nullptr) << panelContent;

        if (built.panel != nullptr)
        {
            stage.add (*built.panel);
            juce::Image image (juce::Image::ARGB, 300, 200, true);
            juce::Graphics g (image);
            built.panel->paintEntireComponent (g, true);
        }

        return built.problems;
    }

    TestSkin skin;
    Stage stage;
};

bool hasProblem (const juce::StringArray& problems, const juce::String& text)
{
    for (const auto& problem : problems)
        if (problem.contains (text))
            return true;

    return false;
}
} // namespace

TEST_F (SkinNumbersTest, EveryNumberOutOfTheIntRangeOrFarBeyondIsBoundedAndListed)
{
    const char* const wholeExtremes[] = { "2147483647", "-2147483648", "99999999999999999999", "-99999999999999999999" };
    const char* const decimalExtremes[] = { "1e999", "-1e999", "1.7e308" };

    for (const auto& attribute : numericAttributes)
    {
        for (const auto* value : wholeExtremes)
        {
            const auto problems = buildAndPaint (juce::String (attribute.panelContent).replace ("$", value));
            EXPECT_TRUE (hasProblem (problems, juce::String (attribute.named) + " " + value + " is out of"))
                << attribute.panelContent << " " << value << "\n" << problems.joinIntoString ("\n");
        }

        if (attribute.decimal)
        {
            for (const auto* value : decimalExtremes)
                EXPECT_TRUE (hasProblem (buildAndPaint (juce::String (attribute.panelContent).replace ("$", value)),
                                         juce::String (attribute.named) + " " + value + " is out of"))
                    << attribute.panelContent << " " << value;

            EXPECT_TRUE (hasProblem (buildAndPaint (juce::String (attribute.panelContent).replace ("$", "nan")),
                                     juce::String (attribute.named) + " nan is no number"))
                << attribute.panelContent;
        }
    }
}

// Just past the legal end of each number: the nearest legal value is taken,
// and the problem says where.
TEST_F (SkinNumbersTest, NumbersJustOutOfRangeTakeTheNearestBound)
{
    const struct
    {
        const char* panelContent;
        const char* problem; // the first, after "Panel "MainPanel""; null: none
    } cases[] = {
        { R"(<size width="-1"/>)", ": size width -1 is out of 0..16384: 0 taken" },
        { R"(<size width="0" height="16384"/>)", nullptr },
        { R"(<controls ofsX="-16385"><Knob name="c"/></controls>)", ": controls ofsX -16385 is out of -16384..16384: -16384 taken" },
        { R"(<controls><Knob name="c"><gfx resource="knob.png" framesNum="0"/></Knob></controls>)",
          R"( > Knob "c": gfx framesNum 0 is out of 1..16384: 1 taken)" },
        { R"(<controls><MultiStateButton name="c" states="1"/></controls>)", R"( > MultiStateButton "c": states 1 is out of 2..1024: 2 taken)" },
        { R"(<controls><Display name="c"><gfx resource="knob.png" fontHeight="-1"/></Display></controls>)",
          R"( > Display "c": gfx fontHeight -1 is out of 0..1024: 0 taken)" },
        { R"(<controls><NumericDisplay name="c" digitsNum="10" maxValue="9"/></controls>)", R"( > NumericDisplay "c": digitsNum 10 is out of 1..9: 9 taken)" },
        { R"(<controls><PatternNumberDisplay name="c" slotMax="3"/></controls>)", R"( > PatternNumberDisplay "c": slotMax 3 is out of 4..16: 4 taken)" },
        { R"(<controls><PatternNumberDisplay name="c" slotMax="17"/></controls>)", R"( > PatternNumberDisplay "c": slotMax 17 is out of 4..16: 16 taken)" },
        { R"(<controls><MidiKeyboard name="c" firstKey="0" lastKey="128"/></controls>)", R"( > MidiKeyboard "c": lastKey 128 is out of 0..127: 127 taken)" },
        { R"(<controls><MidiKeyboard name="c"><Keys><Key right="5"/></Keys></MidiKeyboard></controls>)",
          R"( > MidiKeyboard "c" > Key #1: right 5 is out of 0..4: 4 taken)" },
    };

    for (const auto& c : cases)
    {
        const auto problems = buildAndPaint (c.panelContent);
        EXPECT_EQ (problems.isEmpty() ? juce::String() : problems[0], c.problem != nullptr ? "Panel \"MainPanel\"" + juce::String (c.problem) : "")
            << c.panelContent;
    }
}
