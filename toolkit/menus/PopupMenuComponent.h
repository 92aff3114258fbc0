#pragma once

#include "toolkit/menus/PopupMenuEx.h"
#include "toolkit/windows/ModalComponent.h"

// The open cascade of a PopupMenuEx: it covers the whole Desktop, so a click
// that misses every menu window dismisses the menu, and holds the stack of
// menu windows (the top menu first, the deepest open submenu last). A
// submenu opens or closes 100 ms after the mouse reaches its item. Message
// thread.
class PopupMenuEx::PopupMenuComponent : public ModalComponent,
                                        public juce::Timer
{
public:
    explicit PopupMenuComponent (PopupMenuEx& root);
    ~PopupMenuComponent() override;

    int getNumWindows() const noexcept { return windows.size(); }
    Window* getWindow (int index) const noexcept { return windows[index]; }

    // Called by the windows: the mouse is over a row, or clicked it.
    void rowHovered (Window& window, int row);
    void rowClicked (Window& window, int row);

    // Closes every window but the top menu's before the menus change, and
    // fits that one to its menu afterwards.
    void closeSubmenuWindows();
    void refitTopMenuWindow();

    // Covers the covering window (or the parent without a Desktop).
    void updatePosition() override;
    void visibilityChanged() override;
    // Message thread: a click outside every menu window dismisses the menu.
    void mouseDown (const juce::MouseEvent&) override;
    // Message thread: Escape dismisses the menu.
    bool keyPressed (const juce::KeyPress& key) override;
    // Message thread: opens or closes the submenu the mouse settled on.
    void timerCallback() override;

private:
    void showPendingMenu();
    void openWindow (PopupMenuEx& menu);
    bool closeTopWindow();

    juce::OwnedArray<Window> windows;
    PopupMenuEx& rootMenu;
    PopupMenuEx* pendingMenu = nullptr;
    PopupMenuEx* topWindowMenu = nullptr;
    juce::Rectangle<int> pendingTarget;
    int pendingPlacement = placeBelow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PopupMenuComponent)
};

// One menu window of the cascade: rows of 16 pixels below a 4-pixel inset.
class PopupMenuEx::Window : public juce::Component
{
public:
    Window (PopupMenuComponent& owner, PopupMenuEx& menu);

    PopupMenuEx& getMenu() const noexcept { return menu; }

    // The row under a y position in this window, or -1 past the items.
    int getRowAt (int y) const;
    int getHoveredRow() const noexcept { return hoveredRow; }
    int getCurrentRow() const noexcept { return currentRow; }
    juce::Rectangle<int> getRowBounds (int row) const;

    // The row under the mouse becomes the hovered and current one.
    void setHoveredRow (int row);
    void updateSize();

    void mouseMove (const juce::MouseEvent&) override;
    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void lookAndFeelChanged() override;
    void paint (juce::Graphics& g) override;

private:
    PopupMenuComponent& owner;
    PopupMenuEx& menu;
    juce::Font font;
    int hoveredRow = -1;
    int currentRow = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Window)
};
