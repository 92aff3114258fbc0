#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// One line of text under the editor. Each message carries a priority: it
// replaces the shown one only when its priority is not lower, and a clear
// with a lower priority leaves the shown one. A timed message clears itself
// after three seconds. Message thread.
class StatusBar : public juce::Component,
                  public juce::Timer
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F004001,
        textColourId = 0x0F004002
    };

    static constexpr int timedMessageMs = 3000;

    StatusBar();

    // Shows the text until it is cleared or replaced.
    void showMessage (const juce::String& text, int priority);
    // Shows the text and clears it after timedMessageMs; the same text again
    // does not restart the time.
    void showTimedMessage (const juce::String& text, int priority);
    // Clears the shown message when priority is -1 or not lower than its own.
    void clearMessage (int priority);

    const juce::String& getMessage() const noexcept { return message; }
    int getPriority() const noexcept { return messagePriority; }

    void paint (juce::Graphics& g) override;
    void lookAndFeelChanged() override;

    // Message thread: the timed message's time is up.
    void timerCallback() override;

private:
    bool replaceMessage (const juce::String& text, int priority);

    juce::Font font;
    juce::String message;
    int messagePriority = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusBar)
};
