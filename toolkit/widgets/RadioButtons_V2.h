#pragma once

#include "toolkit/binding/ParameterController.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/PanelComponent.h"

// One choice of a radio group: a round raised dot with its text beside it,
// filled black at its centre while selected. Message thread.
class RadioButton : public juce::TextButton
{
public:
    explicit RadioButton (const juce::String& label);

    // Takes the height (a negative one keeps the current height) and the
    // width of the text plus 1.2 x height for the dot.
    void changeWidthToFitText (int height);

    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RadioButton)
};

// A titled group of radio buttons stacked in a column, one per label, of
// which at most one is selected. The selected index is the button's place in
// label order (-1: none); any other value selects nothing. When bound, the
// group shows the parameter's integer and writes the user's choice back.
// Message thread.
class RadioButtons_V2 : public juce::Component,
                        public juce::Button::Listener,
                        public ParameterController
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the user changed the selection (or a notifying
        // setSelectedIndex did).
        virtual void radioButtonsChanged (RadioButtons_V2* group) = 0;
    };

    static constexpr int buttonHeight = 18; // pixels
    static constexpr int buttonGap = 2;     // pixels between buttons

    // The group takes the size its title and buttons need.
    RadioButtons_V2 (const juce::String& title, const juce::StringArray& labels);
    ~RadioButtons_V2() override;

    // Selects the button at the index (an index out of range selects none).
    // A changed selection, with notify, is told to the listeners (last added
    // first) and then written to the bound parameter.
    void setSelectedIndex (int index, bool notify);
    int getSelectedIndex() const noexcept { return selectedIndex; }

    // Every button takes the width (a negative width: the widest text's);
    // the group then takes the size its panel needs.
    void setButtonWidth (int width);

    int getNumButtons() const noexcept { return buttons.size(); }
    RadioButton* getButton (int index) const noexcept { return buttons[index]; }
    // The last button's bounds in the group, or an empty rectangle.
    juce::Rectangle<int> getLastButtonBounds() const;
    // The area inside the panel's frame, in the group's coordinates.
    juce::Rectangle<int> getContentArea() const;

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void resized() override;
    // Message thread: after every change of the selection, from the user or
    // the parameter.
    virtual void selectionChanged() {}
    // Message thread: a button was pressed (they trigger on mouse down).
    void buttonClicked (juce::Button* button) override;
    void updateFromParameter (Parameter* parameter) override;

protected:
    // Tells every listener, last added first; false when one deleted the group.
    bool notifyListeners();

private:
    int toValidIndex (int index) const noexcept;
    void showSelection();

    PanelComponent panel;
    ComponentRow row { ComponentRow::vertical, ComponentRow::alignStart, buttonGap };
    juce::OwnedArray<RadioButton> buttons;
    int selectedIndex = -1;
    int buttonWidth = 0; // pixels
    juce::ListenerList<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RadioButtons_V2)
};
