#include "toolkit/skin/GFXMultiStateButton.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/FrameStrip.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/skin/SkinButtonXml.h"

GFXMultiStateButton::GFXMultiStateButton (const juce::String& name) : juce::Button (name)
{
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

GFXMultiStateButton::~GFXMultiStateButton() = default;

void GFXMultiStateButton::addAction (const juce::String& type, int eventId, const juce::String&)
{
    if (type == "onClick")
        onClickEvent = eventId;
    else if (type == "onClickWithCtrl")
        onClickWithCtrlEvent = eventId;
    else if (type == "onClickWithShift")
        onClickWithShiftEvent = eventId;
    else if (type == "onRightClick")
        onRightClickEvent = eventId;
}

void GFXMultiStateButton::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setButtonStateIndex (toolkit::frameForValue (parameter->getNormalised(), states));
}

void GFXMultiStateButton::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (const auto position = toolkit::readPosition (element, reader))
        setPosition (position->x, position->y);

    if (const auto size = toolkit::readSize (element, reader))
        setFrameSize (size->x, size->y);

    if (! tagIs (&element, "MultiStateButton"))
    {
        repaint();
        return;
    }

    const auto style = element.getStringAttribute ("style");

    if (style == "2D")
        threeD = false;
    else if (style == "3D")
        threeD = true;

    states = reader.readInt (element, "states", states, toolkit::skinbounds::states);

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        const auto resource = gfx->getStringAttribute ("resource");
        const auto strip = reader.findImage (resource);

        if (strip.isValid())
            setImage (strip, reader.checkFrameCount (resource, strip, threeD ? states * 2 : states));
    }

    toolkit::readClickTiming (*this, element);
    toolkit::readRadioGroup (*this, element, reader);
    repaint();
}

void GFXMultiStateButton::flash (int milliseconds)
{
    setButtonStateIndex (1);
    startTimer (milliseconds);
}

void GFXMultiStateButton::timerCallback()
{
    stopTimer();
    setButtonStateIndex (0);
}

void GFXMultiStateButton::setHighlighted (bool shouldBeHighlighted)
{
    if (shouldBeHighlighted == highlighted)
        return;

    highlighted = shouldBeHighlighted;
    repaint();
}

void GFXMultiStateButton::setButtonStateIndex (int newState)
{
    newState = juce::jlimit (0, states - 1, newState);

    if (newState == state)
        return;

    state = newState;
    repaint();
}

void GFXMultiStateButton::clicked (const juce::ModifierKeys& modifiers)
{
    int eventId = onClickEvent;

    if (modifiers.isCtrlDown() && onClickWithCtrlEvent != -1)
        eventId = onClickWithCtrlEvent;
    else if (modifiers.isShiftDown() && onClickWithShiftEvent != -1)
        eventId = onClickWithShiftEvent;
    else if (modifiers.isRightButtonDown() && onRightClickEvent != -1)
        eventId = onRightClickEvent;

    if (eventId != -1)
        notifyEventFired (eventId);
}

int GFXMultiStateButton::getFrameToShow (bool pressed) const noexcept
{
    int shown = state;

    if (highlighted)
        shown = state < 1 ? states - 1 : 0;
    else if (isBlinkDark())
        shown = 0;

    return threeD ? shown * 2 + (pressed ? 1 : 0) : shown;
}

void GFXMultiStateButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const bool pressed = isMouseOver && isButtonDown;

    if (hasImage())
    {
        drawFrame (g, getFrameToShow (pressed));
        return;
    }

    const auto square = getLocalBounds().toFloat().withSizeKeepingCentre (16.0f, 16.0f);
    g.setColour (juce::Colour::greyLevel (pressed ? 0.4f : 0.9f));
    g.fillRect (square);
    g.setColour (juce::Colours::black);
    g.drawRect (square, 1.0f);

    const float diameter = static_cast<float> (state) / static_cast<float> (states - 1) * 10.0f + 2.0f;
    g.fillEllipse (square.withSizeKeepingCentre (diameter, diameter));
}
