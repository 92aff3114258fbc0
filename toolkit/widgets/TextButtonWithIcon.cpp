#include "toolkit/widgets/TextButtonWithIcon.h"

#include "toolkit/widgets/ToggleButtonLook.h"

TextButtonWithIcon::TextButtonWithIcon()
{
    setWantsKeyboardFocus (false);
}

TextButtonWithIcon::~TextButtonWithIcon() = default;

void TextButtonWithIcon::setIcon (const juce::Drawable& icon)
{
    for (auto* slot : { &offIcon, &onIcon })
    {
        *slot = icon.createCopy();
        (*slot)->setInterceptsMouseClicks (false, false);
        (*slot)->setMouseClickGrabsKeyboardFocus (false);
        addAndMakeVisible (slot->get());
    }

    enablementChanged();
    buttonStateChanged();
    resized();
}

void TextButtonWithIcon::setIconOnRight (bool shouldBeOnRight)
{
    iconOnRight = shouldBeOnRight;
    resized();
    repaint();
}

void TextButtonWithIcon::setIconMargins (Margins newMargins)
{
    iconMargins = newMargins;
    resized();
    repaint();
}

juce::Rectangle<int> TextButtonWithIcon::getIconArea() const
{
    const int size = juce::jmax (0, getHeight() - iconMargins.top - iconMargins.bottom);
    const int x = iconOnRight ? getWidth() - iconMargins.right - size : iconMargins.left;
    return { x, iconMargins.top, size, size };
}

juce::Drawable* TextButtonWithIcon::getShownIcon() const noexcept
{
    return getToggleState() ? onIcon.get() : offIcon.get();
}

void TextButtonWithIcon::enablementChanged()
{
    const float alpha = isEnabled() ? 1.0f : 0.5f;

    for (auto* icon : { offIcon.get(), onIcon.get() })
        if (icon != nullptr)
            icon->setAlpha (alpha);

    juce::TextButton::enablementChanged();
    repaint();
}

void TextButtonWithIcon::resized()
{
    const auto area = getIconArea();

    if (area.isEmpty())
        return;

    for (auto* icon : { offIcon.get(), onIcon.get() })
        if (icon != nullptr)
            icon->setTransformToFit (area.toFloat(), juce::RectanglePlacement::centred);
}

void TextButtonWithIcon::buttonStateChanged()
{
    if (offIcon != nullptr)
        offIcon->setVisible (! getToggleState());

    if (onIcon != nullptr)
        onIcon->setVisible (getToggleState());

    // Dropped while the button only shows the parameter's value.
    getBinding().writeBool (getToggleState());
}

void TextButtonWithIcon::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setToggleState (parameter->getBool(), juce::dontSendNotification);
}

void TextButtonWithIcon::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    auto& look = getLookAndFeel();
    look.drawButtonBackground (g, *this, findColour (getToggleState() ? buttonOnColourId : buttonColourId),
                                      isMouseOver, isButtonDown);

    const auto iconArea = getIconArea();

    // The separator takes the shade the background has in this state.
    const auto shade = toolkit::getButtonFaceColour (*this, isMouseOver, isButtonDown);

    const int lineTop = 2, lineBottom = getHeight() - 3;

    if (lineBottom - lineTop > 2)
    {
        const int lineX = iconOnRight ? iconArea.getX() - 1 : iconArea.getRight();
        g.setColour (juce::Colours::black.withAlpha (0.4f * shade.getFloatAlpha()));
        g.drawVerticalLine (lineX, (float) lineTop, (float) lineBottom);
    }

    // The text is drawn once, beside the icon: over the whole button it
    // would run under the icon.
    auto textArea = getLocalBounds();

    if (iconOnRight)
        textArea.removeFromRight (iconArea.getWidth());
    else
        textArea.removeFromLeft (iconArea.getWidth());

    g.setColour (findColour (getToggleState() ? textColourOnId : textColourOffId)
                     .withMultipliedAlpha (isEnabled() ? 1.0f : 0.5f));
    g.setFont (look.getTextButtonFont (*this, getHeight()));
    g.drawText (getButtonText(), textArea, juce::Justification::centred, false);
}
