#include "toolkit/widgets/DefaultResourcesRadioButtons.h"

DefaultResourcesRadioButtons::DefaultResourcesRadioButtons (const juce::String& title, const juce::StringArray& labels)
    : RadioButtons_V2 (title, labels)
{
    pathComponent.addListener (this);
    addAndMakeVisible (pathComponent);
    selectionChanged();
    resized();
}

DefaultResourcesRadioButtons::~DefaultResourcesRadioButtons()
{
    pathComponent.removeListener (this);
}

void DefaultResourcesRadioButtons::selectionChanged()
{
    const int last = getNumButtons() - 1;
    pathComponent.setEnabled (last >= 0 && getSelectedIndex() == last);
}

void DefaultResourcesRadioButtons::resized()
{
    RadioButtons_V2::resized();

    const auto lastButton = getLastButtonBounds();
    const int x = lastButton.getRight() + pathGap;
    pathComponent.setBounds (x, lastButton.getY(), juce::jmax (0, getContentArea().getRight() - x), pathHeight);
}

void DefaultResourcesRadioButtons::childBoundsChanged (juce::Component* child)
{
    if (child == &pathComponent)
        resized();
}

void DefaultResourcesRadioButtons::pathChanged (PathComponent*)
{
    notifyListeners();
}
