#pragma once

#include "toolkit/binding/ParameterController.h"
#include "toolkit/widgets/ComboMenu.h"

// A light combo box drawn by itself: the chosen item's text, a separator and
// a down arrow; a press opens its menu below it, and the outline turns orange
// while the menu is open. A chosen id that no item carries shows "---", and
// a missing or disabled item is shown in italics. The menu is the control's
// own, filled by the page, or an external one, which several controls may
// share. Item ids are the values: when bound, the control shows the
// parameter's integer and writes the user's choice back. Message thread.
class ComboBoxEx : public juce::Component,
                   public PopupMenuEx::Listener,
                   public ParameterController
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the user chose another item, or a notifying
        // setSelectedId changed the id.
        virtual void comboBoxExChanged (ComboBoxEx* comboBox) = 0;
    };

    ComboBoxEx();
    ~ComboBoxEx() override;

    // Shows the item with the id (the text follows the menu's current items
    // even when the id stays). A changed id, with notify, is told to the
    // listeners (last added first) and then written to the bound parameter.
    void setSelectedId (int id, bool notify);
    int getSelectedId() const noexcept { return selectedId; }

    const juce::String& getText() const noexcept { return text; }
    bool isTextItalic() const noexcept { return italic; }
    bool isMenuOpen() const noexcept { return menuOpen; }

    // The own menu, for the page to fill.
    PopupMenuEx& getOwnMenu() noexcept { return menu.getOwnMenu(); }
    // Not owned; null returns to the own menu.
    void setExternalMenu (PopupMenuEx* externalMenu);
    // The menu in use: the external one when set, else the own.
    PopupMenuEx& getMenu() noexcept { return menu.getActiveMenu(); }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Message thread: opens the menu.
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    // Message thread, from the message loop.
    void popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool wasTicked) override;
    void popupMenuDismissed (PopupMenuEx* menu) override;
    void updateFromParameter (Parameter* parameter) override;

private:
    void refreshText();
    void setMenuOpen (bool isOpen);

    int selectedId = -1;
    bool menuOpen = false;
    juce::String text;
    bool italic = false;
    juce::Font font;
    juce::Path arrow;
    ComboMenu menu { *this };
    juce::ListenerList<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboBoxEx)
};
