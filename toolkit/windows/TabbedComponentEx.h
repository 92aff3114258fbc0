#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The tabbed body of the options window: tabs along the top over a page with
// a rounded outline, and listeners told when the front tab changes. The pages
// follow this component's look and feel. Message thread.
class TabbedComponentEx : public juce::TabbedComponent
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F003000,
        frontTabTextColourId = 0x0F003001,
        outlineColourId = 0x0F003002
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the front tab changed.
        virtual void tabbedComponentChanged (TabbedComponentEx* tabbedComponent) = 0;
    };

    TabbedComponentEx();

    // Null and a listener already added are ignored.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void currentTabChanged (int newCurrentTabIndex, const juce::String& newCurrentTabName) override;
    void lookAndFeelChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    juce::ListenerList<Listener> listeners;
    juce::Path pageOutline;
    int contentMargin = 8;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TabbedComponentEx)
};
