#include "toolkit/windows/OptionsWindow.h"

OptionsWindow::OptionsWindow()
    : WindowComponent ("OptionsWindow")
{
    addAndMakeVisible (tabs);
}

void OptionsWindow::resized()
{
    WindowComponent::resized();
    tabs.setBounds (getContentArea());
}
