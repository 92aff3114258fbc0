// The preset browser in a real X server, used as a person uses it: the X
// server's own pointer and keyboard (through XTest) drag presets and groups,
// double-click a preset to rename it, turn the mouse wheel and type.
//
// ctest runs it under its own Xvfb (run-under-xvfb.sh); without Xvfb, or
// without a display, it is skipped (exit code 77).
#include "PresetBrowserTestSupport.h"

// After everything else: Xlib's macros clash with names in other headers.
#include "support/XServerTests.h"
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace
{
// Our own connection to the server.
Display*& server = testing_support::xServer();
using testing_support::runUntil;

// What the process has made of the pointer so far: the last position and
// button state JUCE delivered to any component.
struct PointerSeen : juce::MouseListener
{
    void mouseEnter (const juce::MouseEvent& e) override { at = e.getScreenPosition(); } // from another window, no move
    void mouseMove (const juce::MouseEvent& e) override { at = e.getScreenPosition(); }
    void mouseDrag (const juce::MouseEvent& e) override { at = e.getScreenPosition(); }
    void mouseDown (const juce::MouseEvent& e) override { at = e.getScreenPosition(), down = true; }
    void mouseUp (const juce::MouseEvent& e) override { at = e.getScreenPosition(), down = false; }

    juce::Point<int> at { -1, -1 };
    bool down = false;
};

class PresetBrowserMouse : public PresetBrowserTest
{
protected:
    using ListColumn = ColumnBrowser::ListColumn;

    void SetUp() override
    {
        if (server == nullptr)
            GTEST_SKIP() << "no X display";
        juce::Desktop::getInstance().addGlobalMouseListener (&seen);
    }

    void TearDown() override
    {
        // Even after a failure, nothing of a drag outlives the test: its
        // picture's fading window would be closed after the display is.
        if (seen.down)
            button (1, false);
        if (window != nullptr)
            endDrag();
        juce::Desktop::getInstance().removeGlobalMouseListener (&seen);
    }

    // The window, as the editor shows it, on the screen.
    void openOnScreen()
    {
        open();
        desktop.setTopLeftPosition (0, 0);
        desktop.addToDesktop (0);
        desktop.setVisible (true);
        ASSERT_TRUE (runUntil ([this] {
            auto* peer = desktop.getPeer();
            XWindowAttributes attributes {};
            return peer != nullptr && XGetWindowAttributes (server, (Window) peer->getNativeHandle(), &attributes) != 0
                   && attributes.map_state == IsViewable;
        })) << "the window never showed";
    }

    // A point on the screen: x in the column's list, y a pixel of a row
    // (row -1: below the last row).
    static juce::Point<int> onRow (ListColumn& column, int row, int pixel)
    {
        auto& list = column.getList();
        const int y = row >= 0 ? list.getRowPosition (row, true).getY() + pixel : list.getHeight() - 20;
        return list.localPointToGlobal (juce::Point<int> (60, y));
    }

    void moveTo (juce::Point<int> at)
    {
        XTestFakeMotionEvent (server, -1, at.x, at.y, CurrentTime);
        ASSERT_TRUE (runUntil ([&] { return seen.at == at; })) << "the pointer never reached " << at.toString() << ", last seen at " << seen.at.toString();
    }

    void button (unsigned int number, bool press)
    {
        XTestFakeButtonEvent (server, number, press ? True : False, CurrentTime);
        XSync (server, False);
    }

    void pressAt (juce::Point<int> at)
    {
        moveTo (at);
        button (1, true);
        ASSERT_TRUE (runUntil ([this] { return seen.down; }));
    }

    void release()
    {
        button (1, false);
        ASSERT_TRUE (runUntil ([this] { return ! seen.down; }));
    }

    void clickAt (juce::Point<int> at)
    {
        pressAt (at);
        release();
    }

    // Presses a row of the source column, drags it to a pixel of a row of
    // the target column and lets go. Each step waits until the process has
    // seen it; the drag ends once its picture is gone.
    void drag (ListColumn& source, int pressedRow, ListColumn& target, int row, int pixel)
    {
        const auto from = onRow (source, pressedRow, 10);
        pressAt (from);
        moveTo (from + juce::Point<int> (8, 0)); // the drag begins
        ASSERT_TRUE (runUntil ([this] { return browser().isDragAndDropActive(); })) << "no drag began";
        moveTo (onRow (target, row, pixel) + juce::Point<int> (1, 0));
        moveTo (onRow (target, row, pixel));
        release();
        endDrag();
    }

    // Waits until the drag's picture has faded and gone.
    void endDrag()
    {
        ASSERT_TRUE (runUntil ([this] {
            return ! browser().isDragAndDropActive() && ! juce::Desktop::getInstance().getAnimator().isAnimating();
        })) << "the drag never ended";
        testing_support::runPendingMessages();
    }

    // Keys pressed and released where the server's keyboard focus is; back
    // once the process has handled them.
    void type (const std::string& keys)
    {
        for (const char key : keys)
        {
            const auto code = XKeysymToKeycode (server, key == '\n' ? XK_Return : XStringToKeysym (std::string (1, key).c_str()));
            XTestFakeKeyEvent (server, code, True, CurrentTime);
            XTestFakeKeyEvent (server, code, False, CurrentTime);
        }
        settle();
    }

    // Waits until the process has handled every event sent before: the
    // server delivers them in order, so once a nudge of the pointer is seen.
    void settle() { moveTo (seen.at + juce::Point<int> (seen.at.x % 2 == 0 ? 1 : -1, 0)); }

    // Double-clicks a row of the preset column, which opens its name for
    // editing; the editor, once it has the keyboard focus.
    ModalTextEditor& startRenaming (int row)
    {
        clickAt (onRow (presets(), row, 10));
        clickAt (onRow (presets(), row, 10));
        const auto focused = [] { return dynamic_cast<ModalTextEditor*> (juce::Component::getCurrentlyFocusedComponent()); };
        EXPECT_TRUE (runUntil ([&] { return focused() != nullptr; })) << "no rename began";
        return toolkit_test::ref (focused());
    }

    // Types into the rename's editor.
    void typeInto (ModalTextEditor& editor, const std::string& text)
    {
        type (text);
        EXPECT_EQ (editor.getText(), juce::String (text));
    }

    PointerSeen seen;
};

// The presets renamed from one list of the bank's names to the other, as "old -> new".
std::vector<std::string> renamed (const std::vector<juce::String>& before, const std::vector<juce::String>& after)
{
    std::vector<std::string> changes;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i])
            changes.push_back ((before[i] + " -> " + after[i]).toStdString());
    return changes;
}

// Where each preset's record stands: "group/row", in bank order of the names.
std::vector<juce::String> placesOf (BasePluginOldStyle& bank, const std::vector<juce::String>& names)
{
    std::vector<juce::String> places;
    for (const auto& name : names)
        for (int g = 0; g < bank.getNumGroups(); ++g)
            for (int k = 0; k < bank.getGroupSize (g); ++k)
                if (bank.getPresetNameInGroup (g, k) == name)
                    places.push_back (juce::String (g) + "/" + juce::String (k));
    return places;
}

// Each group as "name size".
std::vector<juce::String> groupsOf (BasePluginOldStyle& bank)
{
    std::vector<juce::String> groups;
    for (int g = 0; g < bank.getNumGroups(); ++g)
        groups.push_back (bank.getGroupName (g) + " " + juce::String (bank.getGroupSize (g)));
    return groups;
}
} // namespace

// The bank has three groups: the factory's first (15 presets), an empty one
// and "Not used" (113). Presets of the first group are selected and dragged
// from the first of them; a group is pressed and dragged.
TEST_F (PresetBrowserMouse, DropsPutPresetsAndGroupsWhereTheyAreLetGo)
{
    struct Case
    {
        const char* what;
        std::vector<int> presets; // rows of the first group dragged; empty: the group column drags group `pressed`
        int pressed;
        bool ontoGroups;           // let go over the group column, else over the preset column
        int row, pixel;            // where
        std::vector<juce::String> groups, places; // afterwards: the groups, and where the dragged presets stand
    };
    const Case cases[] = {
        { "three presets 2 pixels into the empty group's row", { 1, 2, 3 }, 0, true, 1, 2,
          { "First 12", "New Group 3", "Not used 113" }, { "1/0", "1/1", "1/2" } },
        { "three presets 2 pixels above the end of the last group's row", { 1, 2, 3 }, 0, true, 2, 17,
          { "First 12", "New Group 0", "Not used 116" }, { "2/113", "2/114", "2/115" } },
        { "one preset into another group", { 4 }, 0, true, 2, 10, { "First 14", "New Group 0", "Not used 114" }, { "2/113" } },
        { "a preset on its own top edge", { 5 }, 0, false, 5, 2, { "First 15", "New Group 0", "Not used 113" }, { "0/5" } },
        { "a preset on its own bottom edge", { 5 }, 0, false, 5, 17, { "First 15", "New Group 0", "Not used 113" }, { "0/5" } },
        { "a preset before the next but one", { 5 }, 0, false, 7, 2, { "First 15", "New Group 0", "Not used 113" }, { "0/6" } },
        { "the last group before the first", {}, 2, true, 0, 2, { "Not used 113", "First 15", "New Group 0" }, {} },
        { "the first group after the last", {}, 0, true, 2, 17, { "New Group 0", "Not used 113", "First 15" }, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        product = makeProduct();
        product->setGroupName (0, "First");
        product->addGroup (1);
        openOnScreen();

        std::vector<juce::String> names;
        juce::SparseSet<int> rows;
        for (const int row : c.presets)
        {
            names.push_back (product->getPresetNameInGroup (0, row));
            rows.addRange ({ row, row + 1 });
        }
        presets().getList().setSelectedRows (rows, juce::dontSendNotification);

        auto& source = c.presets.empty() ? static_cast<ListColumn&> (groups()) : presets();
        auto& target = c.ontoGroups ? static_cast<ListColumn&> (groups()) : presets();
        drag (source, c.presets.empty() ? c.pressed : c.presets.front(), target, c.row, c.pixel);

        EXPECT_EQ (groupsOf (*product), c.groups);
        EXPECT_EQ (placesOf (*product, names), c.places);
        window.reset();
    }
}

// Presets dragged over a group that the drag rests on: the group opens, and
// the presets let go in its column (not on a row) go into it.
TEST_F (PresetBrowserMouse, PresetsLetGoInAnOpenedGroupsColumnGoIntoIt)
{
    product->addGroup (1);
    openOnScreen();
    const std::vector<juce::String> names { product->getPresetNameInGroup (0, 1), product->getPresetNameInGroup (0, 2) };
    juce::SparseSet<int> rows;
    rows.addRange ({ 1, 3 });
    presets().getList().setSelectedRows (rows, juce::dontSendNotification);

    const auto from = onRow (presets(), 1, 10);
    pressAt (from);
    moveTo (from + juce::Point<int> (8, 0));
    moveTo (onRow (groups(), 1, 10));
    ASSERT_TRUE (runUntil ([this] { return presets().getGroup() == 1; })) << "the group never opened";
    moveTo (onRow (presets(), -1, 0));
    ASSERT_EQ (presets().getDropMode(), ColumnBrowser::ListColumn::DropMode::onColumn);
    release();
    endDrag();

    EXPECT_EQ (groupsOf (*product)[1], "New Group 2");
    EXPECT_EQ (placesOf (*product, names), (std::vector<juce::String> { "1/0", "1/1" }));
}

// A rename begun on a preset and the list then scrolled by the wheel: the
// rename ends on that preset, with what was typed before the scroll; what is
// typed after it renames nothing. No other preset is renamed.
TEST_F (PresetBrowserMouse, ARenameEndsOnItsPresetWhenTheListScrolls)
{
    const struct
    {
        const char* what;
        std::string before, after; // typed before and after the scroll (then Return)
        std::vector<std::string> renamed;
    } cases[] = {
        { "typed before", "renamed", "", { "Preset 17 -> renamed" } },
        { "typed after", "", "renamed", {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        product = makeProduct();
        product->setCurrentPreset (15, true); // the first of "Not used", "Preset 15"
        openOnScreen();
        const auto namesBefore = bankOrder (*product);

        auto& editor = startRenaming (2);
        if (! c.before.empty())
            typeInto (editor, c.before);

        // The wheel over the list, until it has scrolled ten rows.
        moveTo (onRow (presets(), 6, 10));
        auto& view = toolkit_test::ref (presets().getList().getViewport());
        while (view.getViewPositionY() < 10 * ColumnBrowser::ListColumn::List::rowHeight)
        {
            const int top = view.getViewPositionY();
            button (5, true); // towards the user
            button (5, false);
            ASSERT_TRUE (runUntil ([&] { return view.getViewPositionY() > top; })) << "the wheel scrolls no further";
        }

        type (c.after + "\n");
        testing_support::runPendingMessages();
        EXPECT_EQ (renamed (namesBefore, bankOrder (*product)), c.renamed);
        window.reset();
    }
}

// The current preset changes while a preset is renamed (a host's program
// change): the browser follows, and the typed name is kept and committed.
TEST_F (PresetBrowserMouse, ARenameKeepsItsTextWhenTheCurrentPresetChanges)
{
    openOnScreen();
    auto& editor = startRenaming (3);
    typeInto (editor, "renamed");

    product->selectNextPreset();
    testing_support::runPendingMessages();
    ASSERT_EQ (selected (presets()), std::vector<int> { 4 }) << "the browser follows the current preset";
    EXPECT_EQ (editor.getText(), "renamed");

    type ("\n");
    testing_support::runPendingMessages();
    EXPECT_EQ (product->getPresetName (3), "renamed");
}

int main (int argc, char** argv)
{
    return testing_support::runTestsOnXServer (argc, argv);
}
