#pragma once

#include "toolkit/binding/ParameterController.h"
#include "toolkit/widgets/ComboMenu.h"
#include "toolkit/widgets/TextButtonWithIcon.h"

class EnumParameter;

// A button showing the chosen item of a menu, with a down arrow at its
// right end; pressing it opens the menu below it and keeps the button down
// until the menu answers. The menu is the control's own (built from an enum
// parameter's items) or an external one set by the page. Item ids are the
// values: when bound, the control shows the parameter's integer and writes
// the user's choice back. Message thread.
class ComboBoxButton : public juce::Component,
                       public PopupMenuEx::Listener,
                       public ParameterController,
                       public juce::Button::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the selected id changed by the user or by a
        // notifying setSelectedId.
        virtual void comboBoxButtonChanged (ComboBoxButton* comboBox) = 0;
    };

    ComboBoxButton();
    ~ComboBoxButton() override;

    // The own menu becomes one item per label of the parameter (id = the
    // label's index); binds to the parameter unless already bound.
    void setParameter (EnumParameter* parameter);

    // Shows the item with the id ("---" when no item has it). A changed id,
    // with notify, is told to the listeners (last added first) and then
    // written to the bound parameter.
    void setSelectedId (int id, bool notify);
    int getSelectedId() const noexcept { return selectedId; }
    juce::String getText() const { return button.getButtonText(); }

    // Not owned; null returns to the own menu.
    void setExternalMenu (PopupMenuEx* menu);
    // The menu in use: the external one when set, else the own.
    PopupMenuEx& getMenu() noexcept { return menu.getActiveMenu(); }
    bool isMenuOpen() const noexcept { return menu.isOpen(); }
    TextButtonWithIcon& getButton() noexcept { return button; }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void resized() override;
    // Message thread, from the message loop.
    void popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool wasTicked) override;
    void popupMenuDismissed (PopupMenuEx* menu) override;
    void updateFromParameter (Parameter* parameter) override;
    // Message thread: the button was pressed (it triggers on mouse down).
    void buttonClicked (juce::Button* clicked) override;

private:
    void refreshText();
    void releaseButton();

    int selectedId = -1;
    ComboMenu menu { *this };
    juce::ListenerList<Listener> listeners;
    TextButtonWithIcon button;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboBoxButton)
};
