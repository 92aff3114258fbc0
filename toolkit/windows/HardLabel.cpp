#include "toolkit/windows/HardLabel.h"

int HardLabel::getTextWidth()
{
    // The font's own width includes its extra kerning and horizontal scale.
    return juce::roundToInt (getLookAndFeel().getLabelFont (*this).getStringWidthFloat (getText()));
}

void HardLabel::paint (juce::Graphics& g)
{
    if (auto* methods = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
        methods->drawHardLabel (g, *this);
    else
        getLookAndFeel().drawLabel (g, *this);
}
