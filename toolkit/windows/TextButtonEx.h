#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

// A flat text button of the toolkit's windows. Its size comes from a set of
// seven images the look and feel applies (caps and height) and its text
// width; the images themselves are not drawn. Message thread.
class TextButtonEx : public juce::Button
{
public:
    static constexpr int numImages = 7;
    using Images = std::array<juce::Image, numImages>;

    explicit TextButtonEx (const juce::String& name);

    // Stores the images: the first gives the left cap width and the height,
    // the third the right cap width; the button takes its size from them.
    void setImages (const Images& newImages);

    // The image set the look and feel applies.
    void setStyle (int newStyle);
    int getStyle() const noexcept { return style; }

    int getTextWidth() const noexcept { return textWidth; }
    int getLeftCapWidth() const noexcept { return leftCapWidth; }
    int getRightCapWidth() const noexcept { return rightCapWidth; }

    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void lookAndFeelChanged() override;

private:
    void updateSize();

    Images images;
    int textWidth = 0;
    int leftCapWidth = 10;
    int rightCapWidth = 10;
    int buttonHeight = 20;
    juce::Font font;
    int style = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TextButtonEx)
};
