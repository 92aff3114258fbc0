#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/ControlFactory.h"
#include "toolkit/skin/GFXDisplay.h"

#include <gtest/gtest.h>

#include <functional>

using namespace widget_testing;

// The font images are glyph-coded: glyph row r is filled with frameColour (r),
// the caret half following the normal half, so one pixel per cell tells which
// row was drawn there. Focus and keys are driven by calling the handlers, as
// JUCE would: with no display no component gets the keyboard focus.
namespace
{
constexpr int asciiGlyphs = '~' - ' ' + 1;

// Writes "<name>: <text>" into a log shared by several listeners.
struct Edits : GFXDisplayListener
{
    Edits (std::vector<std::string>& sharedLog, std::string listenerName) : log (sharedLog), name (std::move (listenerName)) {}

    void displayTextEdited (GFXDisplay* display) override
    {
        log.push_back (name + ": " + display->getText().toStdString());
        if (onEdit)
            onEdit();
    }

    std::vector<std::string>& log;
    const std::string name;
    std::function<void()> onEdit;
};

// Each character of the text typed; a few names stand for the other keys, and
// "Ctrl+", "Alt+" or "Shift+" before a character holds that key.
void press (GFXDisplay& display, std::initializer_list<const char*> keys)
{
    const std::map<juce::String, int> named { { "Return", juce::KeyPress::returnKey }, { "Escape", juce::KeyPress::escapeKey },
                                              { "Backspace", juce::KeyPress::backspaceKey }, { "Delete", juce::KeyPress::deleteKey },
                                              { "Home", juce::KeyPress::homeKey },       { "End", juce::KeyPress::endKey },
                                              { "Left", juce::KeyPress::leftKey },       { "Right", juce::KeyPress::rightKey } };
    const std::map<juce::String, int> held { { "Ctrl+", juce::ModifierKeys::ctrlModifier }, { "Alt+", juce::ModifierKeys::altModifier },
                                             { "Shift+", juce::ModifierKeys::shiftModifier } };
    for (const auto key : keys)
    {
        auto text = juce::String::fromUTF8 (key);
        juce::ModifierKeys modifiers;
        for (const auto& [prefix, flag] : held)
            if (text.startsWith (prefix))
            {
                modifiers = juce::ModifierKeys (flag);
                text = text.substring (prefix.length());
            }

        if (const auto found = named.find (text); found != named.end())
            EXPECT_TRUE (display.keyPressed (juce::KeyPress (found->second)));
        else
            for (const auto character : text)
                EXPECT_TRUE (display.keyPressed (juce::KeyPress ((int) juce::CharacterFunctions::toUpperCase (character), modifiers, character)));
    }
}

struct TextDisplayTest : ::testing::Test
{
    // A display of the given width, 20 high, with a font of glyphs 8 wide and
    // 10 high from firstASCII on.
    GFXDisplay& makeDisplay (int width, const juce::String& text = {}, int glyphs = asciiGlyphs, juce::juce_wchar first = ' ')
    {
        auto& display = *displays.emplace_back (std::make_unique<GFXDisplay>());
        display.setFont (makeFrameStrip (glyphs * 2, 8, 10), 10, first);
        display.setBounds (0, 0, width, 20);
        display.setText (text);
        stage.add (display);
        return display;
    }

    // The glyph row drawn in each cell of a display made by makeDisplay.
    static std::vector<int> rows (GFXDisplay& display)
    {
        const auto image = paintImage (display);
        const int x0 = (display.getWidth() - display.getNumCells() * 8) / 2;
        std::vector<int> drawn;
        for (int cell = 0; cell < display.getNumCells(); ++cell)
            drawn.push_back (frameAt (image, x0 + cell * 8 + 4, 10));
        return drawn;
    }

    static int row (juce::juce_wchar character) { return static_cast<int> (character - ' '); }

    TestSkin skin;
    Stage stage;
    std::vector<std::unique_ptr<GFXDisplay>> displays;
};
} // namespace

TEST_F (TextDisplayTest, CellsAreCentredAcrossTheWidth)
{
    const struct
    {
        int width, cells, left;
    } cases[] = { { 231, 28, 3 }, { 256, 32, 0 }, { 12, 1, 2 }, { 7, 0, 0 } };

    for (const auto& c : cases)
    {
        auto& display = makeDisplay (c.width, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA");
        EXPECT_EQ (display.getNumCells(), c.cells) << c.width;

        const auto image = paintImage (display);
        const int right = c.left + c.cells * 8;
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ (frameAt (image, x, 10), x >= c.left && x < right ? row ('A') : -1) << c.width << " at x " << x;
        EXPECT_EQ (frameAt (image, c.left, 4), -1) << "glyphs sit centred in the height";
        EXPECT_EQ (frameAt (image, c.left, 5), c.cells > 0 ? row ('A') : -1);
    }
}

TEST_F (TextDisplayTest, EveryCharacterDrawsAGlyphOfTheFont)
{
    // Glyphs for "A" to "Z" only: what lies below draws the first, what lies
    // above the last, and anything beyond ASCII the first, whatever its low
    // byte ("Ń" is U+0143, whose low byte is "C").
    auto& display = makeDisplay (80, juce::String::fromUTF8 ("ACZ a\xc3\xa9\xc5\x83\xe2\x82\xac"), 26, 'A');
    EXPECT_EQ (rows (display), (std::vector<int> { 0, 2, 25, 0, 25, 0, 0, 0, 0, 0 }));

    display.setText ({});
    EXPECT_EQ (rows (display), std::vector<int> (10, 0));
}

TEST_F (TextDisplayTest, AFontWithoutGlyphsWritesTheTextInstead)
{
    skin.images["short.png"] = makeFrameStrip (1, 8, 10);
    skin.images["font.png"] = makeFrameStrip (4, 8, 10);
    const struct
    {
        const char* gfx;
        const char* problem;
    } cases[] = {
        { "", nullptr },
        { R"(<gfx resource="font.png"/>)", "Display \"Kick\": image \"font.png\" holds no glyphs 0 pixels high: the text is written without it" },
        { R"(<gfx resource="font.png" fontHeight="-3"/>)", "gfx fontHeight -3 is out of 0..1024: 0 taken" },
        { R"(<gfx resource="short.png" fontHeight="10"/>)", "holds no glyphs 10 pixels high" },
        { R"(<gfx resource="missing.png" fontHeight="10"/>)", "no image \"missing.png\"" },
    };

    for (const auto& c : cases)
    {
        GFXDisplay display;
        stage.add (display);
        const auto problems = loadControl (display, juce::String (R"(<Display name="Kick" backgroundColour="FFFFFFFF">)") + c.gfx
                                                        + R"(<size width="60" height="20"/></Display>)", skin);
        EXPECT_EQ (problems.isEmpty(), c.problem == nullptr) << c.gfx;
        EXPECT_TRUE (c.problem == nullptr || problems[0].contains (c.problem)) << problems[0];
        EXPECT_FALSE (display.hasFont());
        EXPECT_EQ (display.getNumCells(), 0);

        const auto image = paintImage (display);
        int dark = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                dark += image.getPixelAt (x, y).getBrightness() < 0.5f ? 1 : 0;
        EXPECT_GT (dark, 10) << "the name is written in black: " << c.gfx;
    }
}

TEST_F (TextDisplayTest, ReadsItsElementAndShowsItsParameter)
{
    skin.images["font.png"] = makeFrameStrip (asciiGlyphs * 2, 9, 15);
    skin.parameters.addParameter (std::make_unique<StringParameter> (5, "Preset Name", "Warehouse Kit"));
    SkinReader reader (skin);
    const auto widget = toolkit::createControl ("display", "PresetNameDisplay", reader);
    ASSERT_NE (dynamic_cast<GFXDisplay*> (widget.controller), nullptr);
    auto& display = *dynamic_cast<GFXDisplay*> (widget.controller);
    stage.add (display);

    const auto problems = loadControl (display, R"(<Display name="PresetNameDisplay" backgroundColour="FF102030" caretColour="FFFFB040">
        <gfx resource="font.png" fontHeight="15" firstASCII="!"/><size width="256" height="22"/><pos left="8" top="9"/></Display>)", skin);
    EXPECT_TRUE (problems.isEmpty()) << problems.joinIntoString ("\n");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (8, 9, 256, 22));
    EXPECT_EQ (display.getLastCharacter(), (juce::juce_wchar) ('!' + asciiGlyphs - 1));
    EXPECT_TRUE (display.isOpaque());
    EXPECT_EQ (display.getText(), "PresetNameDisplay") << "the name shows until a parameter is bound";

    loadControl (display, R"(<Display name="PresetNameDisplay" readonly="yes"><links><link as="connectedTo" param="Preset Name"/></links>
        <gfx resource="font.png" fontHeight="15"/></Display>)", skin);
    EXPECT_EQ (display.getText(), "Warehouse Kit");
    EXPECT_FALSE (display.isEnabled());
    EXPECT_FALSE (display.isOpaque()) << "no background colour: the panel shows through";
    EXPECT_EQ (paintImage (display).getPixelAt (0, 0).getAlpha(), 0);
}

TEST_F (TextDisplayTest, KeysEditTheTextAtTheCaret)
{
    const struct
    {
        std::initializer_list<const char*> keys;
        const char* text;
        int caret;
    } cases[] = {
        { {}, "Kick", 0 },
        { { "End" }, "Kick", 4 },
        { { "End", "Backspace" }, "Kic", 3 },
        { { "Backspace", "Left", "Home" }, "Kick", 0 },
        { { "Delete", "Delete" }, "ck", 0 },
        { { "End", "Right", "Right", "Delete" }, "Kick", 4 },
        { { "Right", "Right", "Left", "x" }, "Kxick", 2 },
        { { "End", " 2" }, "Kick 2", 6 },
        { { "\xc3\xa9", "\t" }, "Kick", 0 }, // outside the font: nothing inserted
        { { "Shift+S", "Ctrl+z", "Alt+a" }, "SKick", 1 }, // Ctrl and Alt keys are taken and do nothing
    };

    for (const auto& c : cases)
    {
        auto& display = makeDisplay (80, "Kick");
        display.focusGained (juce::Component::focusChangedDirectly);
        press (display, c.keys);
        EXPECT_EQ (display.getText(), c.text);
        EXPECT_EQ (display.getCaret(), c.caret) << c.text;
        EXPECT_TRUE (display.isEditing());
    }

    auto& idle = makeDisplay (80, "Kick");
    EXPECT_FALSE (idle.keyPressed (juce::KeyPress ('X', {}, 'x'))) << "outside an edit keys go to the editor";
}

TEST_F (TextDisplayTest, TheCaretKeepsACellOfContextOnEachSide)
{
    // Six cells; the caret cell is drawn from the lower half of the font.
    auto& display = makeDisplay (48, "abcdefghij");
    display.focusGained (juce::Component::focusChangedDirectly);
    const struct
    {
        std::initializer_list<const char*> keys;
        int caret, scroll;
    } steps[] = {
        { {}, 0, 0 },
        { { "Right", "Right", "Right", "Right" }, 4, 0 },
        { { "x" }, 5, 1 },                        // typing past the last cell: the caret stays in the last but one
        { { "End" }, 11, 6 },                     // at the end the caret takes the last cell
        { { "Left", "Left", "Left", "Left", "Left" }, 6, 5 },
        { { "Left" }, 5, 4 },
        { { "Home" }, 0, 0 },
    };

    for (const auto& step : steps)
    {
        press (display, step.keys);
        EXPECT_EQ (display.getCaret(), step.caret);
        EXPECT_EQ (display.getScroll(), step.scroll) << "caret " << step.caret;

        std::vector<int> expected;
        for (int cell = 0; cell < 6; ++cell)
        {
            const int index = step.scroll + cell;
            const auto character = index < display.getText().length() ? display.getText()[index] : ' ';
            expected.push_back (row (character) + (index == step.caret ? asciiGlyphs : 0));
        }
        EXPECT_EQ (rows (display), expected) << "caret " << step.caret;
    }

    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (display.getScroll(), 0) << "after the edit the text shows from its start";
    EXPECT_EQ (rows (display)[0], row ('a'));
}

TEST_F (TextDisplayTest, ListenersHearOnlyOfEditsThatChangedTheText)
{
    const struct
    {
        std::initializer_list<const char*> keys;
        bool loseFocus;
        const char* text;
        std::vector<std::string> told;
    } cases[] = {
        { { "End", "!", "Escape" }, false, "Kick", {} },
        { { "Return" }, false, "Kick", {} },
        { { "x", "Backspace", "Return" }, false, "Kick", {} },
        { { "End", "!", "Return" }, false, "Kick!", { "second: Kick!", "first: Kick!" } }, // the last added first
        { { "Delete" }, true, "ick", { "second: ick", "first: ick" } },
    };

    for (const auto& c : cases)
    {
        auto& display = makeDisplay (80, "Kick");
        std::vector<std::string> told;
        Edits first (told, "first"), second (told, "second");
        display.addDisplayListener (&first);
        display.addDisplayListener (&second);

        display.focusGained (juce::Component::focusChangedDirectly);
        press (display, c.keys);
        if (c.loseFocus)
            display.focusLost (juce::Component::focusChangedByMouseClick);

        EXPECT_FALSE (display.isEditing());
        EXPECT_EQ (display.getText(), c.text);
        EXPECT_EQ (told, c.told) << c.text;
    }
}

TEST_F (TextDisplayTest, OnlyADirectFocusChangeStartsAnEdit)
{
    auto& display = makeDisplay (80, "Kick");
    display.focusGained (juce::Component::focusChangedByTabKey);
    EXPECT_FALSE (display.isEditing());

    display.focusGained (juce::Component::focusChangedDirectly);
    EXPECT_TRUE (display.isEditing());
    EXPECT_EQ (display.getCaret(), 0);

    display.setEnabled (false);
    EXPECT_FALSE (display.isEditing()) << "made read-only, the display ends the edit";
    display.focusGained (juce::Component::focusChangedDirectly);
    EXPECT_FALSE (display.isEditing()) << "a read-only display takes no edit";
}

TEST_F (TextDisplayTest, AClickElsewhereEndsTheEditAndADeletedDisplayHearsNoMore)
{
    // The stage is put on the desktop (with no display, a window that shows
    // nothing) so that presses go through JUCE's own mouse handling.
    stage.root.addToDesktop (0);
    stage.root.setVisible (true);
    juce::Component elsewhere;
    elsewhere.setBounds (200, 0, 50, 50);
    stage.add (elsewhere);
    auto pressAt = [this] (juce::Point<float> position) {
        static juce::int64 time = juce::Time::currentTimeMillis();
        auto* peer = stage.root.getPeer();
        ASSERT_NE (peer, nullptr);
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, juce::ModifierKeys::leftButtonModifier,
                                1.0f, 0.0f, ++time);
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, {}, 1.0f, 0.0f, ++time);
    };

    auto& display = makeDisplay (80, "Kick");
    std::vector<std::string> told;
    Edits edits (told, "editor");
    display.addDisplayListener (&edits);
    display.focusGained (juce::Component::focusChangedDirectly);
    press (display, { "Delete" });

    pressAt ({ 10.0f, 10.0f });
    EXPECT_TRUE (display.isEditing()) << "a press on the display itself goes on editing";

    pressAt ({ 210.0f, 10.0f });
    EXPECT_FALSE (display.isEditing());
    EXPECT_EQ (told, std::vector<std::string> { "editor: ick" });

    // Closed in the middle of an edit, the display leaves nothing behind that
    // a later press could reach.
    display.focusGained (juce::Component::focusChangedDirectly);
    displays.clear();
    pressAt ({ 210.0f, 10.0f });
}

TEST_F (TextDisplayTest, AListenerMayDeleteTheDisplay)
{
    auto& display = makeDisplay (80, "Kick");
    std::vector<std::string> told;
    Edits deleting (told, "deleting"), other (told, "other");
    deleting.onEdit = [this] { displays.clear(); };
    display.addDisplayListener (&other);
    display.addDisplayListener (&deleting);
    display.focusGained (juce::Component::focusChangedDirectly);
    press (display, { "x", "Return" });

    EXPECT_TRUE (displays.empty());
    EXPECT_EQ (told, std::vector<std::string> { "deleting: xKick" }) << "nobody hears from a display that is gone";
}

TEST_F (TextDisplayTest, FloatDisplayWritesTheNumberAsAStreamDoes)
{
    FloatParameter parameter (5, "Value", -1.0e9f, 1.0e9f, 0.0f);
    const struct
    {
        float value;
        int width; // 8 pixels a cell
        const char* shown;
    } cases[] = {
        { 0.5f, 80, "0.5" },      { 120.0f, 80, "120" },        { -0.25f, 80, "-0.25" },   { 1234.5f, 40, " 1234.5" },
        { 1234.5f, 32, "1234.5" }, { 1234.5f, 48, "1234.5" }, { 1.0e7f, 80, "1e+07" },   { 0.000125f, 80, "0.000125" },
    };

    for (const auto& c : cases)
    {
        GFXDisplayFloat display;
        display.setFont (makeFrameStrip (asciiGlyphs * 2, 8, 10), 10);
        display.setBounds (0, 0, c.width, 20);
        parameter.setValue (c.value, false);
        display.updateFromParameter (&parameter);
        EXPECT_EQ (display.getText(), c.shown) << c.value << " in " << display.getNumCells() << " cells";
    }
}
