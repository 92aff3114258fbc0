// The text widgets in a real X server: an editor with a name display, a
// read-only one and a text input, inside a window of its host's, clicked and
// typed into through X events sent to the server, so that the keyboard focus
// is the server's own; a window that Escape closes, shown over them, and a
// menu opened from it; the in-place editor floating over its field; a file
// dialog asked for by one of them; and the image keyboard's keys under the
// mouse, which JUCE finds only in a window.
//
// ctest runs it under its own Xvfb (run-under-xvfb.sh); without Xvfb, or
// without a display, it is skipped (exit code 77).
#include "framework/core/StringParameter.h"
#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/menus/PopupMenuComponent.h"
#include "toolkit/skin/GFXDisplay.h"
#include "toolkit/skin/ImageMidiKeyboard.h"
#include "toolkit/skin/TextInput.h"
#include "toolkit/widgets/FileDialogs.h"
#include "toolkit/windows/WindowComponent.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// After everything else: Xlib's macros clash with names in other headers.
#include "support/XServerTests.h"
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace
{
// Our own connection to the server.
Display*& server = testing_support::xServer();
using testing_support::runUntil;

Window windowOf (juce::Component& component)
{
    return reinterpret_cast<Window> (juce::ComponentPeer::getPeerFor (component.getTopLevelComponent())->getNativeHandle());
}

// A left click at a point of the component (its centre unless given), as
// the server delivers it.
void click (juce::Component& component, std::optional<juce::Point<int>> point = {})
{
    const auto at = component.getTopLevelComponent()->getLocalPoint (&component, point.value_or (component.getLocalBounds().getCentre()));
    XButtonEvent event {};
    event.display = server;
    event.window = windowOf (component);
    event.root = DefaultRootWindow (server);
    event.time = CurrentTime;
    event.x = at.x;
    event.y = at.y;
    event.button = Button1;
    event.same_screen = True;

    event.type = ButtonPress;
    XSendEvent (server, event.window, True, ButtonPressMask, reinterpret_cast<XEvent*> (&event));
    event.type = ButtonRelease;
    event.state = Button1Mask;
    XSendEvent (server, event.window, True, ButtonReleaseMask, reinterpret_cast<XEvent*> (&event));
    XFlush (server);
}

// Keys pressed and released in the window that holds the server's focus.
void typeKeys (std::initializer_list<KeySym> keys)
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus (server, &focus, &revert);
    for (const auto key : keys)
    {
        XKeyEvent event {};
        event.display = server;
        event.window = focus;
        event.root = DefaultRootWindow (server);
        event.time = CurrentTime;
        event.keycode = XKeysymToKeycode (server, key);
        event.same_screen = True;

        event.type = KeyPress;
        XSendEvent (server, focus, True, KeyPressMask, reinterpret_cast<XEvent*> (&event));
        event.type = KeyRelease;
        XSendEvent (server, focus, True, KeyReleaseMask, reinterpret_cast<XEvent*> (&event));
    }
    XFlush (server);
}

// The colours of a window of ours as the server shows it, 0xRRGGBB, counted.
std::map<unsigned long, int> coloursOf (juce::Component& component)
{
    const auto window = windowOf (component);
    XWindowAttributes attributes {};
    XGetWindowAttributes (server, window, &attributes);
    std::map<unsigned long, int> colours;
    XImage* image = XGetImage (server, window, 0, 0, (unsigned) attributes.width, (unsigned) attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr)
        return colours;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            ++colours[XGetPixel (image, x, y) & 0xFFFFFF];
    XDestroyImage (image);
    return colours;
}

// A window that Escape closes, over a Desktop that covers the host's window.
struct EscapeWindow
{
    explicit EscapeWindow (juce::Component& host)
    {
        desktop.setBounds (host.getLocalBounds());
        host.addAndMakeVisible (desktop);
        window.setClosedByEscape (true);
        window.setSize (250, 120);
        desktop.addChildComponent (window);
    }

    struct Desktop : juce::Component, ModalComponent::Desktop
    {
        juce::Rectangle<int> getModalArea() override { return getLocalBounds(); }
    } desktop;
    WindowComponent window;
};

struct Edits : GFXDisplayListener
{
    void displayTextEdited (GFXDisplay* display) override { texts.add (display->getText()); }
    juce::StringArray texts;
};

class KeyboardFocus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (server == nullptr)
            GTEST_SKIP() << "no X display";

        const int screen = DefaultScreen (server);
        hostWindow = XCreateSimpleWindow (server, RootWindow (server, screen), 50, 50, 400, 120, 0, BlackPixel (server, screen),
                                          WhitePixel (server, screen));
        XMapWindow (server, hostWindow);
        XSync (server, False);

        window.setBounds (0, 0, 400, 120);
        for (auto* display : { &nameDisplay, &readOnlyDisplay })
        {
            // A font without glyphs: the display writes its text itself.
            display->setBounds (10, display == &nameDisplay ? 10 : 40, 150, 20);
            window.addAndMakeVisible (*display);
        }
        readOnlyDisplay.setEnabled (false);
        nameDisplay.setText ("Kick");
        nameDisplay.addDisplayListener (&edits);

        input.setBounds (200, 10, 150, 20);
        input.bindParameter (&name);
        input.refreshFromParameter();
        window.addAndMakeVisible (input);

        window.addToDesktop (0, reinterpret_cast<void*> (hostWindow));
        window.setVisible (true);
        ASSERT_TRUE (runUntil ([this] {
            XWindowAttributes attributes {};
            return XGetWindowAttributes (server, windowOf (window), &attributes) != 0 && attributes.map_state == IsViewable;
        })) << "the window never showed";
    }

    void TearDown() override
    {
        if (server == nullptr)
            return;

        window.removeFromDesktop();
        XDestroyWindow (server, hostWindow);
        XSync (server, False);
    }

    Window hostWindow = 0;
    juce::Component window;
    GFXDisplay nameDisplay { "name" }, readOnlyDisplay { "read-only" };
    Edits edits;
    StringParameter name { 0, "Name", "Snare" };
    TextInput input { "input" };
};
} // namespace

TEST_F (KeyboardFocus, AClickedDisplayTakesTheKeysUntilReturnAReadOnlyOneNone)
{
    struct Presses : juce::MouseListener
    {
        void mouseDown (const juce::MouseEvent&) override { ++count; }
        int count = 0;
    } presses;
    readOnlyDisplay.addMouseListener (&presses, false);
    click (readOnlyDisplay);
    ASSERT_TRUE (runUntil ([&presses] { return presses.count == 1; }));
    EXPECT_FALSE (readOnlyDisplay.hasKeyboardFocus (false));
    EXPECT_FALSE (readOnlyDisplay.isEditing());
    readOnlyDisplay.removeMouseListener (&presses);

    click (nameDisplay);
    ASSERT_TRUE (runUntil ([this] { return nameDisplay.hasKeyboardFocus (false); }));
    EXPECT_TRUE (nameDisplay.isEditing());

    typeKeys ({ XK_End, XK_2, XK_Return });
    ASSERT_TRUE (runUntil ([this] { return ! nameDisplay.isEditing(); }));
    EXPECT_EQ (nameDisplay.getText(), "Kick2");
    EXPECT_EQ (edits.texts, juce::StringArray ("Kick2"));
    EXPECT_FALSE (nameDisplay.hasKeyboardFocus (false));
}

TEST_F (KeyboardFocus, AClickedTextInputsEditorTakesTheKeysAndCommits)
{
    click (input);
    ASSERT_TRUE (runUntil ([this] { return input.getEditor() != nullptr && input.getEditor()->hasKeyboardFocus (false); }));

    typeKeys ({ XK_t, XK_o, XK_m, XK_Return });
    ASSERT_TRUE (runUntil ([this] { return ! input.isEditorShowing(); }));
    EXPECT_EQ (name.toString(), "tom") << "the whole text was selected, so typing replaced it";
    EXPECT_EQ (input.getText(), "tom");
}

// A window that Escape closes, over a button that would take the keyboard:
// shown, the window holds the keys; Escape hides it, and the focus leaves
// with it instead of passing to the button, which the next Return would click.
TEST_F (KeyboardFocus, EscapeClosesAWindowAndTheFocusLeavesWithIt)
{
    EscapeWindow modal (window);
    auto& closedByEscape = modal.window;
    juce::TextButton beneath ("beneath");
    beneath.setBounds (10, 70, 80, 20);
    modal.desktop.addAndMakeVisible (beneath);

    closedByEscape.show();
    ASSERT_TRUE (runUntil ([&closedByEscape] { return closedByEscape.hasKeyboardFocus (true); }));

    typeKeys ({ XK_Escape });
    ASSERT_TRUE (runUntil ([&closedByEscape] { return ! closedByEscape.isVisible(); }));
    EXPECT_EQ (juce::Component::getCurrentlyFocusedComponent(), nullptr);
}

// A menu opened from a window that Escape closes takes the keys while it is
// open, and gives them back to the window when it closes, by Escape or by a
// choice: the next Escape closes the window.
TEST_F (KeyboardFocus, EscapeClosesAWindowAgainOnceAMenuOpenedFromItHasClosed)
{
    EscapeWindow modal (window);
    auto& options = modal.window;

    for (const bool byEscape : { true, false })
    {
        SCOPED_TRACE (byEscape ? "menu closed by Escape" : "item chosen");
        options.show();
        ASSERT_TRUE (runUntil ([&options] { return options.hasKeyboardFocus (true); }));
        PopupMenuEx menu;
        menu.addItem (1, "Bass Drum 1");
        menu.show (&options, { 10, 40, 100, 20 });
        ASSERT_TRUE (runUntil ([&menu] { return menu.isShown() && menu.getMenuComponent()->hasKeyboardFocus (true); }));

        if (byEscape)
            typeKeys ({ XK_Escape });
        else
            click (*menu.getMenuComponent()->getChildComponent (0), juce::Point<int> (20, 12));
        ASSERT_TRUE (runUntil ([&menu] { return ! menu.isShown(); }));

        typeKeys ({ XK_Escape });
        EXPECT_TRUE (runUntil ([&options] { return ! options.isVisible(); }));
    }
}

// The in-place editor floats over its field as a window of its own, and
// looks there as it does in place: a text input's field beneath its text, a
// plain editor in its parent's look (a window of its own would have JUCE's
// default look, and show no field at all: black).
TEST_F (KeyboardFocus, AFloatingEditorShowsItsTextOnItsFieldsColour)
{
    DefaultLookAndFeel look;
    juce::Component page;
    page.setLookAndFeel (&look);
    page.setBounds (10, 70, 380, 40);
    window.addAndMakeVisible (page);
    ModalTextEditor plain ("author");
    plain.setBounds (0, 10, 150, 20);
    page.addAndMakeVisible (plain);
    const auto pageField = plain.findColour (juce::TextEditor::backgroundColourId).getARGB() & 0xFFFFFF;

    const struct
    {
        const char* what;
        juce::Component& clicked;
        std::function<ModalTextEditor*()> editor;
        unsigned long field;
    } cases[] = {
        { "text input", input, [this] { return input.getEditor(); }, 0xE3E3E3 },
        { "plain editor", plain, [&plain] { return &plain; }, pageField },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        click (c.clicked);
        ASSERT_TRUE (runUntil ([&c] { return c.editor() != nullptr && c.editor()->isOnDesktop() && c.editor()->hasKeyboardFocus (false); }));
        auto* editor = c.editor();
        typeKeys ({ XK_w, XK_w, XK_w, XK_w });
        ASSERT_TRUE (runUntil ([editor] { return editor->getText() == "wwww"; }));
        testing_support::runMessagesFor (50); // painted

        const auto colours = coloursOf (*editor);
        int pixels = 0, dark = 0;
        for (const auto& [colour, count] : colours)
        {
            pixels += count;
            dark += ((colour >> 16) + (colour >> 8 & 0xFF) + (colour & 0xFF)) < 0x60 ? count : 0;
        }
        EXPECT_GT (colours.count (c.field) != 0 ? colours.at (c.field) : 0, pixels / 2) << "the field's colour beneath the text";
        EXPECT_GT (dark, 20) << "the text, black";
        EXPECT_LT (dark, pixels / 4);
        typeKeys ({ XK_Return });
        ASSERT_TRUE (runUntil ([editor] { return ! editor->isOnDesktop(); }));
    }
    page.setLookAndFeel (nullptr);
}

// A file dialog asked for by a control of the editor is a window of its own,
// transient for the host's window holding the editor, so that the window
// manager keeps it above the host; cancelled, it answers nothing.
TEST_F (KeyboardFocus, AFileDialogIsTransientForTheHostsWindow)
{
    std::optional<std::optional<juce::File>> answer;
    FileDialogs::save (nameDisplay, "Save pattern", juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("Kick.xrptr"),
                       "*.xrptr", [&answer] (const std::optional<juce::File>& chosen) { answer = chosen; });
    auto* dialog = juce::Component::getCurrentlyModalComponent();
    ASSERT_NE (dialog, nullptr);
    ASSERT_NE (dialog->getPeer(), nullptr) << "a window of its own";
    const auto dialogWindow = reinterpret_cast<Window> (dialog->getPeer()->getNativeHandle());
    ASSERT_TRUE (runUntil ([dialogWindow] {
        XWindowAttributes attributes {};
        return XGetWindowAttributes (server, dialogWindow, &attributes) != 0 && attributes.map_state == IsViewable;
    }));

    Window transientFor = 0;
    EXPECT_NE (XGetTransientForHint (server, dialogWindow, &transientFor), 0);
    EXPECT_EQ (transientFor, hostWindow);

    dialog->exitModalState (0);
    ASSERT_TRUE (runUntil ([&answer] { return answer.has_value(); }));
    EXPECT_EQ (*answer, std::nullopt);
}

// A keyboard whose first key is pictured 10 pixels in from its edge, the
// second 25: a press on a picture plays that picture's key, a press before
// the first plays nothing.
TEST_F (KeyboardFocus, AKeyPictureIsPlayedWhereItIsDrawn)
{
    widget_testing::TestSkin skin;
    skin.images["key.png"] = widget_testing::makeFrameStrip (2, 10, 60);
    juce::MidiKeyboardState state;
    ImageMidiKeyboard keyboard ("Keys", &state);
    window.addAndMakeVisible (keyboard);
    EXPECT_TRUE (widget_testing::loadControl (keyboard, R"(<MidiKeyboard firstKey="60" lastKey="61"><size width="40" height="60"/>
        <pos left="200" top="40"/><Keys><Key><gfx resource="key.png" framesNum="2"/><pos left="210" top="40"/></Key>
        <Key><gfx resource="key.png" framesNum="2"/><pos left="225" top="40"/></Key></Keys></MidiKeyboard>)", skin).isEmpty());

    struct Played : juce::MidiKeyboardState::Listener
    {
        void handleNoteOn (juce::MidiKeyboardState*, int, int note, float) override { notes.push_back (note); }
        void handleNoteOff (juce::MidiKeyboardState*, int, int, float) override {}
        std::vector<int> notes;
    } played;
    state.addListener (&played);
    for (const int x : { 5, 12, 27 })
        click (keyboard, juce::Point<int> (x, 30));
    EXPECT_TRUE (runUntil ([&played] { return played.notes.size() >= 2; }));
    EXPECT_EQ (played.notes, (std::vector<int> { 60, 61 }));
    state.removeListener (&played);
}

int main (int argc, char** argv)
{
    return testing_support::runTestsOnXServer (argc, argv);
}
