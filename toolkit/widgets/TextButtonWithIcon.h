#pragma once

#include "toolkit/binding/ParameterController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The standard text button with a square icon at one end, separated from
// the text by a thin line; the combo box button is built on it. It shows one
// icon while off and its twin while on, takes no keyboard focus and, when
// bound, its toggle state follows the parameter's bool and writes it back
// each time the user changes it. Message thread.
class TextButtonWithIcon : public juce::TextButton,
                           public ParameterController
{
public:
    struct Margins
    {
        int top = 1, left = 1, bottom = 1, right = 1; // pixels
    };

    TextButtonWithIcon();
    ~TextButtonWithIcon() override;

    // Replaces both icons with copies of the drawable.
    void setIcon (const juce::Drawable& icon);

    // Each lays the button out again.
    void setIconOnRight (bool shouldBeOnRight);
    void setIconMargins (Margins newMargins);

    bool isIconOnRight() const noexcept { return iconOnRight; }
    // The icon's square: as high as the button less the top and bottom
    // margins (never negative), at the chosen end.
    juce::Rectangle<int> getIconArea() const;
    juce::Drawable* getShownIcon() const noexcept;

    void enablementChanged() override;
    void resized() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void buttonStateChanged() override;
    void updateFromParameter (Parameter* parameter) override;

private:
    bool iconOnRight = false;
    Margins iconMargins;
    std::unique_ptr<juce::Drawable> offIcon, onIcon;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TextButtonWithIcon)
};
