#pragma once

#include "toolkit/windows/OwnerWatch.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The toolkit's popup menu, drawn inside the editor as a modal component
// rather than as a desktop window, so that it works inside a host window. A
// menu is a model (items, nested submenus, ticks) that can be copied; showing
// it opens a cascade of small menu windows over the Desktop. The choice, or
// the dismissal (a click outside the windows, or Escape), reaches the
// listeners later, from the message loop, never inside the mouse or key
// event: a listener may delete the menu in its callback. Message thread.
class PopupMenuEx : private juce::AsyncUpdater
{
public:
    // Where the first window opens, relative to the target area.
    enum Placement
    {
        placeRight = 2,  // beside it, or to its left where the Desktop ends
        placeBelow = 16  // under it
    };

    static constexpr int rowHeight = 16;   // pixels
    static constexpr int rowsTop = 4;      // pixels above the first row
    static constexpr int submenuDelayMs = 100;

    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread, from the message loop: an enabled plain item was
        // clicked. The menu has closed.
        virtual void popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool wasTicked) = 0;
        // Message thread, from the message loop: the menu was closed without
        // a choice.
        virtual void popupMenuDismissed (PopupMenuEx*) {}
    };

    struct Item
    {
        bool hasSubmenu() const noexcept { return submenu != nullptr; }
        // A plain item by its own flag, an item with a submenu by its tree.
        bool isShownEnabled() const noexcept { return hasSubmenu() ? containsEnabled : enabled; }

        PopupMenuEx* owner = nullptr;
        int id = 0;
        juce::String text;
        juce::String displayText;
        bool ticked = false;
        bool enabled = true;
        bool containsTicked = false;  // some item of the submenu tree is ticked
        bool containsEnabled = false; // some item of the submenu tree is enabled
        std::unique_ptr<PopupMenuEx> submenu;
    };

    class PopupMenuComponent;
    class Window;

    PopupMenuEx();
    // Deep copies of the title, options and items with their submenus; the
    // listeners and the shown state are not copied.
    PopupMenuEx (const PopupMenuEx& other);
    PopupMenuEx& operator= (const PopupMenuEx& other);
    // Closes the menu when shown and cancels an undelivered answer.
    ~PopupMenuEx() override;

    void setTitle (const juce::String& newTitle) { title = newTitle; }
    const juce::String& getTitle() const noexcept { return title; }

    // Non-zero: ticks are round dots; zero: small squares.
    void setTickStyle (int newStyle);
    // 1: ticks at the right; 0: ticks at the left with the text after them.
    void setTickColumn (int newColumn);
    int getTickStyle() const noexcept { return tickStyle; }
    int getTickColumn() const noexcept { return tickColumn; }

    // Appends an enabled, unticked plain item.
    void addItem (int id, const juce::String& text);
    // Appends an item opening a copy of the submenu.
    void addSubmenu (int id, const juce::String& text, const PopupMenuEx& submenu);

    int getNumItems() const noexcept { return items.size(); }
    Item* getItem (int index) const noexcept { return items[index]; }

    // Depth first: each item's submenu before the item itself; null when none.
    Item* findItemById (int id) const;

    // In this menu and every submenu: items with the id get the tick; with
    // exclusive every other plain item is unticked.
    void setItemTicked (int id, bool ticked, bool exclusive);
    // In this menu and every submenu: items with the id get the flag.
    void setItemEnabled (int id, bool enabled);

    // Sets this menu's level and its submenus' (one more per level).
    void setLevel (int newLevel);
    int getLevel() const noexcept { return level; }

    // Opens the menu over the Desktop that holds the parent, at the target
    // area (in the parent's coordinates; an empty area means the whole
    // parent). Showing an open menu again leaves it as it is. The menu takes
    // the keyboard (for Escape) and, closing, gives it back to the component
    // that had it, so that the window the menu opened from hears its keys
    // again. A parent that stops showing (the editor closed) dismisses it.
    void show (juce::Component* parentComponent, juce::Rectangle<int> targetArea, int placement = placeBelow);
    bool isShown() const noexcept { return menuComponent != nullptr; }
    PopupMenuComponent* getMenuComponent() const noexcept { return menuComponent.get(); }
    int getPlacement() const noexcept { return placement; }

    // The target area in the menu component's coordinates; empty when the
    // menu is not shown.
    juce::Rectangle<int> getTargetArea() const;

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

private:
    friend class PopupMenuComponent;

    // Message thread, from the message loop: delivers the answer.
    void handleAsyncUpdate() override;
    template <typename Callback>
    void callListeners (Callback&& callback);
    void chooseItem (const Item& item);
    void dismiss();
    void close();

    void copyFrom (const PopupMenuEx& other);
    void updateMarks();
    bool hasTickedItem() const;
    bool hasEnabledItem() const;
    PopupMenuEx& getRootMenu();
    // An open cascade must not show submenus that are about to change.
    void structureChanging();
    void structureChanged();
    void repaintOpenMenu();

    int tickStyle = 1;
    int tickColumn = 1;
    juce::Array<Listener*> listeners;
    juce::String title;
    int level = 0;
    PopupMenuEx* parentMenu = nullptr; // the menu whose item owns this one
    juce::OwnedArray<Item> items;
    std::unique_ptr<PopupMenuComponent> menuComponent;
    juce::Component::SafePointer<juce::Component> parent;
    juce::Component::SafePointer<juce::Component> focusBeforeShowing;
    std::unique_ptr<OwnerWatch> parentWatch;
    int placement = placeBelow;
    juce::Rectangle<int> target;
    bool itemChosenPending = false;
    int chosenItemId = 0;
    bool chosenItemTicked = false;
    bool dismissedPending = false;

    JUCE_DECLARE_WEAK_REFERENCEABLE (PopupMenuEx)
    JUCE_LEAK_DETECTOR (PopupMenuEx)
};
