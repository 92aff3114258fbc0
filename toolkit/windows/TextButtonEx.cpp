#include "toolkit/windows/TextButtonEx.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
const juce::Colour accent { 0xFFFF6C00 };
const juce::Colour face { 0xFFE0E0E0 };
const juce::Colour edge { 0xFFA0A0A0 };
} // namespace

TextButtonEx::TextButtonEx (const juce::String& name)
    : juce::Button (name), font (toolkit::makeFont (13.0f))
{
    setButtonText (name);
    textWidth = (int) std::ceil (font.getStringWidthFloat (name));
    updateSize();
    lookAndFeelChanged();
}

void TextButtonEx::updateSize()
{
    setSize (leftCapWidth + textWidth + rightCapWidth, buttonHeight);
}

void TextButtonEx::setImages (const Images& newImages)
{
    images = newImages;
    leftCapWidth = images[0].getWidth();
    rightCapWidth = images[2].getWidth();
    buttonHeight = images[0].getHeight();
    updateSize();
}

void TextButtonEx::setStyle (int newStyle)
{
    style = newStyle;
    lookAndFeelChanged();
}

void TextButtonEx::lookAndFeelChanged()
{
    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
    {
        font = toolkitLook->getRegularFont();
        const int newTextWidth = (int) std::ceil (font.getStringWidthFloat (getButtonText()));

        if (newTextWidth != textWidth)
        {
            textWidth = newTextWidth;
            updateSize();
        }

        toolkitLook->setWindowButtonImages (*this, style);
    }
}

void TextButtonEx::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const auto area = getLocalBounds().reduced (3, 4);
    const bool lit = isButtonDown || getToggleState();

    g.setColour (lit ? accent : isMouseOver ? accent.brighter (0.4f) : face);
    g.fillRect (area);
    g.setColour (lit ? face : edge);
    g.drawRect (area, 1);

    g.setColour (juce::Colours::black);
    g.setFont (font);
    g.drawText (getButtonText(), leftCapWidth, 0, textWidth, getHeight(), juce::Justification::centredLeft, false);
}
