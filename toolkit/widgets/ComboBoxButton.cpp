#include "toolkit/widgets/ComboBoxButton.h"

#include "framework/core/IntParameter.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"

namespace
{
// A small black arrow pointing down.
constexpr char downArrowSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<path d="M3.5 6 L12.5 6 L8 11 Z" fill="#000000"/></svg>)";
} // namespace

ComboBoxButton::ComboBoxButton()
{
    if (const auto arrow = toolkit::createDrawableFromSvg (downArrowSvg, sizeof (downArrowSvg) - 1))
        button.setIcon (*arrow);

    button.setIconOnRight (true);
    button.setIconMargins ({ 3, 1, 5, 1 });
    button.setTriggeredOnMouseDown (true);
    button.addListener (this);
    addAndMakeVisible (button);
    refreshText();
}

ComboBoxButton::~ComboBoxButton()
{
    button.removeListener (this);
}

void ComboBoxButton::setParameter (EnumParameter* parameter)
{
    if (parameter == nullptr)
        return;

    PopupMenuEx items;
    const auto labels = parameter->getItems();

    for (int i = 0; i < labels.size(); ++i)
        items.addItem (i, labels[i]);

    menu.getOwnMenu() = items;
    refreshText();

    if (getBoundParameter() == nullptr)
        bindParameter (parameter);
}

void ComboBoxButton::setSelectedId (int id, bool notify)
{
    if (id == selectedId)
        return;

    selectedId = id;
    refreshText();

    if (! notify)
        return;

    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this] (Listener& l) { l.comboBoxButtonChanged (this); });

    if (! checker.shouldBailOut())
        getBinding().writeInt (selectedId);
}

void ComboBoxButton::refreshText()
{
    const auto* item = menu.findItem (selectedId);
    button.setButtonText (item != nullptr ? item->text : juce::String ("---"));
    menu.tickItem (selectedId);
}

void ComboBoxButton::setExternalMenu (PopupMenuEx* externalMenu)
{
    menu.setExternalMenu (externalMenu);
    refreshText();
}

void ComboBoxButton::addListener (Listener* listener) { listeners.add (listener); }
void ComboBoxButton::removeListener (Listener* listener) { listeners.remove (listener); }

void ComboBoxButton::resized()
{
    button.setBounds (getLocalBounds());
}

void ComboBoxButton::buttonClicked (juce::Button* clicked)
{
    if (clicked != &button)
        return;

    if (! button.getToggleState())
    {
        button.setToggleState (true, juce::dontSendNotification);
        button.repaint();
    }

    menu.showBelow (*this);
}

void ComboBoxButton::releaseButton()
{
    button.setToggleState (false, juce::dontSendNotification);
}

void ComboBoxButton::popupMenuItemChosen (PopupMenuEx* answering, int itemId, bool)
{
    const auto answer = menu.takeAnswer (answering);

    if (answer == ComboMenu::Answer::notOurs)
        return;

    if (answer == ComboMenu::Answer::fromActiveMenu)
    {
        const juce::Component::SafePointer<ComboBoxButton> alive (this);
        setSelectedId (itemId, true);

        if (alive == nullptr)
            return;
    }

    releaseButton();
}

void ComboBoxButton::popupMenuDismissed (PopupMenuEx* answering)
{
    if (menu.takeAnswer (answering) != ComboMenu::Answer::notOurs)
        releaseButton();
}

void ComboBoxButton::updateFromParameter (Parameter* parameter)
{
    if (parameter == nullptr || parameter->getInt() == selectedId)
        return;

    selectedId = parameter->getInt();
    refreshText();
}
