#include "toolkit/widgets/ToolbarDrawableButton.h"

#include "toolkit/lookandfeel/ToolkitArtwork.h"

ToolbarDrawableButton::ToolbarDrawableButton (const juce::String& name, int iconId)
    : juce::DrawableButton (name, juce::DrawableButton::ImageFitted),
      icon (toolkit::getToolbarIcon (iconId))
{
    setEdgeIndent (1);
    setTooltip (name);
    showIconInTextColour();
}

ToolbarDrawableButton::~ToolbarDrawableButton() = default;

void ToolbarDrawableButton::showIconInTextColour()
{
    if (icon == nullptr)
        return;

    // Recolouring the black of a fresh copy each time keeps every later look
    // able to recolour it again.
    const auto shown = icon->createCopy();
    shown->replaceColour (juce::Colours::black, findColour (juce::DrawableButton::textColourId));
    setImages (shown.get());
}

void ToolbarDrawableButton::lookAndFeelChanged()
{
    juce::DrawableButton::lookAndFeelChanged();
    showIconInTextColour();
}

void ToolbarDrawableButton::parentHierarchyChanged()
{
    juce::DrawableButton::parentHierarchyChanged();
    showIconInTextColour();
}

void ToolbarDrawableButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    if (! (getClickingTogglesState() || isMouseOver || isButtonDown))
        return;

    getLookAndFeel().drawButtonBackground (g, *this,
                                           findColour (getToggleState() ? juce::TextButton::buttonOnColourId
                                                                        : juce::TextButton::buttonColourId),
                                           isMouseOver, isButtonDown);
}

void ToolbarDrawableButton::buttonStateChanged()
{
    juce::DrawableButton::buttonStateChanged();
    // Dropped while the button only shows the parameter's value.
    getBinding().writeBool (getToggleState());
}

void ToolbarDrawableButton::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setToggleState (parameter->getBool(), juce::dontSendNotification);
}
