#pragma once

#include "toolkit/binding/ParameterController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A toolbar button showing one of the toolkit's icons, fitted inside a
// 1-pixel edge, with the name as its tooltip. The icon is drawn in the
// button's juce::DrawableButton::textColourId; a face is drawn only under the
// mouse, while pressed, or when the button toggles. When bound, the toggle
// state follows the parameter's bool and writes it back when the user
// changes it. An id without an icon gives a button with no image. Message
// thread.
class ToolbarDrawableButton : public juce::DrawableButton,
                              public ParameterController
{
public:
    ToolbarDrawableButton (const juce::String& name, int iconId);
    ~ToolbarDrawableButton() override;

    bool hasIcon() const noexcept { return icon != nullptr; }

    void lookAndFeelChanged() override;
    // Takes the colour of the look of the window it was added to.
    void parentHierarchyChanged() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void buttonStateChanged() override;
    void updateFromParameter (Parameter* parameter) override;

private:
    void showIconInTextColour();

    // The icon as drawn, black: each look recolours a fresh copy of it.
    const std::unique_ptr<juce::Drawable> icon;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToolbarDrawableButton)
};
