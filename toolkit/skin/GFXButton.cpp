#include "toolkit/skin/GFXButton.h"

#include "framework/core/XmlTags.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/skin/SkinButtonXml.h"

// A skin's buttons are pressed with the mouse. Holding the keyboard focus,
// one would take the host's keys (Space would press it rather than start the
// host's transport) and, remembered as the last focused, win the focus back
// from a window opened after it (Escape would no longer close Options).
GFXButton::GFXButton (const juce::String& name) : juce::Button (name)
{
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void GFXButton::addAction (const juce::String& type, int eventId, const juce::String& eventName)
{
    if (type == "onClick")
    {
        onClickEvent = eventId;
        onClickName = eventName;
    }
    else if (type == "onClickWithCtrl")
    {
        onClickWithCtrlEvent = eventId;
        onClickWithCtrlName = eventName;
    }
    else if (type == "onRightClick")
    {
        onRightClickEvent = eventId;
        onRightClickName = eventName;
    }
}

void GFXButton::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    BaseGFXController::loadFromXml (element, reader);

    if (tagIs (&element, "Button"))
    {
        // A bound button holds its parameter while pressed, so it acts at once.
        if (getBoundParameter() != nullptr)
            setTriggeredOnMouseDown (true);
        else
            toolkit::readClickTiming (*this, element);

        const auto repeat = element.getStringAttribute ("autorepeat", "no");

        if (repeat == "yes")
            setRepeatSpeed (1000, 100, -1);
        else if (repeat == "no")
            setRepeatSpeed (-1, -1, -1);
    }

    applyFrameBounds();
    updateTooltip ({});
    repaint();
}

void GFXButton::mouseEnter (const juce::MouseEvent& event)
{
    juce::Button::mouseEnter (event);
    updateTooltip (event.mods);
}

void GFXButton::modifierKeysChanged (const juce::ModifierKeys& modifiers)
{
    juce::Button::modifierKeysChanged (modifiers);
    updateTooltip (modifiers);
}

void GFXButton::updateTooltip (const juce::ModifierKeys& modifiers)
{
    setTooltip (modifiers.isCtrlDown() && onClickWithCtrlEvent != -1 ? onClickWithCtrlName : onClickName);
}

void GFXButton::clicked (const juce::ModifierKeys& modifiers)
{
    int eventId = onClickEvent;

    if (modifiers.isCtrlDown())
        eventId = onClickWithCtrlEvent;
    else if (modifiers.isRightButtonDown() && onRightClickEvent != -1)
        eventId = onRightClickEvent;

    if (eventId != -1)
        notifyEventFired (eventId);
}

void GFXButton::buttonStateChanged()
{
    if (getBoundParameter() == nullptr)
        return;

    const bool down = getState() == buttonDown;

    if (down == lastDown)
        return;

    lastDown = down;

    if (down)
        gesture.emplace (*this);

    writeBool (down);

    if (! down)
        gesture.reset();
}

void GFXButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const bool pressed = isMouseOver && isButtonDown;

    if (hasImage())
    {
        drawFrame (g, pressed ? 1 : 0);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (pressed ? 0.4f : 0.9f));
    g.setColour (juce::Colours::black);
    g.drawRect (getLocalBounds());
    g.setFont (toolkit::makeFont (13.0f));
    g.drawFittedText (getButtonText(), getLocalBounds(), juce::Justification::centred, 1, 0.7f);
}
