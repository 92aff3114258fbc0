#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/skin/TextInput.h"

#include <gtest/gtest.h>

using namespace widget_testing;

// With no display no component gets the keyboard focus: the editor's focus
// and key handlers are called as JUCE would call them, and its change
// messages are delivered by running the message loop.
namespace
{
struct Recorder : ModalTextEditor::ModalListener
{
    void modalTextCommitted (ModalTextEditor* editor) override { seen.push_back ("committed " + editor->getText().toStdString()); }
    void modalEditorClosed (ModalTextEditor*) override { seen.push_back ("closed"); }

    std::vector<std::string> seen;
};

struct TextInputTest : ::testing::Test
{
    TextInput& makeInput (const juce::String& xml)
    {
        auto& input = *inputs.emplace_back (std::make_unique<TextInput>());
        stage.add (input);
        const auto problems = loadControl (input, xml, skin);
        EXPECT_TRUE (problems.isEmpty()) << problems.joinIntoString ("\n");
        return input;
    }

    // The user types into the open editor.
    static void type (TextInput& input, const juce::String& text)
    {
        input.getEditor()->setText (text);
        testing_support::runPendingMessages();
    }

    // The input alone, without the editor over it.
    static juce::Image paintAlone (TextInput& input)
    {
        juce::Image image (juce::Image::ARGB, input.getWidth(), input.getHeight(), true);
        juce::Graphics g (image);
        input.paint (g);
        return image;
    }

    TestSkin skin;
    Stage stage;
    std::vector<std::unique_ptr<TextInput>> inputs;
};
} // namespace

TEST_F (TextInputTest, TheSkinSaysWhichClickEditsAndNoneLetsClicksThrough)
{
    // The stage goes on the desktop (a window that shows nothing with no
    // display) so that presses go through JUCE's own mouse handling.
    stage.root.addToDesktop (0);
    stage.root.setVisible (true);
    struct Behind : juce::Component
    {
        void mouseDown (const juce::MouseEvent&) override { ++presses; }
        int presses = 0;
    };

    const struct
    {
        const char* editable;
        bool afterClick, afterDoubleClick;
        int pressesBehind;
    } cases[] = {
        { nullptr, true, true, 0 },
        { "onClick", true, true, 0 },
        { "onDoubleClick", false, true, 0 },
        { "no", false, false, 2 },
    };

    static juce::int64 time = juce::Time::currentTimeMillis();
    for (const auto& c : cases)
    {
        Behind behind;
        behind.setBounds (0, 0, 200, 40);
        stage.add (behind);
        const juce::String editable = c.editable != nullptr ? " editable=\"" + juce::String (c.editable) + "\"" : "";
        auto& input = makeInput (R"(<TextInput name="Kick")" + editable + R"(><pos left="10" top="10"/><size width="100" height="20"/></TextInput>)");

        time += 1000; // no double click across cases
        auto click = [this] {
            auto& peer = *stage.root.getPeer();
            peer.handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { 50.0f, 20.0f }, juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, ++time);
            peer.handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { 50.0f, 20.0f }, {}, 1.0f, 0.0f, ++time);
        };
        click();
        EXPECT_EQ (input.isEditorShowing(), c.afterClick) << (c.editable != nullptr ? c.editable : "(absent)");
        click();
        EXPECT_EQ (input.isEditorShowing(), c.afterDoubleClick) << (c.editable != nullptr ? c.editable : "(absent)");
        EXPECT_EQ (behind.presses, c.pressesBehind);
        inputs.clear();
    }
}

TEST_F (TextInputTest, TheEditorOpensOverTheInputWithTheTextSelected)
{
    auto& input = makeInput (R"(<TextInput name="Kick" textColour="FF112233" backgroundColour="FF445566">
        <font name="Nowhere Sans" height="16" style="bold"/><pos left="10" top="10"/><size width="100" height="24"/></TextInput>)");
    EXPECT_EQ (input.getFont().getTypefacePtr(), toolkit::getEmbeddedTypeface (true)) << "any name: the toolkit's family";
    EXPECT_EQ (input.getEditor(), nullptr) << "made on the first edit";
    input.showEditor();

    auto& editor = *input.getEditor();
    EXPECT_TRUE (editor.isVisible());
    EXPECT_EQ (editor.getBounds(), input.getLocalBounds());
    EXPECT_EQ (editor.getHighlightedText(), "Kick");
    EXPECT_EQ (editor.findColour (juce::TextEditor::textColourId), juce::Colour (0xFF112233));
    EXPECT_TRUE (editor.findColour (juce::TextEditor::backgroundColourId).isTransparent()) << "the input's field shows through";
    EXPECT_EQ (editor.getTopIndent(), 4) << "the text centred as the input writes it";

    input.setText ("Snare");
    EXPECT_EQ (editor.getText(), "Snare") << "a text that arrives meanwhile reaches the open editor";
}

TEST_F (TextInputTest, ACommitWritesTheBoundParameterAndShowsWhatItKept)
{
    const struct
    {
        const char* typed;
        bool commit; // Return; otherwise Escape, then the focus goes
        int value;
        const char* shown;
        std::vector<std::string> told;
    } cases[] = {
        { "12 steps", true, 12, "12", { "value" } },
        { "300", true, 127, "127", { "value" } },
        { "12", false, 0, "0", {} },
        { "0", true, 0, "0", {} },
    };

    for (const auto& c : cases)
    {
        skin.parameter ("Pattern").setInt (0, false);
        auto& input = makeInput (R"(<TextInput name="Pattern"><links><link as="connectedTo" param="Pattern"/></links>
            <size width="100" height="20"/></TextInput>)");
        ControllerLog log;
        input.addListener (&log);
        ASSERT_EQ (input.getText(), "0");

        input.showEditor();
        auto& editor = *input.getEditor();
        editor.focusGained (juce::Component::focusChangedDirectly);
        type (input, c.typed);
        EXPECT_EQ (input.getText(), c.typed) << "the input follows the editor";

        if (c.commit)
        {
            editor.textEditorReturnKeyPressed (editor);
        }
        else
        {
            editor.textEditorEscapeKeyPressed (editor);
            editor.focusLost (juce::Component::focusChangedByMouseClick);
        }

        EXPECT_EQ (skin.parameter ("Pattern").getInt(), c.value) << c.typed;
        EXPECT_EQ (input.getText(), c.shown);
        EXPECT_EQ (log.log, c.told) << c.typed;
        EXPECT_FALSE (input.isEditorShowing());
        EXPECT_EQ (editor.getParentComponent(), &input) << "back from the desktop";
        inputs.clear();
    }
}

TEST_F (TextInputTest, AnUnboundInputTellsItsOwner)
{
    // As a list item that the user renames: the owner listens before the
    // editor exists, and the input keeps the committed text.
    auto& input = makeInput (R"(<TextInput name="Old name" editable="no"><size width="100" height="20"/></TextInput>)");
    Recorder owner;
    input.addModalListener (&owner);

    input.showEditor();
    input.getEditor()->focusGained (juce::Component::focusChangedDirectly);
    type (input, "New name");
    input.getEditor()->focusLost (juce::Component::focusChangedByMouseClick);

    EXPECT_EQ (owner.seen, (std::vector<std::string> { "committed New name", "closed" }));
    EXPECT_EQ (input.getText(), "New name");

    input.removeModalListener (&owner);
    input.showEditor();
    input.getEditor()->textEditorReturnKeyPressed (*input.getEditor());
    EXPECT_EQ (owner.seen.size(), 2u);
}

TEST_F (TextInputTest, PaintsItsFieldItsOutlineAndItsText)
{
    const struct
    {
        const char* colours;
        bool editing;
        juce::uint32 inside, edge; // at (90, 10) and at (90, 0)
        bool textShown;
    } cases[] = {
        { "", false, 0xFFE3E3E3, 0xFFFFFFFF, true },
        { R"(backgroundColour="0" outlineColour="FFFF0000")", false, 0, 0xFFFF0000, true },
        { R"(backgroundColour="0" outlineColour="0")", false, 0, 0, true },
        { R"(backgroundColour="FF0000FF" outlineColour="0")", false, 0xFF0000FF, 0xFF0000FF, true },
        { R"(focusedOutlineColour="FF00FF00")", true, 0xFFE3E3E3, 0xFF00FF00, false },
    };

    for (const auto& c : cases)
    {
        auto& input = makeInput (juce::String (R"(<TextInput name="Kick Drum" )") + c.colours
                                 + R"(><size width="100" height="20"/></TextInput>)");
        if (c.editing)
            input.showEditor();

        const auto image = paintAlone (input);
        EXPECT_EQ (image.getPixelAt (90, 10).getARGB(), c.inside) << c.colours;
        EXPECT_EQ (image.getPixelAt (90, 0).getARGB(), c.edge) << c.colours;

        int textPixels = 0;
        for (int y = 4; y < 16; ++y)
            for (int x = 0; x < 60; ++x)
                textPixels += image.getPixelAt (x, y).getBrightness() < 0.3f && image.getPixelAt (x, y).getAlpha() > 0 ? 1 : 0;
        EXPECT_EQ (textPixels > 20, c.textShown) << c.colours << ": " << textPixels;
        inputs.clear();
    }
}

// An empty text draws the field alone; one far too long is cut where the
// field's text ends, its indent kept clear.
TEST_F (TextInputTest, AnEmptyOrOversizedTextStaysInsideItsField)
{
    const auto darkPixels = [] (const juce::Image& image, int fromX, int toX)
    {
        int dark = 0;
        for (int y = 4; y < 16; ++y)
            for (int x = fromX; x < toX; ++x)
                dark += image.getPixelAt (x, y).getBrightness() < 0.3f ? 1 : 0;
        return dark;
    };

    auto& input = makeInput (R"(<TextInput name=""><size width="100" height="20"/></TextInput>)");
    input.setIndent (10);
    EXPECT_EQ (darkPixels (paintAlone (input), 0, 100), 0);

    input.setText (juce::String::repeatedString ("W", 5000));
    const auto image = paintAlone (input);
    EXPECT_GT (darkPixels (image, 10, 90), 100);
    EXPECT_EQ (darkPixels (image, 91, 100), 0);
}
