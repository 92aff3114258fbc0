#include "toolkit/windows/CreditsText.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"

CreditsText::CreditsText (const juce::String& text)
{
    label.setText (text, juce::dontSendNotification);
    label.setColour (juce::Label::backgroundColourId, juce::Colours::black);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    label.setFont (toolkit::makeFont (13.0f));
    label.setJustificationType (juce::Justification::centredTop);
    // Every line fits: no border takes height from the text.
    label.setBorderSize ({});
    label.setEditable (false);
    label.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (label);
    numLines = juce::StringArray::fromLines (text).size();
}

void CreditsText::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void CreditsText::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void CreditsText::resized()
{
    label.setBounds (0, getStartY(), getWidth(), numLines * (int) label.getFont().getHeight());
}

void CreditsText::timerCallback()
{
    const int y = label.getY() - 1;
    label.setTopLeftPosition (0, y + label.getHeight() < 0 ? getStartY() : y);
}

void CreditsText::mouseEnter (const juce::MouseEvent&) { mouseOver = true; }
void CreditsText::mouseExit (const juce::MouseEvent&) { mouseOver = false; }

void CreditsText::mouseDown (const juce::MouseEvent&)
{
    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this] (Listener& l) { l.creditsClicked (this); });
}
