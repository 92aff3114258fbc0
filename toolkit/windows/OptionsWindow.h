#pragma once

#include "toolkit/windows/TabbedComponentEx.h"
#include "toolkit/windows/WindowComponent.h"

// The options window: a titled window over a white veil whose content area
// is one tabbed component holding the settings pages; Escape closes it.
// Message thread.
class OptionsWindow : public WindowComponent
{
public:
    OptionsWindow();

    TabbedComponentEx& getTabs() noexcept { return tabs; }

    bool shouldDimBackground() const override { return true; }
    void resized() override;

private:
    TabbedComponentEx tabs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OptionsWindow)
};
