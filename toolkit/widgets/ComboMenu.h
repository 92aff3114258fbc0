#pragma once

#include "toolkit/menus/PopupMenuEx.h"

// The menu a combo control offers: its own, or an external one that the
// owning page keeps and may share between several controls. The control is a
// listener of both; it remembers which menu it opened itself, so that the
// answer of a shared menu opened by another control is not taken for its
// own. Message thread.
class ComboMenu
{
public:
    explicit ComboMenu (PopupMenuEx::Listener& control);
    ~ComboMenu();

    ComboMenu (const ComboMenu&) = delete;
    ComboMenu& operator= (const ComboMenu&) = delete;

    PopupMenuEx& getOwnMenu() noexcept { return ownMenu; }

    // Used in place of the own menu from now on; null returns to the own
    // menu. Not owned: a menu deleted first is simply forgotten.
    void setExternalMenu (PopupMenuEx* menu);
    PopupMenuEx& getActiveMenu() noexcept;

    // The active menu's item with the id (depth first), or null.
    const PopupMenuEx::Item* findItem (int id);

    // The active menu's tick goes to the item with the id alone.
    void tickItem (int id);

    // Opens the active menu below the control.
    void showBelow (juce::Component& control);
    bool isOpen() const noexcept { return openedMenu != nullptr; }

    enum class Answer
    {
        notOurs,       // a menu this control did not open
        fromActiveMenu,
        fromOtherMenu  // the menu it opened stopped being the active one meanwhile
    };

    // Sorts the answer of a menu (choice or dismissal); an answer of the menu
    // this control opened closes its turn.
    Answer takeAnswer (const PopupMenuEx* menu);

private:
    PopupMenuEx::Listener& listener;
    PopupMenuEx ownMenu;
    juce::WeakReference<PopupMenuEx> externalMenu;
    juce::WeakReference<PopupMenuEx> openedMenu;
};
