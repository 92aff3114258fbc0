#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A label drawn by the toolkit's look and feel (text only, no background)
// and measured for columns of equally wide labels. Message thread.
class HardLabel : public juce::Label
{
public:
    // Implemented by the toolkit's look and feel.
    class LookAndFeelMethods
    {
    public:
        virtual ~LookAndFeelMethods() = default;
        virtual void drawHardLabel (juce::Graphics& g, HardLabel& label) = 0;
    };

    using juce::Label::Label;

    // The width of the text in the font the look and feel gives labels,
    // rounded to whole pixels.
    int getTextWidth();

    void paint (juce::Graphics& g) override;
};
