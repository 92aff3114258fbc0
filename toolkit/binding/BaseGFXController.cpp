#include "toolkit/binding/BaseGFXController.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/FrameStrip.h"
#include "toolkit/binding/SkinXml.h"

void BaseGFXController::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    framesNum = 1;

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        const auto resource = gfx->getStringAttribute ("resource");
        const int askedFrames = reader.readInt (*gfx, "framesNum", 1, toolkit::skinbounds::frames);
        const auto strip = reader.findImage (resource);

        // Without its image the control still draws its plain look, which
        // shows the value on framesNum steps.
        if (strip.isValid())
            setImage (strip, reader.checkFrameCount (resource, strip, askedFrames));
        else
            framesNum = askedFrames;
    }

    readPositionAndSize (element, reader);
}

void BaseGFXController::setImage (const juce::Image& newImage, int newFramesNum)
{
    if (! newImage.isValid())
    {
        image = {};
        return;
    }

    if (newImage != image)
        image = newImage;

    framesNum = toolkit::clampFrameCount (newFramesNum, image.getHeight());
    setFrameSize (image.getWidth(), image.getHeight() / framesNum);
}

void BaseGFXController::setFramesNum (int newFramesNum)
{
    if (image.isValid())
        setImage (image, newFramesNum);
    else
        framesNum = juce::jmax (1, newFramesNum);
}

void BaseGFXController::updateSize()
{
    if (auto* component = asComponent())
        component->setSize (frameWidth, frameHeight);
}

void BaseGFXController::updatePosition()
{
    if (auto* component = asComponent())
        component->setTopLeftPosition (left, top);
}

void BaseGFXController::setFrameSize (int width, int height)
{
    if (width == frameWidth && height == frameHeight)
        return;

    frameWidth = width;
    frameHeight = height;
    updateSize();
}

void BaseGFXController::setPosition (int newLeft, int newTop)
{
    if (newLeft == left && newTop == top)
        return;

    left = newLeft;
    top = newTop;
    updatePosition();
}

void BaseGFXController::readPositionAndSize (const juce::XmlElement& element, SkinReader& reader)
{
    if (! image.isValid())
        if (const auto size = toolkit::readSize (element, reader))
            setFrameSize (size->x, size->y);

    if (const auto position = toolkit::readPosition (element, reader))
        setPosition (position->x, position->y);
}

void BaseGFXController::applyFrameBounds()
{
    if (auto* component = asComponent())
        component->setBounds (left, top, frameWidth, frameHeight);
}

void BaseGFXController::drawFrame (juce::Graphics& g, int frameIndex) const
{
    toolkit::drawFrame (g, image, frameIndex, frameWidth, frameHeight);
}
