#include "toolkit/widgets/ComboMenu.h"

ComboMenu::ComboMenu (PopupMenuEx::Listener& control)
    : listener (control)
{
    ownMenu.addListener (&listener);
}

ComboMenu::~ComboMenu()
{
    setExternalMenu (nullptr);
    ownMenu.removeListener (&listener);
}

void ComboMenu::setExternalMenu (PopupMenuEx* menu)
{
    if (menu == externalMenu.get())
        return;

    if (auto* previous = externalMenu.get())
        previous->removeListener (&listener);

    externalMenu = menu;

    if (menu != nullptr && menu != &ownMenu)
        menu->addListener (&listener);
}

PopupMenuEx& ComboMenu::getActiveMenu() noexcept
{
    if (auto* external = externalMenu.get())
        return *external;

    return ownMenu;
}

const PopupMenuEx::Item* ComboMenu::findItem (int id)
{
    return getActiveMenu().findItemById (id);
}

void ComboMenu::tickItem (int id)
{
    getActiveMenu().setItemTicked (id, true, true);
}

void ComboMenu::showBelow (juce::Component& control)
{
    auto& menu = getActiveMenu();
    openedMenu = &menu;
    menu.show (&control, {}, PopupMenuEx::placeBelow);
}

ComboMenu::Answer ComboMenu::takeAnswer (const PopupMenuEx* menu)
{
    if (menu == nullptr || menu != openedMenu.get())
        return Answer::notOurs;

    openedMenu = nullptr;
    return menu == &getActiveMenu() ? Answer::fromActiveMenu : Answer::fromOtherMenu;
}
