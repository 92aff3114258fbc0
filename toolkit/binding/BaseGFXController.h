#pragma once

#include "toolkit/binding/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

// What every image-strip control shares: one image of framesNum equal frames
// stacked vertically, the size of one frame (which is the control's size) and
// the control's position in its panel. Message thread.
//
// The skin element adds, to links and actions:
//   <gfx resource="knob.png" framesNum="61"/>  the strip (one frame when
//                                              framesNum is absent)
//   <size width="40" height="40"/>             only without an image
//   <pos left="10" top="20"/>
class BaseGFXController : public GUIController
{
public:
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Takes the strip and its frame count (kept within 1..image height); the
    // frame size becomes the image width by image height / framesNum, and
    // updateSize runs when it changed. A null image leaves the frame size.
    void setImage (const juce::Image& newImage, int newFramesNum);

    // Sets the frame count alone (at least 1; with an image, at most one per
    // row, and the frame size follows).
    void setFramesNum (int newFramesNum);

    // The control's own size and position follow the frame size and the
    // position read from the skin: a control that is a component sets its
    // bounds; others may do more.
    virtual void updateSize();
    virtual void updatePosition();

    const juce::Image& getImage() const noexcept { return image; }
    bool hasImage() const noexcept { return image.isValid(); }
    int getFramesNum() const noexcept { return framesNum; }
    int getFrameWidth() const noexcept { return frameWidth; }
    int getFrameHeight() const noexcept { return frameHeight; }

protected:
    // Sets the frame size (an image-less control's size); updateSize runs
    // when it changed.
    void setFrameSize (int width, int height);

    // Sets the position; updatePosition runs when it changed.
    void setPosition (int newLeft, int newTop);

    // Reads <pos> and <size> (the size only when there is no image).
    void readPositionAndSize (const juce::XmlElement& element, SkinReader& reader);

    // A control that is a component takes the skin's position and the frame
    // size as its bounds.
    void applyFrameBounds();

    // Draws frame frameIndex of the strip, clamped into the strip.
    void drawFrame (juce::Graphics& g, int frameIndex) const;

    juce::Component* asComponent() noexcept { return dynamic_cast<juce::Component*> (this); }

private:
    juce::Image image;
    int framesNum = 1;
    int frameWidth = 0, frameHeight = 0;
    int left = 0, top = 0;
};
