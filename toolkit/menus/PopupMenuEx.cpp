#include "toolkit/menus/PopupMenuComponent.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
juce::Font getMenuFont (juce::Component& component)
{
    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&component.getLookAndFeel()))
        return toolkitLook->getRegularFont();

    return toolkit::makeFont (13.0f);
}
} // namespace

//==============================================================================
PopupMenuEx::PopupMenuEx() = default;

PopupMenuEx::PopupMenuEx (const PopupMenuEx& other)
    : juce::AsyncUpdater()
{
    copyFrom (other);
}

PopupMenuEx& PopupMenuEx::operator= (const PopupMenuEx& other)
{
    if (this != &other)
        copyFrom (other);

    return *this;
}

PopupMenuEx::~PopupMenuEx()
{
    cancelPendingUpdate();
    menuComponent.reset();
}

void PopupMenuEx::copyFrom (const PopupMenuEx& other)
{
    structureChanging();

    title = other.title;
    tickStyle = other.tickStyle;
    tickColumn = other.tickColumn;
    items.clear();

    for (const auto* source : other.items)
    {
        auto* item = items.add (std::make_unique<Item>());
        item->id = source->id;
        item->text = source->text;
        item->displayText = source->displayText;
        item->ticked = source->ticked;
        item->enabled = source->enabled;

        if (source->submenu != nullptr)
            item->submenu = std::make_unique<PopupMenuEx> (*source->submenu);
    }

    // A submenu keeps its place below its parent; a top menu stays at 0.
    setLevel (level);
    updateMarks();
    structureChanged();
}

void PopupMenuEx::setTickStyle (int newStyle)
{
    tickStyle = newStyle;
    repaintOpenMenu();
}

void PopupMenuEx::setTickColumn (int newColumn)
{
    tickColumn = newColumn;
    repaintOpenMenu();
}

void PopupMenuEx::addItem (int id, const juce::String& text)
{
    structureChanging();

    auto* item = items.add (std::make_unique<Item>());
    item->owner = this;
    item->id = id;
    item->text = text;
    item->displayText = text;

    updateMarks();
    structureChanged();
}

void PopupMenuEx::addSubmenu (int id, const juce::String& text, const PopupMenuEx& submenu)
{
    structureChanging();

    auto* item = items.add (std::make_unique<Item>());
    item->id = id;
    item->text = text;
    item->displayText = text;
    item->submenu = std::make_unique<PopupMenuEx> (submenu);

    setLevel (level);
    updateMarks();
    structureChanged();
}

PopupMenuEx::Item* PopupMenuEx::findItemById (int id) const
{
    for (auto* item : items)
    {
        if (item->submenu != nullptr)
            if (auto* found = item->submenu->findItemById (id))
                return found;

        if (item->id == id)
            return item;
    }

    return nullptr;
}

void PopupMenuEx::setItemTicked (int id, bool ticked, bool exclusive)
{
    for (auto* item : items)
    {
        if (item->submenu != nullptr)
            item->submenu->setItemTicked (id, ticked, exclusive);
        else if (item->id == id)
            item->ticked = ticked;
        else if (exclusive)
            item->ticked = false;
    }

    updateMarks();
    repaintOpenMenu();
}

void PopupMenuEx::setItemEnabled (int id, bool enabled)
{
    for (auto* item : items)
    {
        if (item->submenu != nullptr)
            item->submenu->setItemEnabled (id, enabled);

        if (item->id == id)
            item->enabled = enabled;
    }

    updateMarks();
    repaintOpenMenu();
}

void PopupMenuEx::setLevel (int newLevel)
{
    level = newLevel;

    for (auto* item : items)
    {
        item->owner = this;

        if (item->submenu != nullptr)
        {
            item->submenu->parentMenu = this;
            item->submenu->setLevel (level + 1);
        }
    }
}

bool PopupMenuEx::hasTickedItem() const
{
    for (auto* item : items)
        if (item->ticked || item->containsTicked)
            return true;

    return false;
}

bool PopupMenuEx::hasEnabledItem() const
{
    for (auto* item : items)
        if (item->enabled || item->containsEnabled)
            return true;

    return false;
}

void PopupMenuEx::updateMarks()
{
    for (auto* item : items)
    {
        if (item->submenu != nullptr)
        {
            item->submenu->updateMarks();
            item->containsTicked = item->submenu->hasTickedItem();
            item->containsEnabled = item->submenu->hasEnabledItem();
        }
    }

    // The marks of the menus above depend on this one.
    if (parentMenu != nullptr)
        for (auto* item : parentMenu->items)
            if (item->submenu.get() == this)
            {
                item->containsTicked = hasTickedItem();
                item->containsEnabled = hasEnabledItem();
            }
}

PopupMenuEx& PopupMenuEx::getRootMenu()
{
    auto* menu = this;

    while (menu->parentMenu != nullptr)
        menu = menu->parentMenu;

    return *menu;
}

void PopupMenuEx::structureChanging()
{
    if (auto* component = getRootMenu().menuComponent.get())
        component->closeSubmenuWindows();
}

void PopupMenuEx::structureChanged()
{
    if (auto* component = getRootMenu().menuComponent.get())
        component->refitTopMenuWindow();
}

void PopupMenuEx::repaintOpenMenu()
{
    if (auto* component = getRootMenu().menuComponent.get())
        component->repaint();
}

void PopupMenuEx::show (juce::Component* parentComponent, juce::Rectangle<int> targetArea, int newPlacement)
{
    if (parentComponent == nullptr)
        return;

    if (menuComponent == nullptr)
    {
        menuComponent = std::make_unique<PopupMenuComponent> (*this);
        parentComponent->addChildComponent (*menuComponent);
    }

    parent = parentComponent;
    target = targetArea;
    placement = newPlacement;
    menuComponent->showAt (ModalComponent::atStoredPosition, {}, parentComponent);

    if (! menuComponent->hasKeyboardFocus (true))
        focusBeforeShowing = juce::Component::getCurrentlyFocusedComponent();

    // For Escape; no focus can be had without a display, which is harmless.
    menuComponent->grabKeyboardFocus();

    if (parentWatch == nullptr)
        parentWatch = std::make_unique<OwnerWatch> (*parentComponent, OwnerWatch::Ends::whenGone, [this] {
            // Closed at once, as the editor goes; the dismissal reaches the listeners from the loop.
            dismissedPending = true;
            close();
            triggerAsyncUpdate();
        });
}

juce::Rectangle<int> PopupMenuEx::getTargetArea() const
{
    if (menuComponent == nullptr)
        return {};

    if (parent == nullptr)
        return menuComponent->getLocalBounds();

    const auto area = target.getWidth() > 0 && target.getHeight() > 0 ? target : parent->getLocalBounds();
    return menuComponent->getLocalArea (parent, area);
}

void PopupMenuEx::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void PopupMenuEx::removeListener (Listener* listener)
{
    listeners.removeAllInstancesOf (listener);
}

template <typename Callback>
void PopupMenuEx::callListeners (Callback&& callback)
{
    // Last added first; a listener may remove listeners or delete the menu.
    const juce::WeakReference<PopupMenuEx> self (this);

    for (int i = listeners.size(); --i >= 0;)
    {
        if (self == nullptr)
            return;

        if (i < listeners.size())
            callback (*listeners.getUnchecked (i));
    }
}

void PopupMenuEx::chooseItem (const Item& item)
{
    chosenItemId = item.id;
    chosenItemTicked = item.ticked;
    itemChosenPending = true;
    triggerAsyncUpdate();
}

void PopupMenuEx::dismiss()
{
    dismissedPending = true;
    triggerAsyncUpdate();
}

void PopupMenuEx::close()
{
    if (menuComponent == nullptr)
        return;

    // Called by the watch itself when the parent went: it is done with.
    parentWatch.reset();
    const bool heldTheKeyboard = menuComponent->hasKeyboardFocus (true);
    menuComponent->hide();
    menuComponent.reset();

    if (heldTheKeyboard && focusBeforeShowing != nullptr && focusBeforeShowing->isShowing())
        focusBeforeShowing->grabKeyboardFocus();

    focusBeforeShowing = nullptr;
}

void PopupMenuEx::handleAsyncUpdate()
{
    // A choice beats a dismissal that came with it.
    if (itemChosenPending)
    {
        itemChosenPending = false;
        dismissedPending = false;
        close();

        const int id = chosenItemId;
        const bool wasTicked = chosenItemTicked;
        callListeners ([this, id, wasTicked] (Listener& l) { l.popupMenuItemChosen (this, id, wasTicked); });
    }
    else if (dismissedPending)
    {
        dismissedPending = false;
        close();
        callListeners ([this] (Listener& l) { l.popupMenuDismissed (this); });
    }
}

//==============================================================================
PopupMenuEx::PopupMenuComponent::PopupMenuComponent (PopupMenuEx& root)
    : ModalComponent ("PopupMenu"), rootMenu (root)
{
    setWantsKeyboardFocus (true);
}

PopupMenuEx::PopupMenuComponent::~PopupMenuComponent()
{
    stopTimer();
    windows.clear();
}

void PopupMenuEx::PopupMenuComponent::updatePosition()
{
    if (isInCoveringWindow())
        setBounds (getCoveringBounds());
    else if (auto* holder = getParentComponent())
        setBounds (holder->getLocalBounds());
}

void PopupMenuEx::PopupMenuComponent::visibilityChanged()
{
    stopTimer();
    windows.clear();
    topWindowMenu = nullptr;
    pendingMenu = nullptr;

    if (isVisible())
    {
        updatePosition();
        pendingMenu = &rootMenu;
        pendingTarget = rootMenu.getTargetArea();
        pendingPlacement = rootMenu.getPlacement();
        showPendingMenu();
    }
}

void PopupMenuEx::PopupMenuComponent::timerCallback()
{
    showPendingMenu();
}

void PopupMenuEx::PopupMenuComponent::showPendingMenu()
{
    stopTimer();

    auto* menu = pendingMenu;

    if (menu == nullptr)
        return;

    while (topWindowMenu != nullptr && topWindowMenu->getLevel() > menu->getLevel() && closeTopWindow())
    {
    }

    if (topWindowMenu != nullptr && topWindowMenu->getLevel() == menu->getLevel() && topWindowMenu != menu)
        closeTopWindow();

    if (topWindowMenu != menu)
        openWindow (*menu);
}

void PopupMenuEx::PopupMenuComponent::openWindow (PopupMenuEx& menu)
{
    auto* window = windows.add (std::make_unique<Window> (*this, menu));
    const int width = window->getWidth(), height = window->getHeight();
    const int coverWidth = getWidth(), coverHeight = getHeight();
    int x = 0, y = 0;

    if (pendingPlacement == placeRight)
    {
        x = pendingTarget.getRight();
        y = pendingTarget.getY();

        if (x + width > coverWidth)
            x = pendingTarget.getX() - width; // opens to the left
    }
    else if (pendingPlacement == placeBelow)
    {
        x = juce::jmax (pendingTarget.getX(), 0);
        y = pendingTarget.getBottom();

        if (x + width > coverWidth)
            x = coverWidth - width;
    }

    // A window that would leave the Desktop at the bottom moves up, keeping
    // 24 pixels of it below the requested top; none leaves it at the top or
    // the left.
    if (y + height > coverHeight)
        y = y + 24 - height;

    window->setTopLeftPosition (juce::jmax (0, x), juce::jmax (0, y));
    addAndMakeVisible (window);
    topWindowMenu = &menu;
}

bool PopupMenuEx::PopupMenuComponent::closeTopWindow()
{
    const int count = windows.size();

    if (count == 0 || &windows.getUnchecked (count - 1)->getMenu() == &rootMenu)
        return false;

    windows.removeLast();
    topWindowMenu = count > 1 ? &windows.getUnchecked (count - 2)->getMenu() : nullptr;
    return true;
}

void PopupMenuEx::PopupMenuComponent::closeSubmenuWindows()
{
    stopTimer();
    pendingMenu = nullptr;

    while (closeTopWindow())
    {
    }
}

void PopupMenuEx::PopupMenuComponent::refitTopMenuWindow()
{
    if (auto* window = windows.getFirst())
    {
        window->setHoveredRow (-1);
        window->updateSize();
    }

    repaint();
}

void PopupMenuEx::PopupMenuComponent::rowHovered (Window& window, int row)
{
    auto* item = window.getMenu().getItem (row);

    if (item == nullptr)
        return;

    pendingMenu = item->hasSubmenu() ? item->submenu.get() : &window.getMenu();
    pendingTarget = { window.getX() - 5, window.getY() + row * rowHeight, window.getWidth() + 10, rowHeight };
    pendingPlacement = placeRight;

    if (pendingMenu != topWindowMenu)
        startTimer (submenuDelayMs);
    else
        stopTimer();

    window.setHoveredRow (row);
}

void PopupMenuEx::PopupMenuComponent::rowClicked (Window& window, int row)
{
    auto* item = window.getMenu().getItem (row);

    if (item == nullptr)
        return;

    if (item->hasSubmenu())
    {
        rowHovered (window, row);
    }
    else if (item->enabled)
    {
        stopTimer();
        rootMenu.chooseItem (*item);
    }
}

void PopupMenuEx::PopupMenuComponent::mouseDown (const juce::MouseEvent&)
{
    stopTimer();
    rootMenu.dismiss();
}

bool PopupMenuEx::PopupMenuComponent::keyPressed (const juce::KeyPress& key)
{
    if (key != juce::KeyPress::escapeKey)
        return false;

    stopTimer();
    rootMenu.dismiss();
    return true;
}

//==============================================================================
PopupMenuEx::Window::Window (PopupMenuComponent& menuOwner, PopupMenuEx& shownMenu)
    : owner (menuOwner), menu (shownMenu), font (getMenuFont (menuOwner))
{
    setWantsKeyboardFocus (false);
    updateSize();
}

void PopupMenuEx::Window::updateSize()
{
    int textWidth = 0;

    for (const auto* item : menu.items)
    {
        const auto itemFont = item->containsTicked ? font.boldened() : font;
        textWidth = juce::jmax (textWidth, juce::roundToInt (itemFont.getStringWidthFloat (item->displayText)));
    }

    setSize (textWidth + 36, menu.getNumItems() * rowHeight + 8);
}

int PopupMenuEx::Window::getRowAt (int y) const
{
    if (y < rowsTop)
        return -1;

    const int row = (y - rowsTop) / rowHeight;
    return row < menu.getNumItems() ? row : -1;
}

juce::Rectangle<int> PopupMenuEx::Window::getRowBounds (int row) const
{
    return { 0, rowsTop + row * rowHeight, getWidth(), rowHeight };
}

void PopupMenuEx::Window::setHoveredRow (int row)
{
    if (row == hoveredRow && row == currentRow)
        return;

    hoveredRow = row;
    currentRow = row;
    repaint();
}

void PopupMenuEx::Window::mouseMove (const juce::MouseEvent& e)
{
    const int row = getRowAt (e.y);

    if (row >= 0)
        owner.rowHovered (*this, row);
}

void PopupMenuEx::Window::mouseEnter (const juce::MouseEvent& e)
{
    mouseMove (e);
}

void PopupMenuEx::Window::mouseExit (const juce::MouseEvent&)
{
    if (hoveredRow >= 0)
    {
        hoveredRow = -1;
        repaint();
    }
}

void PopupMenuEx::Window::mouseDown (const juce::MouseEvent& e)
{
    const int row = getRowAt (e.y);

    if (row >= 0)
        owner.rowClicked (*this, row);
}

void PopupMenuEx::Window::lookAndFeelChanged()
{
    font = getMenuFont (*this);
    updateSize();
}

void PopupMenuEx::Window::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const int width = getWidth();

    g.setColour (juce::Colour (0xFFE3E3E3));
    g.fillRoundedRectangle (bounds.reduced (1.0f), 6.0f);
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (bounds.reduced (0.5f), 6.0f, 1.0f);

    const int tickX = menu.getTickColumn() == 1 ? width - 12 : 7;
    const int textX = menu.getTickColumn() == 0 ? 22 : 6;

    for (int row = 0; row < menu.items.size(); ++row)
    {
        const auto* item = menu.items.getUnchecked (row);
        const int top = rowsTop + row * rowHeight;

        if (row == hoveredRow || row == currentRow)
        {
            g.setColour (juce::Colour (0xFFADADAD));
            g.fillRoundedRectangle (4.0f, (float) top, (float) width - 8.0f, (float) rowHeight, 3.0f);
        }

        g.setColour (item->isShownEnabled() ? juce::Colours::black : juce::Colour (0xFF808080));

        if (item->hasSubmenu())
        {
            juce::Path arrow;
            arrow.addTriangle (0.0f, 0.5f, 7.0f, 3.5f, 0.0f, 6.5f);
            g.fillPath (arrow, juce::AffineTransform::translation ((float) (width - 14), (float) top + 4.5f));
        }

        if (item->ticked)
        {
            const auto mark = juce::Rectangle<float> ((float) tickX, (float) (top + 5), 5.0f, 5.0f);

            if (menu.getTickStyle() != 0)
                g.fillEllipse (mark);
            else
                g.fillRect (mark);
        }

        g.setFont (item->containsTicked ? font.boldened() : font);
        g.drawText (item->displayText, textX, top, width - 12, rowHeight, juce::Justification::centredLeft, true);
    }
}
