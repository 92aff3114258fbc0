#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The endlessly scrolling credits of the about box: white text on black that
// moves up one pixel per timer tick and starts again below the visible area
// once its last line has left at the top. The owner starts and stops the
// timer. Message thread.
class CreditsText : public juce::Component,
                    public juce::Timer
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the credits were clicked.
        virtual void creditsClicked (CreditsText* credits) = 0;
    };

    explicit CreditsText (const juce::String& text);

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    bool isMouseOverText() const noexcept { return mouseOver; }
    juce::Rectangle<int> getTextBounds() const { return label.getBounds(); }

    // Message thread: one pixel up, or back below the visible area.
    void timerCallback() override;

    void resized() override;
    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;

private:
    int getStartY() const { return getHeight() + 5; }

    juce::Label label;
    int numLines = 0;
    bool mouseOver = false;
    juce::ListenerList<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CreditsText)
};
