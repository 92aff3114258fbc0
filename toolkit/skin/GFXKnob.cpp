#include "toolkit/skin/GFXKnob.h"

#include "toolkit/binding/FrameStrip.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

GFXKnob::GFXKnob (const juce::String& name) : juce::Slider (name)
{
    setSliderStyle (RotaryVerticalDrag);
    setTextBoxStyle (NoTextBox, true, 0, 0);
    setRange (0.0, 1.0, 0.0);
    setValue (0.0, juce::dontSendNotification);
}

GFXKnob::~GFXKnob() = default;

void GFXKnob::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setValue (normalisedToSlider (parameter->getNormalised()), juce::dontSendNotification);
}

void GFXKnob::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    BaseGFXController::loadFromXml (element, reader);
    applyFrameBounds();
    repaint();
}

void GFXKnob::startedDragging()
{
    dragging = true;
    gesture.emplace (*this);
}

void GFXKnob::stoppedDragging()
{
    dragging = false;
    gesture.reset();
}

void GFXKnob::valueChanged()
{
    writeNormalised (sliderToNormalised (getValue()));
}

int GFXKnob::getFrameForValue() const
{
    const double range = getMaximum() - getMinimum();
    const double proportion = range > 0.0 ? (getValue() - getMinimum()) / range : 0.0;
    return toolkit::frameForValue (static_cast<float> (proportion), getFramesNum());
}

void GFXKnob::paint (juce::Graphics& g)
{
    if (! hasImage())
    {
        paintWithoutImage (g);
        return;
    }

    drawFrame (g, isEnabled() ? getFrameForValue() : 0);
}

juce::String GFXKnob::getValueText() const
{
    if (auto* parameter = getBoundParameter())
        return parameter->toString();

    return juce::String (getValue(), 6);
}

void GFXKnob::paintWithoutImage (juce::Graphics& g)
{
    g.fillAll (juce::Colour::greyLevel (0.7f));
    g.setColour (juce::Colours::black);
    g.drawRect (getLocalBounds());

    juce::Slider::paint (g);

    auto* parameter = getBoundParameter();
    g.setColour (juce::Colours::black);
    g.setFont (toolkit::makeFont (13.0f));
    g.drawFittedText (getValueText(), getLocalBounds(), juce::Justification::centredTop, 2, 0.7f);
    g.drawFittedText (parameter != nullptr ? parameter->getName() : juce::String(), getLocalBounds(),
                      juce::Justification::centredBottom, 2, 0.7f);
}

GFXSwitch::GFXSwitch (const juce::String& name) : GFXKnob (name)
{
    setRange (0.0, 1.0, 0.005);
}

void GFXSwitch::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GFXKnob::loadFromXml (element, reader);

    const auto style = element.getStringAttribute ("style");
    auto sliderStyle = RotaryVerticalDrag;

    if (style.equalsIgnoreCase ("Vertical"))
        sliderStyle = LinearVertical;
    else if (style.equalsIgnoreCase ("Horizontal"))
        sliderStyle = LinearHorizontal;

    if (sliderStyle != getSliderStyle())
        setSliderStyle (sliderStyle);
}

int GFXSwitch::getFrameForValue() const
{
    return toolkit::frameForValue (static_cast<float> (getValue()), getFramesNum());
}

PitchBender::PitchBender (const juce::String& name) : GFXKnob (name)
{
    setRange (-1.0, 1.0, 0.0);
    setValue (0.0, juce::dontSendNotification);
}

void PitchBender::stoppedDragging()
{
    GFXKnob::stoppedDragging();
    setValue (0.0, juce::sendNotificationAsync);
}

ModWheel::ModWheel (const juce::String& name) : GFXKnob (name)
{
}

void ModWheel::stoppedDragging()
{
    GFXKnob::stoppedDragging();
    setValue (0.0, juce::sendNotificationAsync);
}

GFXMidiChannelDisplay::GFXMidiChannelDisplay (const juce::String& name) : GFXKnob (name)
{
}

int GFXMidiChannelDisplay::getFrameForValue() const
{
    const int frames = getFramesNum();
    return juce::jmin (frames - 1, toolkit::frameForValue (static_cast<float> (getValue()), frames - 1) + 1);
}

void GFXMidiChannelDisplay::paintWithoutImage (juce::Graphics& g)
{
    const float height = juce::jlimit (0.1f, 10000.0f, 0.75f * static_cast<float> (getHeight()));
    g.fillAll (juce::Colour::greyLevel (0.7f));
    g.setColour (juce::Colours::black);
    g.setFont (toolkit::makeFont (height));
    g.drawFittedText (getValueText(), getLocalBounds(), juce::Justification::centred, 1, 0.7f);
}
