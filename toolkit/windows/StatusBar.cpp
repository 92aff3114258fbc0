#include "toolkit/windows/StatusBar.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

StatusBar::StatusBar()
    : font (toolkit::makeFont (13.0f))
{
    setOpaque (true);
    clearMessage (-1);
    lookAndFeelChanged();
}

bool StatusBar::replaceMessage (const juce::String& text, int priority)
{
    if (text == message || priority < messagePriority)
        return false;

    messagePriority = priority;
    message = text;
    repaint();
    return true;
}

void StatusBar::showMessage (const juce::String& text, int priority)
{
    if (replaceMessage (text, priority))
        stopTimer();
}

void StatusBar::showTimedMessage (const juce::String& text, int priority)
{
    if (replaceMessage (text, priority))
        startTimer (timedMessageMs);
}

void StatusBar::clearMessage (int priority)
{
    if (priority != -1 && priority < messagePriority)
        return;

    messagePriority = 0;

    if (message.isNotEmpty())
    {
        message.clear();
        stopTimer();
        repaint();
    }
}

void StatusBar::timerCallback()
{
    clearMessage (-1);
}

void StatusBar::lookAndFeelChanged()
{
    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
    {
        font = toolkitLook->getStatusBarFont();
        setSize (getWidth(), toolkitLook->getStatusBarHeight());
    }

    repaint();
}

void StatusBar::paint (juce::Graphics& g)
{
    g.setColour (findColour (backgroundColourId));
    g.fillRect (g.getClipBounds());
    g.setColour (findColour (textColourId));
    g.setFont (font);
    g.drawText (message, 5, 0, getWidth(), getHeight(), juce::Justification::centredLeft, false);
}
