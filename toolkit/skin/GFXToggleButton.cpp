#include "toolkit/skin/GFXToggleButton.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/skin/SkinButtonXml.h"

GFXToggleButton::GFXToggleButton (const juce::String& name) : juce::Button (name)
{
    setClickingTogglesState (true);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void GFXToggleButton::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setToggleState (parameter->getBool(), juce::dontSendNotification);
}

void GFXToggleButton::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (const auto position = toolkit::readPosition (element, reader))
        setPosition (position->x, position->y);

    if (const auto size = toolkit::readSize (element, reader))
        setFrameSize (size->x, size->y);

    if (! tagIs (&element, "ToggleButton"))
    {
        repaint();
        return;
    }

    const auto style = element.getStringAttribute ("style");

    if (style == "2D")
        threeD = false;
    else if (style == "3D")
        threeD = true;

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        const auto resource = gfx->getStringAttribute ("resource");
        const auto strip = reader.findImage (resource);

        if (strip.isValid())
            setImage (strip, reader.checkFrameCount (resource, strip, threeD ? 4 : 2));
    }

    toolkit::readClickTiming (*this, element);
    toolkit::readRadioGroup (*this, element, reader);
    repaint();
}

void GFXToggleButton::clicked (const juce::ModifierKeys&)
{
    writeBool (getToggleState());
}

void GFXToggleButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const bool on = getToggleState();

    if (! hasImage())
    {
        g.fillAll (juce::Colour::greyLevel (0.9f));
        g.setColour (juce::Colours::black);
        g.setFont (toolkit::makeFont (13.0f));
        g.drawFittedText (on ? "On" : "Off", getLocalBounds(), juce::Justification::centred, 1, 0.7f);
        return;
    }

    int frame = 0;

    if (isEnabled() && ! isBlinkDark())
    {
        if (getFramesNum() == 2)
            frame = on ? 1 : 0;
        else if (getFramesNum() == 4)
            frame = (on ? 2 : 0) + (isMouseOver && isButtonDown ? 1 : 0);
    }

    drawFrame (g, frame);
}
