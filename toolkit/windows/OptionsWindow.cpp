#include "toolkit/windows/OptionsWindow.h"

OptionsWindow::OptionsWindow()
    : WindowComponent ("OptionsWindow")
{
    addAndMakeVisible (tabs);
    setClosedByEscape (true);
}

void OptionsWindow::resized()
{
    WindowComponent::resized();
    tabs.setBounds (getContentArea());
}
