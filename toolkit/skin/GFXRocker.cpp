#include "toolkit/skin/GFXRocker.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"

namespace
{
constexpr int rockerFrames = 3;
}

GFXRocker::GFXRocker (const juce::String& name) : juce::Component (name)
{
}

void GFXRocker::addAction (const juce::String& type, int eventId, const juce::String&)
{
    if (type == "onLessClick")
        onLessClickEvent = eventId;
    else if (type == "onMoreClick")
        onMoreClickEvent = eventId;
    else if (type == "onLessClickWithCtrl")
        onLessClickWithCtrlEvent = eventId;
    else if (type == "onMoreClickWithCtrl")
        onMoreClickWithCtrlEvent = eventId;
}

void GFXRocker::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    BaseGFXController::loadFromXml (element, reader);

    // The strip is three frames whatever the skin's framesNum says.
    if (hasImage())
    {
        const auto* gfx = findChildWithTag (&element, "gfx");

        if (reader.readInt (*gfx, "framesNum", rockerFrames, toolkit::skinbounds::frames) != rockerFrames)
            reader.report ("a rocker's strip has " + juce::String (rockerFrames) + " frames: framesNum "
                           + gfx->getStringAttribute ("framesNum") + " ignored");

        setImage (getImage(), reader.checkFrameCount (gfx->getStringAttribute ("resource"), getImage(), rockerFrames));
    }

    const auto type = element.getStringAttribute ("type");

    if (type == "vertical")
        horizontal = false;
    else if (type == "horizontal")
        horizontal = true;

    applyFrameBounds();
    repaint();
}

void GFXRocker::mouseDown (const juce::MouseEvent& event)
{
    const bool more = horizontal ? event.x > getWidth() / 2 : event.y < getHeight() / 2;
    const bool ctrl = event.mods.isCtrlDown();

    partAtPress = more ? morePart : lessPart;
    showPart (partAtPress);

    const int eventId = more ? (ctrl ? onMoreClickWithCtrlEvent : onMoreClickEvent)
                             : (ctrl ? onLessClickWithCtrlEvent : onLessClickEvent);

    if (eventId != -1)
        notifyEventFired (eventId);
}

void GFXRocker::mouseDrag (const juce::MouseEvent& event)
{
    showPart (getLocalBounds().contains (event.getPosition()) ? partAtPress : restPart);
}

void GFXRocker::mouseUp (const juce::MouseEvent&)
{
    showPart (restPart);
}

void GFXRocker::showPart (int part)
{
    if (part == pressedPart)
        return;

    pressedPart = part;
    repaint();
}

void GFXRocker::paint (juce::Graphics& g)
{
    if (hasImage())
    {
        drawFrame (g, pressedPart);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (0.9f));

    if (pressedPart != restPart)
    {
        auto area = getLocalBounds();
        const bool more = pressedPart == morePart;
        const auto half = horizontal ? (more ? area.removeFromRight (getWidth() / 2) : area.removeFromLeft (getWidth() / 2))
                                     : (more ? area.removeFromTop (getHeight() / 2) : area.removeFromBottom (getHeight() / 2));
        g.setColour (juce::Colour::greyLevel (0.4f));
        g.fillRect (half);
    }

    g.setColour (juce::Colours::black);
    g.drawRect (getLocalBounds());
}
