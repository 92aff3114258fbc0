#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/menus/PopupMenuComponent.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using toolkit_test::TestDesktop;
using toolkit_test::ref;

namespace
{
struct Answers : PopupMenuEx::Listener
{
    void popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool wasTicked) override
    {
        chosen.push_back ({ itemId, wasTicked });
        if (onAnswer)
            onAnswer (menu);
    }

    void popupMenuDismissed (PopupMenuEx* menu) override
    {
        ++dismissed;
        if (onAnswer)
            onAnswer (menu);
    }

    std::vector<std::pair<int, bool>> chosen;
    int dismissed = 0;
    std::function<void (PopupMenuEx*)> onAnswer;
};

// Patterns 1-3 at the top, banks in a submenu with its own submenu.
PopupMenuEx makePatternMenu()
{
    PopupMenuEx deepest;
    deepest.addItem (31, "Bank C pattern 1");
    deepest.addItem (32, "Bank C pattern 2");

    PopupMenuEx banks;
    banks.addItem (21, "Bank A");
    banks.addItem (22, "Bank B");
    banks.addSubmenu (23, "Bank C", deepest);

    PopupMenuEx menu;
    menu.addItem (1, "Pattern 1");
    menu.addItem (2, "Pattern 2");
    menu.addItem (3, "Pattern 3");
    menu.addSubmenu (4, "Banks", banks);
    return menu;
}

juce::MouseEvent mouseAt (juce::Component& component, int x, int y)
{
    const auto position = juce::Point<int> (x, y).toFloat();
    return widget_testing::mouseAt (component, position, position);
}

int rowCentre (int row) { return PopupMenuEx::rowsTop + row * PopupMenuEx::rowHeight + PopupMenuEx::rowHeight / 2; }

struct ShownMenu
{
    explicit ShownMenu (PopupMenuEx model, juce::Rectangle<int> target = { 10, 20, 80, 20 }, int placement = PopupMenuEx::placeBelow)
        : menu (std::move (model))
    {
        desktop.addAndMakeVisible (button);
        button.setBounds (target);
        menu.addListener (&answers);
        menu.show (&desktop, target, placement);
    }

    PopupMenuEx::PopupMenuComponent& component() { return ref (menu.getMenuComponent()); }
    PopupMenuEx::Window& window (int index) { return ref (component().getWindow (index)); }

    void click (int windowIndex, int row) { window (windowIndex).mouseDown (mouseAt (window (windowIndex), 20, rowCentre (row))); }
    void hover (int windowIndex, int row) { window (windowIndex).mouseMove (mouseAt (window (windowIndex), 20, rowCentre (row))); }

    TestDesktop desktop;
    juce::Component button;
    Answers answers;
    PopupMenuEx menu;
};
} // namespace

TEST (PopupMenuEx, FindsDepthFirstAndTicksExclusivelyAtEveryLevel)
{
    auto menu = makePatternMenu();
    menu.addSubmenu (31, "Same id as a deeper item", PopupMenuEx());

    EXPECT_EQ (ref (menu.findItemById (31)).text, "Bank C pattern 1");
    EXPECT_EQ (menu.findItemById (99), nullptr);

    menu.setItemTicked (2, true, false);
    menu.setItemTicked (32, true, true);

    EXPECT_FALSE (ref (menu.findItemById (2)).ticked);
    EXPECT_TRUE (ref (menu.findItemById (32)).ticked);
    EXPECT_TRUE (ref (menu.getItem (3)).containsTicked);            // "Banks"
    EXPECT_TRUE (ref (menu.findItemById (23)).containsTicked);       // "Bank C"
    EXPECT_FALSE (ref (menu.getItem (3)).ticked);                    // items with submenus are never ticked

    ref (ref (menu.findItemById (23)).submenu.get()).setItemEnabled (31, false);
    ref (ref (menu.findItemById (23)).submenu.get()).setItemEnabled (32, false);
    EXPECT_FALSE (ref (menu.findItemById (23)).isShownEnabled());
    EXPECT_TRUE (ref (menu.getItem (3)).isShownEnabled());
}

// An exclusive tick clears the ticks at every submenu level: the menu's own
// answer for an item ticked before says it no longer is.
TEST (PopupMenuEx, AnExclusiveTickClearsTheTicksOfEverySubmenuLevel)
{
    auto model = makePatternMenu();
    model.setItemTicked (21, true, false); // in "Banks"
    model.setItemTicked (31, true, false); // in "Bank C", one level deeper
    model.setItemTicked (2, true, true);

    const struct
    {
        int item, level;
    } deepItems[] = { { 21, 1 }, { 31, 2 } };

    for (const auto& deep : deepItems)
    {
        ShownMenu shown (model);
        shown.hover (0, 3); // opens "Banks"
        shown.component().timerCallback();
        if (deep.level == 2)
        {
            shown.hover (1, 2); // opens "Bank C"
            shown.component().timerCallback();
        }

        shown.click (deep.level, 0);
        testing_support::runPendingMessages();
        EXPECT_EQ (shown.answers.chosen, (std::vector<std::pair<int, bool>> { { deep.item, false } })) << deep.item;
    }
}

TEST (PopupMenuEx, CopiesAreDeepAndIndependent)
{
    const auto original = makePatternMenu();
    PopupMenuEx copy;
    copy.addItem (9, "Old");
    copy = original;
    const auto& same = copy;
    copy = same;

    copy.setItemTicked (31, true, true);

    EXPECT_EQ (copy.getNumItems(), 4);
    EXPECT_FALSE (ref (original.findItemById (31)).ticked);
    EXPECT_TRUE (ref (copy.findItemById (31)).ticked);
    EXPECT_EQ (ref (ref (copy.findItemById (23)).submenu.get()).getLevel(), 2);
    EXPECT_EQ (ref (copy.findItemById (31)).owner, ref (copy.findItemById (23)).submenu.get());
}

TEST (PopupMenuEx, PlacesWindowsInsideTheDesktop)
{
    PopupMenuEx two;
    two.addItem (0, "Load pattern");
    two.addItem (1, "Load pattern bank");
    const int width = juce::roundToInt (toolkit::makeFont (13.0f).getStringWidthFloat ("Load pattern bank")) + 36;
    PopupMenuEx tall;
    tall.addItem (0, "Load pattern bank");
    for (int i = 1; i < 30; ++i)
        tall.addItem (i, "Pattern " + juce::String (i));

    struct Case { PopupMenuEx model; juce::Rectangle<int> target; int placement; juce::Rectangle<int> expected; };
    const Case cases[] = {
        { PopupMenuEx(), { 10, 20, 80, 20 }, PopupMenuEx::placeBelow, { 10, 40, 36, 8 } },     // empty menu
        { two, { 10, 20, 80, 20 }, PopupMenuEx::placeBelow, { 10, 40, width, 40 } },
        { two, { 380, 20, 20, 20 }, PopupMenuEx::placeBelow, { 400 - width, 40, width, 40 } }, // kept inside at the right
        { two, { 10, 270, 80, 20 }, PopupMenuEx::placeBelow, { 10, 290 + 24 - 40, width, 40 } }, // moved up at the bottom
        { two, { 10, 20, 80, 20 }, PopupMenuEx::placeRight, { 90, 20, width, 40 } },
        { two, { 300, 20, 80, 20 }, PopupMenuEx::placeRight, { 300 - width, 20, width, 40 } },  // opens to the left
        { two, { 10, 20, 80, 20 }, 0, { 0, 0, width, 40 } },
        { tall, { 10, 20, 80, 20 }, PopupMenuEx::placeBelow, { 10, 0, width, 30 * 16 + 8 } }, // never above the top
    };

    for (const auto& c : cases)
    {
        ShownMenu shown (c.model, c.target, c.placement);
        ASSERT_EQ (shown.component().getNumWindows(), 1);
        EXPECT_EQ (shown.window (0).getBounds(), c.expected);
    }
}

// Rows are hit where they are drawn, from their first pixel.
TEST (PopupMenuEx, TheRowUnderTheMouseIsTheRowDrawnThere)
{
    ShownMenu shown (makePatternMenu());
    auto& window = shown.window (0);

    EXPECT_EQ (window.getRowAt (PopupMenuEx::rowsTop - 1), -1);
    EXPECT_EQ (window.getRowAt (PopupMenuEx::rowsTop), 0);
    EXPECT_EQ (window.getRowAt (PopupMenuEx::rowsTop + PopupMenuEx::rowHeight), 1);
    EXPECT_EQ (window.getRowAt (PopupMenuEx::rowsTop + 4 * PopupMenuEx::rowHeight), -1); // past the last item
}

TEST (PopupMenuEx, SubmenusOpenAfterTheMouseSettlesAndFlipAtTheRightEdge)
{
    ShownMenu shown (makePatternMenu(), { 320, 20, 80, 20 });
    auto& component = shown.component();

    shown.hover (0, 3); // "Banks"
    EXPECT_EQ (component.getNumWindows(), 1);
    EXPECT_TRUE (component.isTimerRunning());
    component.timerCallback();
    ASSERT_EQ (component.getNumWindows(), 2);
    EXPECT_LT (shown.window (1).getRight(), shown.window (0).getX()); // no room at the right

    shown.hover (1, 2); // "Bank C"
    component.timerCallback();
    EXPECT_EQ (component.getNumWindows(), 3);

    shown.hover (1, 0); // a plain item of "Banks" closes the deeper submenu
    component.timerCallback();
    EXPECT_EQ (component.getNumWindows(), 2);

    shown.hover (0, 0);
    component.timerCallback();
    EXPECT_EQ (component.getNumWindows(), 1);
}

TEST (PopupMenuEx, AChoiceArrivesOnlyFromTheMessageLoop)
{
    auto model = makePatternMenu();
    model.setItemTicked (2, true, true);
    model.setItemEnabled (3, false);
    ShownMenu shown (model);

    shown.click (0, 2); // disabled: nothing, the menu stays
    testing_support::runPendingMessages();
    EXPECT_TRUE (shown.menu.isShown());

    shown.click (0, 1);
    EXPECT_TRUE (shown.answers.chosen.empty());
    shown.component().mouseDown (mouseAt (shown.component(), 399, 299)); // and a click outside

    testing_support::runPendingMessages();
    EXPECT_EQ (shown.answers.chosen, (std::vector<std::pair<int, bool>> { { 2, true } }));
    EXPECT_EQ (shown.answers.dismissed, 0); // the choice wins
    EXPECT_FALSE (shown.menu.isShown());
    EXPECT_EQ (shown.desktop.getNumChildComponents(), 1); // only the button: the cover has gone
}

TEST (PopupMenuEx, AClickOutsideOrEscapeDismisses)
{
    for (const bool escape : { false, true })
    {
        ShownMenu shown (makePatternMenu());

        if (escape)
            EXPECT_TRUE (shown.component().keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
        else
            shown.component().mouseDown (mouseAt (shown.component(), 300, 200));

        EXPECT_EQ (shown.answers.dismissed, 0);
        testing_support::runPendingMessages();
        EXPECT_EQ (shown.answers.dismissed, 1);
        EXPECT_FALSE (shown.menu.isShown());
    }
}

TEST (PopupMenuEx, AListenerMayDeleteTheMenuInItsCallback)
{
    TestDesktop desktop;
    Answers first, second;
    auto menu = std::make_unique<PopupMenuEx> (makePatternMenu());
    menu->addListener (&first);
    menu->addListener (&second); // told first
    second.onAnswer = [&menu] (PopupMenuEx*) { menu.reset(); };
    menu->show (&desktop, {});

    auto& window = ref (ref (menu->getMenuComponent()).getWindow (0));
    window.mouseDown (mouseAt (window, 20, rowCentre (0)));
    testing_support::runPendingMessages();

    EXPECT_EQ (menu, nullptr);
    EXPECT_EQ (second.chosen.size(), 1u);
    EXPECT_TRUE (first.chosen.empty());
}

TEST (PopupMenuEx, DeletedWhileOpenOrChangedWhileOpenIsSafe)
{
    {
        ShownMenu shown (makePatternMenu());
        shown.hover (0, 3);
        shown.component().timerCallback();
        shown.click (0, 0);
        shown.menu = PopupMenuEx(); // the open cascade loses its submenus
        EXPECT_EQ (shown.component().getNumWindows(), 1);
        EXPECT_EQ (shown.window (0).getHeight(), 8);
        EXPECT_EQ (shown.desktop.getNumChildComponents(), 2);
    } // deleted with an answer pending

    testing_support::runPendingMessages();
}

TEST (PopupMenuEx, HighlightsTheRowUnderTheMouse)
{
    ShownMenu shown (makePatternMenu());
    shown.hover (0, 1);
    auto& window = shown.window (0);

    const auto image = toolkit_test::paintOver (window);
    EXPECT_EQ (toolkit_test::pixelAt (image, window.getWidth() - 8, rowCentre (1)), 0xFFADADADu);
    EXPECT_EQ (toolkit_test::pixelAt (image, window.getWidth() - 8, rowCentre (2)), 0xFFE3E3E3u);
}
