#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/windows/TestDesktop.h"

#include "framework/core/Parameters.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/menus/PopupMenuComponent.h"
#include "toolkit/widgets/CheckBox_V2.h"
#include "toolkit/widgets/ComboBoxButton.h"
#include "toolkit/widgets/ComboBoxEx.h"
#include "toolkit/widgets/RadioButtons_V2.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using toolkit_test::ref;
using toolkit_test::TestDesktop;

namespace
{
// Counts what a widget tells its own listeners, whatever its kind.
struct WidgetCalls : juce::Button::Listener,
                     ComboBoxButton::Listener,
                     ComboBoxEx::Listener,
                     RadioButtons_V2::Listener
{
    void buttonClicked (juce::Button*) override { ++calls; }
    void comboBoxButtonChanged (ComboBoxButton*) override { ++calls; }
    void comboBoxExChanged (ComboBoxEx*) override { ++calls; }
    void radioButtonsChanged (RadioButtons_V2*) override { ++calls; }

    int calls = 0;
};

int rowCentre (int row) { return PopupMenuEx::rowsTop + row * PopupMenuEx::rowHeight + PopupMenuEx::rowHeight / 2; }

// A click on a row of the open menu's first window (the answer waits for the loop).
void clickMenuRow (PopupMenuEx& menu, int row)
{
    auto& window = ref (ref (menu.getMenuComponent()).getWindow (0));
    const auto position = juce::Point<int> (20, rowCentre (row)).toFloat();
    window.mouseDown (widget_testing::mouseAt (window, position, position));
}

void pressEscape (PopupMenuEx& menu)
{
    ref (menu.getMenuComponent()).keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
}

// How a test reads a widget and acts on it as its user.
struct Handles
{
    std::shared_ptr<juce::Component> widget;
    std::function<int()> shown;
    std::function<void (int)> userPicks;
};
} // namespace

// Each widget shows a change of its parameter without writing it back or
// calling its own listeners; a pick of the user writes the parameter once and
// is told to the listeners.
TEST (StandardWidgets, FollowTheirParameterBothWays)
{
    struct Case
    {
        const char* widget;
        std::function<std::unique_ptr<Parameter>()> makeParameter;
        std::function<Handles (TestDesktop&, Parameter&, WidgetCalls&)> build;
        int fromParameter, fromUser;
    };

    const auto boolParameter = [] { return std::make_unique<BoolParameter> (1, "Host Mode"); };
    const auto enumParameter = [] { return std::make_unique<EnumParameter> (2, "Output", "1;2;3;4"); };

    const auto buttonHandles = [] (std::shared_ptr<juce::Button> button, Parameter& parameter, WidgetCalls& calls)
    {
        dynamic_cast<ParameterController&> (*button).bindParameter (&parameter);
        button->addListener (&calls);
        return Handles { button, [button] { return button->getToggleState() ? 1 : 0; },
                         [button] (int) { button->triggerClick(); } };
    };

    const Case cases[] = {
        { "CheckBox_V2", boolParameter,
          [&] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto box = std::make_shared<CheckBox_V2>();
              desktop.addAndMakeVisible (*box);
              box->setBounds (10, 10, 120, 18);
              return buttonHandles (box, parameter, calls);
          },
          1, 0 },
        { "ToolbarDrawableButton", boolParameter,
          [&] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto button = std::make_shared<ToolbarDrawableButton> ("Learn", 13);
              button->setClickingTogglesState (true);
              desktop.addAndMakeVisible (*button);
              button->setBounds (10, 10, 24, 24);
              return buttonHandles (button, parameter, calls);
          },
          1, 0 },
        { "ComboBoxButton", enumParameter,
          [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto combo = std::make_shared<ComboBoxButton>();
              desktop.addAndMakeVisible (*combo);
              combo->setBounds (10, 10, 120, 20);
              combo->setParameter (dynamic_cast<EnumParameter*> (&parameter));
              combo->addListener (&calls);
              return Handles { combo, [combo] { return combo->getSelectedId(); },
                               [combo] (int id)
                               {
                                   combo->buttonClicked (&combo->getButton());
                                   clickMenuRow (combo->getMenu(), id);
                               } };
          },
          2, 3 },
        { "ComboBoxEx", enumParameter,
          [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto combo = std::make_shared<ComboBoxEx>();
              desktop.addAndMakeVisible (*combo);
              combo->setBounds (10, 10, 120, 20);
              for (int id = 0; id < 4; ++id)
                  combo->getOwnMenu().addItem (id, "Output " + juce::String (id + 1));
              combo->bindParameter (&parameter);
              combo->addListener (&calls);
              return Handles { combo, [combo] { return combo->getSelectedId(); },
                               [combo] (int id)
                               {
                                   widget_testing::clickCentre (*combo);
                                   clickMenuRow (combo->getMenu(), id);
                               } };
          },
          2, 3 },
        { "RadioButtons_V2", enumParameter,
          [] (TestDesktop& desktop, Parameter& parameter, WidgetCalls& calls)
          {
              auto group = std::make_shared<RadioButtons_V2> ("Preset storing", juce::StringArray { "A", "B", "C", "D" });
              desktop.addAndMakeVisible (*group);
              group->bindParameter (&parameter);
              group->addListener (&calls);
              return Handles { group, [group] { return group->getSelectedIndex(); },
                               [group] (int index) { ref (group->getButton (index)).triggerClick(); } };
          },
          2, 3 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.widget);
        TestDesktop desktop;
        const auto parameter = c.makeParameter();
        widget_testing::HostLog host (*parameter);
        WidgetCalls calls;
        const auto handles = c.build (desktop, *parameter, calls);

        parameter->setInt (c.fromParameter, true);
        testing_support::runPendingMessages();
        EXPECT_EQ (handles.shown(), c.fromParameter);
        EXPECT_EQ (host.log.size(), 1u); // nothing written back
        EXPECT_EQ (calls.calls, 0);

        handles.userPicks (c.fromUser);
        testing_support::runPendingMessages();
        EXPECT_EQ (handles.shown(), c.fromUser);
        EXPECT_EQ (parameter->getInt(), c.fromUser);
        EXPECT_EQ (host.log.size(), 2u); // written once
        EXPECT_GE (calls.calls, 1);
    }
}

TEST (StandardWidgets, CheckBoxAndRadioButtonFitTheirWidthToTheirText)
{
    TestDesktop desktop;
    CheckBox_V2 box;
    box.setButtonText ("Use internal clock");
    RadioButton radio ("Factory presets");
    desktop.addAndMakeVisible (box);
    desktop.addAndMakeVisible (radio);
    radio.setSize (10, 23);
    const auto textWidth = [] (const juce::String& text) { return juce::roundToInt (toolkit::makeFont (13.0f).getStringWidthFloat (text)); };

    box.changeWidthToFitText (18);
    EXPECT_EQ (box.getBounds().getHeight(), 18);
    EXPECT_EQ (box.getWidth(), textWidth ("Use internal clock") + 21); // 1.2 x 18 = 21.6

    radio.changeWidthToFitText (-1); // keeps its height
    EXPECT_EQ (radio.getHeight(), 23);
    EXPECT_EQ (radio.getWidth(), textWidth ("Factory presets") + 27); // 1.2 x 23 = 27.6
}

TEST (StandardWidgets, CheckBoxTickShowsTheStateAndFadesInADisabledParent)
{
    TestDesktop desktop;
    juce::Component page;
    CheckBox_V2 box;
    desktop.addAndMakeVisible (page);
    page.setBounds (0, 0, 200, 40);
    page.addAndMakeVisible (box);
    box.setBounds (0, 0, 120, 20);
    EXPECT_TRUE (box.getBoxArea().expanded (1).contains (box.getTick().getBoundsInParent()));
    EXPECT_FALSE (box.getTick().isVisible());

    box.setToggleState (true, juce::sendNotification);
    EXPECT_TRUE (box.getTick().isVisible());
    EXPECT_NEAR (box.getTick().getAlpha(), 1.0f, 0.01f);

    page.setEnabled (false); // the box itself stays enabled
    EXPECT_NEAR (box.getTick().getAlpha(), 0.5f, 0.01f);
    page.setEnabled (true);
    EXPECT_NEAR (box.getTick().getAlpha(), 1.0f, 0.01f);
}

TEST (StandardWidgets, ToolbarIconTakesTheTextColourOfEachLook)
{
    TestDesktop desktop;
    ToolbarDrawableButton button ("Add Row", 13);
    ToolbarDrawableButton noIcon ("Nothing", 10);
    desktop.addAndMakeVisible (button);
    desktop.addAndMakeVisible (noIcon);
    button.setBounds (0, 0, 24, 24);
    noIcon.setBounds (30, 0, 24, 24);
    EXPECT_EQ (button.getTooltip(), "Add Row");
    EXPECT_FALSE (noIcon.hasIcon());

    const auto countPixels = [&button] (juce::Colour colour)
    {
        const auto image = toolkit_test::paintOver (button);
        int count = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                count += image.getPixelAt (x, y) == colour ? 1 : 0;
        return count;
    };
    EXPECT_GT (countPixels (juce::Colours::black), 10);

    for (const auto colour : { juce::Colours::red, juce::Colours::blue }) // recoloured more than once
    {
        desktop.lookAndFeel.setColour (juce::DrawableButton::textColourId, colour);
        desktop.sendLookAndFeelChange();
        EXPECT_GT (countPixels (colour), 10);
        EXPECT_EQ (countPixels (juce::Colours::black), 0);
    }
    (void) toolkit_test::paintOver (noIcon);
}

TEST (StandardWidgets, ComboBoxButtonShowsItsItemOrDashesAndIgnoresTheSameId)
{
    TestDesktop desktop;
    EnumParameter source (5, "Trigger Source", "Bass Drum;Snare Drum;Low Tom");
    source.setInt (1, false);
    widget_testing::HostLog host (source);
    ComboBoxButton combo;
    WidgetCalls calls;
    desktop.addAndMakeVisible (combo);
    combo.setBounds (0, 0, 150, 20);
    combo.setParameter (&source);
    combo.addListener (&calls);

    EXPECT_EQ (combo.getText(), "Snare Drum");
    EXPECT_TRUE (ref (combo.getMenu().findItemById (1)).ticked);
    EXPECT_EQ (combo.getButton().getBounds(), combo.getLocalBounds());
    EXPECT_TRUE (combo.getButton().isIconOnRight());

    combo.setSelectedId (1, true);
    EXPECT_EQ (calls.calls, 0);
    EXPECT_TRUE (host.log.empty());

    combo.setSelectedId (7, false);
    EXPECT_EQ (combo.getText(), "---");
    EXPECT_FALSE (ref (combo.getMenu().findItemById (1)).ticked);
    EXPECT_TRUE (host.log.empty());
}

// The button stays down from the press until the menu answers; Escape
// releases it and changes nothing.
TEST (StandardWidgets, ComboBoxButtonMenuAnswersThroughTheLoop)
{
    TestDesktop desktop;
    EnumParameter source (5, "Trigger Source", "Bass Drum;Snare Drum;Low Tom");
    widget_testing::HostLog host (source);
    ComboBoxButton combo;
    WidgetCalls calls;
    desktop.addAndMakeVisible (combo);
    combo.setBounds (0, 0, 150, 20);
    combo.setParameter (&source);
    combo.addListener (&calls);

    combo.buttonClicked (&combo.getButton());
    EXPECT_TRUE (combo.getButton().getToggleState());
    EXPECT_TRUE (combo.getMenu().isShown());
    pressEscape (combo.getMenu());
    EXPECT_TRUE (combo.getButton().getToggleState());
    testing_support::runPendingMessages();
    EXPECT_FALSE (combo.getButton().getToggleState());
    EXPECT_EQ (combo.getSelectedId(), 0);
    EXPECT_TRUE (host.log.empty());

    combo.buttonClicked (&combo.getButton());
    clickMenuRow (combo.getMenu(), 2);
    EXPECT_EQ (combo.getSelectedId(), 0); // nothing before the loop runs
    testing_support::runPendingMessages();
    EXPECT_EQ (combo.getText(), "Low Tom");
    EXPECT_EQ (source.getInt(), 2);
    EXPECT_EQ (calls.calls, 1);
    EXPECT_FALSE (combo.getButton().getToggleState());
}

// Several controls may share one external menu (the modulation matrix's rows
// do): only the control that opened it takes its answer.
TEST (StandardWidgets, ASharedMenuAnswersOnlyTheControlThatOpenedIt)
{
    TestDesktop desktop;
    PopupMenuEx outputs;
    for (int id = 1; id <= 4; ++id)
        outputs.addItem (id, "Output " + juce::String (id));

    ComboBoxButton first, second;
    ComboBoxEx third;
    for (auto* control : std::initializer_list<juce::Component*> { &first, &second, &third })
    {
        desktop.addAndMakeVisible (*control);
        control->setSize (120, 20);
    }
    first.setExternalMenu (&outputs);
    second.setExternalMenu (&outputs);
    third.setExternalMenu (&outputs);
    for (auto* combo : { &first, &second })
        combo->setSelectedId (1, false);
    third.setSelectedId (1, false);

    second.buttonClicked (&second.getButton());
    clickMenuRow (outputs, 3);
    testing_support::runPendingMessages();

    EXPECT_EQ (second.getSelectedId(), 4);
    EXPECT_EQ (first.getSelectedId(), 1);
    EXPECT_EQ (third.getSelectedId(), 1);
    EXPECT_FALSE (first.getButton().getToggleState());

    { // a shared menu deleted before its controls is forgotten
        ComboBoxEx fourth;
        {
            PopupMenuEx shortLived (outputs);
            fourth.setExternalMenu (&shortLived);
        }
        fourth.setSelectedId (2, false);
        EXPECT_EQ (fourth.getText(), "---");
    }
}

TEST (StandardWidgets, ComboBoxExShowsAMissingOrDisabledItemInItalics)
{
    TestDesktop desktop;
    ComboBoxEx combo;
    desktop.addAndMakeVisible (combo);
    combo.setBounds (0, 0, 150, 20);
    combo.getOwnMenu().addItem (1, "Cutoff");
    combo.getOwnMenu().addItem (2, "Cutoff");
    combo.getOwnMenu().setItemEnabled (2, false);

    combo.setSelectedId (1, false);
    const auto upright = toolkit_test::paintOver (combo);
    EXPECT_FALSE (combo.isTextItalic());

    combo.setSelectedId (2, false);
    EXPECT_EQ (combo.getText(), "Cutoff");
    EXPECT_TRUE (combo.isTextItalic());
    const auto slanted = toolkit_test::paintOver (combo);

    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 4; x < 60; ++x)
            differing += upright.getPixelAt (x, y) != slanted.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (differing, 20);

    combo.setSelectedId (9, false);
    EXPECT_EQ (combo.getText(), "---");
    EXPECT_TRUE (combo.isTextItalic());
}

TEST (StandardWidgets, ComboBoxExOutlineTurnsOrangeWhileItsMenuIsOpen)
{
    TestDesktop desktop;
    ComboBoxEx combo;
    desktop.addAndMakeVisible (combo);
    combo.setBounds (0, 0, 150, 20);
    combo.getOwnMenu().addItem (1, "Velocity");
    const auto outlinePixel = [&combo] { return toolkit_test::paintOver (combo, juce::Colours::black).getPixelAt (75, 1); };

    EXPECT_EQ (outlinePixel(), juce::Colours::white);
    widget_testing::clickCentre (combo);
    EXPECT_TRUE (combo.isMenuOpen());
    EXPECT_GT (outlinePixel().getRed(), 200); // orange-red over the grey face
    EXPECT_LT (outlinePixel().getBlue(), 120);

    ref (combo.getMenu().getMenuComponent()).mouseDown (widget_testing::mouseAt (desktop, { 390, 290 }, { 390, 290 }));
    testing_support::runPendingMessages();
    EXPECT_FALSE (combo.isMenuOpen());
    EXPECT_EQ (outlinePixel(), juce::Colours::white);
}

TEST (StandardWidgets, RadioGroupShowsNoSelectionForAValueOutOfRange)
{
    for (const int value : { 3, -1, 7 })
    {
        SCOPED_TRACE (value);
        TestDesktop desktop;
        IntParameter storing (3, "Preset Storing", -5, 10, 1);
        RadioButtons_V2 group ("Preset storing", { "Automatic", "On demand", "Never" });
        desktop.addAndMakeVisible (group);
        group.bindParameter (&storing);
        EXPECT_EQ (group.getSelectedIndex(), 1);

        widget_testing::HostLog host (storing);
        storing.setInt (value, true);
        testing_support::runPendingMessages();

        EXPECT_EQ (group.getSelectedIndex(), -1);
        for (int i = 0; i < group.getNumButtons(); ++i)
            EXPECT_FALSE (ref (group.getButton (i)).getToggleState());
        EXPECT_EQ (host.log.size(), 1u); // only the parameter's own change
    }
}

// Clicking the selected button again keeps it selected and tells no one.
TEST (StandardWidgets, RadioGroupStacksItsButtonsAndKeepsTheSelectedOneOn)
{
    TestDesktop desktop;
    RadioButtons_V2 group ("Default patterns", { "Factory patterns", "Clear patterns", "User defined" });
    WidgetCalls calls;
    group.addListener (&calls);
    desktop.addAndMakeVisible (group);

    for (int i = 0; i < group.getNumButtons(); ++i)
    {
        EXPECT_EQ (ref (group.getButton (i)).getY(), i * 20);
        EXPECT_EQ (ref (group.getButton (i)).getHeight(), 18);
    }
    EXPECT_EQ (group.getLastButtonBounds().getX(), group.getContentArea().getX());

    group.setButtonWidth (150);
    EXPECT_EQ (group.getLastButtonBounds().getWidth(), 150);
    EXPECT_EQ (group.getWidth(), 150 + 16);

    ref (group.getButton (2)).triggerClick();
    testing_support::runPendingMessages();
    EXPECT_EQ (group.getSelectedIndex(), 2);
    EXPECT_EQ (calls.calls, 1);

    ref (group.getButton (2)).triggerClick();
    testing_support::runPendingMessages();
    EXPECT_TRUE (ref (group.getButton (2)).getToggleState());
    EXPECT_EQ (calls.calls, 1);
}
