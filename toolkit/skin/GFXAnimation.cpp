#include "toolkit/skin/GFXAnimation.h"

#include "toolkit/binding/FrameStrip.h"

GFXAnimation::GFXAnimation (const juce::String& name) : juce::Component (name)
{
}

GFXAnimation::~GFXAnimation() = default;

void GFXAnimation::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setFrame (toolkit::frameForValue (parameter->getNormalised(), getFramesNum()));
}

void GFXAnimation::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    BaseGFXController::loadFromXml (element, reader);
    frame = 0;
    applyFrameBounds();
    repaint();
}

void GFXAnimation::flash (int milliseconds)
{
    setFrame (1);
    startTimer (milliseconds);
}

void GFXAnimation::timerCallback()
{
    stopTimer();
    setFrame (0);
}

void GFXAnimation::setFrame (int newFrame)
{
    const int kept = juce::jlimit (0, getFramesNum() - 1, newFrame);

    if (kept == frame)
        return;

    frame = kept;
    repaint();
}

void GFXAnimation::paint (juce::Graphics& g)
{
    if (hasImage())
        drawFrame (g, isBlinkDark() ? 0 : frame);
    else
        paintWithoutImage (g);
}

void GFXAnimation::paintWithoutImage (juce::Graphics& g)
{
    const auto square = getLocalBounds().toFloat().withSizeKeepingCentre (16.0f, 16.0f);
    g.setColour (juce::Colour::greyLevel (0.9f));
    g.fillRect (square);
    g.setColour (juce::Colours::black);
    g.drawRect (square, 1.0f);

    // A one-frame animation has no value to show.
    if (getFramesNum() > 1)
    {
        const float diameter = static_cast<float> (frame) / static_cast<float> (getFramesNum() - 1) * 10.0f;
        g.fillEllipse (square.withSizeKeepingCentre (diameter, diameter));
    }
}
