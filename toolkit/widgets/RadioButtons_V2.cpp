#include "toolkit/widgets/RadioButtons_V2.h"

#include "toolkit/widgets/ToggleButtonLook.h"

RadioButton::RadioButton (const juce::String& label)
    : juce::TextButton (label)
{
}

void RadioButton::changeWidthToFitText (int height)
{
    toolkit::fitToggleButtonToText (*this, height);
}

void RadioButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const auto dotArea = juce::Rectangle<int> (2, 2, getHeight() - 4, getHeight() - 4).toFloat();

    if (! dotArea.isEmpty())
    {
        juce::Path dot;
        dot.addEllipse (dotArea);
        toolkit::fillToggleShape (g, dot, toolkit::getButtonFaceColour (*this, isMouseOver, isButtonDown));

        if (getToggleState())
        {
            g.setColour (juce::Colours::black);
            g.fillEllipse (dotArea.withSizeKeepingCentre (dotArea.getWidth() / 2.0f, dotArea.getHeight() / 2.0f));
        }
    }

    toolkit::drawToggleLabel (g, *this);
}

//==============================================================================
RadioButtons_V2::RadioButtons_V2 (const juce::String& title, const juce::StringArray& labels)
{
    panel.setTitle (title);

    for (const auto& label : labels)
    {
        auto* button = buttons.add (std::make_unique<RadioButton> (label));
        button->setWantsKeyboardFocus (false);
        button->changeWidthToFitText (buttonHeight);
        button->setClickingTogglesState (true);
        button->setTriggeredOnMouseDown (true);
        button->addListener (this);
        row.addAndMakeVisible (button);
    }

    panel.setContentComponent (&row, false);
    addAndMakeVisible (panel);
    setButtonWidth (-1);
}

RadioButtons_V2::~RadioButtons_V2()
{
    for (auto* button : buttons)
        button->removeListener (this);
}

int RadioButtons_V2::toValidIndex (int index) const noexcept
{
    // Compared without sign: negative values are out of range too.
    return (unsigned int) index < (unsigned int) buttons.size() ? index : -1;
}

void RadioButtons_V2::showSelection()
{
    for (int i = 0; i < buttons.size(); ++i)
        buttons.getUnchecked (i)->setToggleState (i == selectedIndex, juce::dontSendNotification);
}

bool RadioButtons_V2::notifyListeners()
{
    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this] (Listener& l) { l.radioButtonsChanged (this); });
    return ! checker.shouldBailOut();
}

void RadioButtons_V2::setSelectedIndex (int index, bool notify)
{
    const int newIndex = toValidIndex (index);
    const bool changed = newIndex != selectedIndex;
    selectedIndex = newIndex;
    // Always: a click toggles the clicked button whatever the selection.
    showSelection();

    if (changed && notify)
    {
        if (! notifyListeners())
            return;

        getBinding().writeInt (selectedIndex);
    }

    selectionChanged();
}

void RadioButtons_V2::buttonClicked (juce::Button* button)
{
    int position = -1;

    for (int i = 0; i < buttons.size() && position < 0; ++i)
        if (buttons.getUnchecked (i) == button)
            position = i;

    setSelectedIndex (position, true);
}

void RadioButtons_V2::updateFromParameter (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    selectedIndex = toValidIndex (parameter->getInt());
    showSelection();
    selectionChanged();
}

void RadioButtons_V2::setButtonWidth (int width)
{
    if (width < 0)
    {
        width = 0;

        for (auto* button : buttons)
        {
            button->changeWidthToFitText (-1);
            width = juce::jmax (width, button->getWidth());
        }
    }

    buttonWidth = width;

    for (auto* button : buttons)
        button->setSize (buttonWidth, button->getHeight());

    panel.setPanelSize (-1, -1);
    setSize (panel.getWidth(), panel.getHeight());
    resized();
}

juce::Rectangle<int> RadioButtons_V2::getLastButtonBounds() const
{
    if (const auto* last = buttons.getLast())
        return getLocalArea (&row, last->getBounds());

    return {};
}

juce::Rectangle<int> RadioButtons_V2::getContentArea() const
{
    return panel.getContentArea() + panel.getPosition();
}

void RadioButtons_V2::addListener (Listener* listener) { listeners.add (listener); }
void RadioButtons_V2::removeListener (Listener* listener) { listeners.remove (listener); }

void RadioButtons_V2::resized()
{
    panel.setSize (getWidth(), getHeight());

    for (auto* button : buttons)
        button->setSize (buttonWidth, button->getHeight());
}
