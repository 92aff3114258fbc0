#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/windows/TestDesktop.h"

#include "framework/core/Parameters.h"
#include "toolkit/menus/PopupMenuComponent.h"
#include "toolkit/widgets/CheckBox_V2.h"
#include "toolkit/widgets/ComboBoxButton.h"
#include "toolkit/widgets/ComboBoxEx.h"
#include "toolkit/widgets/RadioButtons_V2.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using toolkit_test::ref;
using toolkit_test::TestDesktop;

namespace
{
// Counts what a widget tells its own listeners, whatever its kind.
struct WidgetCalls : juce::Button::Listener, ComboBoxButton::Listener, ComboBoxEx::Listener, RadioButtons_V2::Listener
{
    void buttonClicked (juce::Button*) override { ++calls; }
    void comboBoxButtonChanged (ComboBoxButton*) override { ++calls; }
    void comboBoxExChanged (ComboBoxEx*) override { ++calls; }
    void radioButtonsChanged (RadioButtons_V2*) override { ++calls; }

    int calls = 0;
};

// A click on a row of the open menu (the answer waits for the message loop).
void clickMenuRow (PopupMenuEx& menu, int row)
{
    auto& window = ref (ref (menu.getMenuComponent()).getWindow (0));
    const auto position = juce::Point<float> (20.0f, (float) (PopupMenuEx::rowsTop + row * PopupMenuEx::rowHeight + 8));
    window.mouseDown (widget_testing::mouseAt (window, position, position));
}

template <typename Widget>
std::shared_ptr<Widget> place (TestDesktop& desktop, std::shared_ptr<Widget> widget, int width, int height)
{
    desktop.addAndMakeVisible (*widget);
    widget->setBounds (10, 10, width, height);
    return widget;
}

// How the test reads a widget and acts as its user.
struct Handles
{
    std::shared_ptr<juce::Component> widget;
    std::function<int()> shown;
    std::function<void (int)> userPicks;
};

Handles buttonHandles (std::shared_ptr<juce::Button> button, Parameter& parameter, WidgetCalls& calls)
{
    dynamic_cast<ParameterController&> (*button).bindParameter (&parameter);
    button->addListener (&calls);
    return { button, [button] { return button->getToggleState() ? 1 : 0; }, [button] (int) { button->triggerClick(); } };
}
} // namespace

// Each widget shows a change of its parameter without writing it back or
// calling its own listeners; a pick of the user (a menu choice delivered by
// the message loop for the combo boxes) writes the parameter once, in a
// gesture of its own, and is told to the listeners.
TEST (StandardWidgets, FollowTheirParameterBothWays)
{
    using Build = std::function<Handles (TestDesktop&, Parameter&, WidgetCalls&)>;
    struct Case { const char* widget; bool isBool; Build build; };

    const Case cases[] = {
        { "CheckBox_V2", true, [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          { return buttonHandles (place (desktop, std::make_shared<CheckBox_V2>(), 120, 18), parameter, calls); } },
        { "ToolbarDrawableButton", true, [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto button = place (desktop, std::make_shared<ToolbarDrawableButton> ("Learn", 13), 24, 24);
              button->setClickingTogglesState (true);
              return buttonHandles (button, parameter, calls);
          } },
        { "ComboBoxButton", false, [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto combo = place (desktop, std::make_shared<ComboBoxButton>(), 120, 20);
              combo->setParameter (dynamic_cast<EnumParameter*> (&parameter));
              combo->addListener (&calls);
              return Handles { combo, [combo] { return combo->getSelectedId(); }, [combo] (int id)
                               {
                                   combo->buttonClicked (&combo->getButton());
                                   clickMenuRow (combo->getMenu(), id);
                               } };
          } },
        { "ComboBoxEx", false, [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto combo = place (desktop, std::make_shared<ComboBoxEx>(), 120, 20);
              for (int id = 0; id < 4; ++id)
                  combo->getOwnMenu().addItem (id, "Output " + juce::String (id + 1));
              combo->bindParameter (&parameter);
              combo->addListener (&calls);
              return Handles { combo, [combo] { return combo->getSelectedId(); }, [combo] (int id)
                               {
                                   widget_testing::clickCentre (*combo);
                                   clickMenuRow (combo->getMenu(), id);
                               } };
          } },
        { "RadioButtons_V2", false, [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto group = std::make_shared<RadioButtons_V2> ("Output", juce::StringArray { "1", "2", "3", "4" });
              desktop.addAndMakeVisible (*group);
              group->bindParameter (&parameter);
              group->addListener (&calls);
              return Handles { group, [group] { return group->getSelectedIndex(); },
                               [group] (int index) { ref (group->getButton (index)).triggerClick(); } };
          } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.widget);
        TestDesktop desktop;
        std::unique_ptr<Parameter> parameter;
        if (c.isBool)
            parameter = std::make_unique<BoolParameter> (1, "Host Mode");
        else
            parameter = std::make_unique<EnumParameter> (2, "Output", "1;2;3;4");
        const int fromParameter = c.isBool ? 1 : 2, fromUser = c.isBool ? 0 : 3;
        widget_testing::HostLog host (*parameter);
        WidgetCalls calls;
        const auto handles = c.build (desktop, *parameter, calls);

        parameter->setInt (fromParameter, true);
        testing_support::runPendingMessages();
        EXPECT_EQ (handles.shown(), fromParameter);
        EXPECT_EQ (host.log.size(), 1u); // nothing written back
        EXPECT_EQ (calls.calls, 0);

        handles.userPicks (fromUser);
        EXPECT_EQ (parameter->getInt(), fromParameter); // clicks and menu answers come from the loop
        testing_support::runPendingMessages();
        EXPECT_EQ (handles.shown(), fromUser);
        EXPECT_EQ (parameter->getInt(), fromUser);
        const std::vector<std::string> pickedInOneGesture { host.log[0], "begin", "set " + std::to_string (fromUser) + ".000", "end" };
        EXPECT_EQ (host.log, pickedInOneGesture); // written once, a touch for the host
        EXPECT_GE (calls.calls, 1);
    }
}

TEST (StandardWidgets, CheckBoxTickFadesInADisabledParent)
{
    TestDesktop desktop;
    juce::Component page;
    CheckBox_V2 box;
    desktop.addAndMakeVisible (page);
    page.addAndMakeVisible (box);
    box.setBounds (0, 0, 120, 20);
    EXPECT_FALSE (box.getTick().isVisible());

    box.setToggleState (true, juce::sendNotification);
    EXPECT_TRUE (box.getTick().isVisible());
    EXPECT_TRUE (box.getBoxArea().expanded (1).contains (box.getTick().getBoundsInParent()));

    page.setEnabled (false); // the box itself stays enabled
    EXPECT_NEAR (box.getTick().getAlpha(), 0.5f, 0.01f);
    page.setEnabled (true);
    EXPECT_NEAR (box.getTick().getAlpha(), 1.0f, 0.01f);
}

// The icon takes the look's text colour when the button joins a window and at
// every later change of the look; an id without an icon makes a button with
// no image rather than a crash.
TEST (StandardWidgets, ToolbarIconTakesTheTextColourOfEachLook)
{
    TestDesktop desktop;
    auto button = place (desktop, std::make_shared<ToolbarDrawableButton> ("Add Row", 13), 24, 24);
    auto noIcon = place (desktop, std::make_shared<ToolbarDrawableButton> ("Nothing", 10), 24, 24);
    EXPECT_FALSE (noIcon->hasIcon());

    const auto pixelsOf = [&button] (juce::Colour colour)
    {
        const auto image = toolkit_test::paintOver (*button);
        int count = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                count += image.getPixelAt (x, y) == colour ? 1 : 0;
        return count;
    };
    EXPECT_GT (pixelsOf (juce::Colours::black), 10);

    for (const auto colour : { juce::Colours::red, juce::Colours::blue })
    {
        desktop.lookAndFeel.setColour (juce::DrawableButton::textColourId, colour);
        desktop.sendLookAndFeelChange();
        EXPECT_GT (pixelsOf (colour), 10);
        EXPECT_EQ (pixelsOf (juce::Colours::black), 0);
    }
}

TEST (StandardWidgets, ComboBoxButtonIgnoresItsOwnIdAndEscapeChangesNothing)
{
    TestDesktop desktop;
    EnumParameter source (5, "Trigger Source", "Bass Drum;Snare Drum;Low Tom");
    source.setInt (1, false);
    widget_testing::HostLog host (source);
    WidgetCalls calls;
    auto combo = place (desktop, std::make_shared<ComboBoxButton>(), 150, 20);
    combo->setParameter (&source);
    combo->addListener (&calls);
    EXPECT_EQ (combo->getText(), "Snare Drum");
    EXPECT_TRUE (ref (combo->getMenu().findItemById (1)).ticked);

    combo->setSelectedId (1, true);

    combo->buttonClicked (&combo->getButton());
    EXPECT_TRUE (combo->getButton().getToggleState()); // down until the menu answers
    ref (combo->getMenu().getMenuComponent()).keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    testing_support::runPendingMessages();
    EXPECT_FALSE (combo->getButton().getToggleState());
    EXPECT_EQ (combo->getSelectedId(), 1);

    combo->setSelectedId (7, false);
    EXPECT_EQ (combo->getText(), "---");
    EXPECT_FALSE (ref (combo->getMenu().findItemById (1)).ticked);
    EXPECT_EQ (calls.calls, 0);
    EXPECT_TRUE (host.log.empty());
}

// Several controls may share one external menu (as the rows of a modulation
// matrix do): only the control that opened it takes its answer.
TEST (StandardWidgets, ASharedMenuAnswersOnlyTheControlThatOpenedIt)
{
    TestDesktop desktop;
    PopupMenuEx outputs;
    for (int id = 1; id <= 4; ++id)
        outputs.addItem (id, "Output " + juce::String (id));

    auto first = place (desktop, std::make_shared<ComboBoxButton>(), 120, 20);
    auto second = place (desktop, std::make_shared<ComboBoxButton>(), 120, 20);
    auto third = place (desktop, std::make_shared<ComboBoxEx>(), 120, 20);
    for (auto* combo : { first.get(), second.get() })
        combo->setExternalMenu (&outputs);
    third->setExternalMenu (&outputs);

    second->buttonClicked (&second->getButton());
    clickMenuRow (outputs, 3);
    testing_support::runPendingMessages();
    EXPECT_EQ (second->getSelectedId(), 4);
    EXPECT_EQ (first->getSelectedId(), -1);
    EXPECT_EQ (third->getSelectedId(), -1);

    ComboBoxEx fourth;
    {
        PopupMenuEx shortLived (outputs);
        fourth.setExternalMenu (&shortLived);
    } // deleted before the control: forgotten
    fourth.setSelectedId (2, false);
    EXPECT_EQ (fourth.getText(), "---");
}

TEST (StandardWidgets, ComboBoxExShowsAMissingOrDisabledItemInItalics)
{
    TestDesktop desktop;
    auto combo = place (desktop, std::make_shared<ComboBoxEx>(), 150, 20);
    combo->getOwnMenu().addItem (1, "Cutoff");
    combo->getOwnMenu().addItem (2, "Cutoff");
    combo->getOwnMenu().setItemEnabled (2, false);

    combo->setSelectedId (1, false);
    const auto upright = toolkit_test::paintOver (*combo);
    EXPECT_FALSE (combo->isTextItalic());

    combo->setSelectedId (2, false);
    EXPECT_EQ (combo->getText(), "Cutoff");
    EXPECT_TRUE (combo->isTextItalic());
    const auto slanted = toolkit_test::paintOver (*combo);
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 4; x < 60; ++x)
            differing += upright.getPixelAt (x, y) != slanted.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (differing, 20);

    combo->setSelectedId (9, false);
    EXPECT_EQ (combo->getText(), "---");
    EXPECT_TRUE (combo->isTextItalic());
}

TEST (StandardWidgets, RadioGroupShowsNoSelectionForAValueOutOfRange)
{
    for (const int value : { 3, -1, -2, -5, 7 })
    {
        SCOPED_TRACE (value);
        TestDesktop desktop;
        IntParameter storing (3, "Preset Storing", -5, 10, 1);
        RadioButtons_V2 group ("Preset storing", { "Automatic", "On demand", "Never" });
        desktop.addAndMakeVisible (group);
        group.bindParameter (&storing);
        widget_testing::HostLog host (storing);

        storing.setInt (value, true);
        testing_support::runPendingMessages();
        EXPECT_EQ (group.getSelectedIndex(), -1);
        for (int i = 0; i < group.getNumButtons(); ++i)
            EXPECT_FALSE (ref (group.getButton (i)).getToggleState());
        EXPECT_EQ (host.log.size(), 1u); // only the parameter's own change
    }
}
