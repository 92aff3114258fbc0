#include "toolkit/widgets/DefaultResourceCheckBox.h"

DefaultResourceCheckBox::DefaultResourceCheckBox()
{
    checkBox.setTopLeftPosition (0, 0);
    checkBox.addListener (this);
    pathComponent.addListener (this);
    addAndMakeVisible (checkBox);
    addAndMakeVisible (pathComponent);
    updatePathEnablement();
}

DefaultResourceCheckBox::~DefaultResourceCheckBox()
{
    checkBox.removeListener (this);
    pathComponent.removeListener (this);
}

CheckBox_V2& DefaultResourceCheckBox::getCheckBox() noexcept { return checkBox; }

void DefaultResourceCheckBox::addListener (Listener* listener) { listeners.add (listener); }
void DefaultResourceCheckBox::removeListener (Listener* listener) { listeners.remove (listener); }

void DefaultResourceCheckBox::updatePathEnablement()
{
    pathComponent.setEnabled (! checkBox.getToggleState());
}

void DefaultResourceCheckBox::notifyListeners()
{
    listeners.callChecked (juce::Component::BailOutChecker (this), [this] (Listener& l) { l.defaultResourceChanged (this); });
}

void DefaultResourceCheckBox::resized()
{
    checkBox.changeWidthToFitText (getHeight());
    const int pathWidth = juce::jmax (0, getWidth() - checkBox.getWidth() - 6);
    pathComponent.setBounds (getWidth() - pathWidth, 0, pathWidth, getHeight());
}

void DefaultResourceCheckBox::pathChanged (PathComponent*)
{
    notifyListeners();
}

void DefaultResourceCheckBox::buttonClicked (juce::Button* button)
{
    if (button != &checkBox)
        return;

    updatePathEnablement();
    notifyListeners();
}
