#pragma once

#include "framework/core/EventsMap.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"
#include "support/MessageLoop.h"
#include "toolkit/binding/GUIController.h"
#include "toolkit/binding/SkinContext.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Helpers for testing skin widgets with no display: frame-coded strips (each
// frame one colour, so one pixel tells the frame drawn), painting into images,
// synthesised mouse events, a skin context over a real parameter manager and
// events map, and recording listeners.
namespace widget_testing
{
// The colour of frame i of a frame-coded strip: red i, green 255 - i, blue 99.
inline juce::Colour frameColour (int frame)
{
    return juce::Colour (static_cast<juce::uint8> (frame), static_cast<juce::uint8> (255 - frame), static_cast<juce::uint8> (99));
}

// A strip of framesNum frames of width by frameHeight, frame i in frameColour (i).
inline juce::Image makeFrameStrip (int framesNum, int width = 8, int frameHeight = 6)
{
    juce::Image strip (juce::Image::ARGB, width, framesNum * frameHeight, true);
    juce::Graphics g (strip);

    for (int i = 0; i < framesNum; ++i)
    {
        g.setColour (frameColour (i));
        g.fillRect (0, i * frameHeight, width, frameHeight);
    }

    return strip;
}

// The component painted on its own (children included) into an image of its size.
inline juce::Image paintImage (juce::Component& component)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, component.getWidth()), juce::jmax (1, component.getHeight()), true);
    juce::Graphics g (image);
    component.paintEntireComponent (g, true);
    return image;
}

// The frame a frame-coded pixel shows; -1 when the pixel is no frame colour.
inline int frameAt (const juce::Image& image, int x, int y)
{
    const auto pixel = image.getPixelAt (x, y);
    const int frame = pixel.getRed();
    return pixel == frameColour (frame) ? frame : -1;
}

// The frame the component shows at its centre.
inline int shownFrame (juce::Component& component)
{
    return frameAt (paintImage (component), component.getWidth() / 2, component.getHeight() / 2);
}

// Blinks fast until the dark phase; it stays dark while no message runs.
inline void makeBlinkDark (BlinkingComponent& blinking)
{
    blinking.setBlinkPeriod (1);
    blinking.startBlinking();
    ASSERT_TRUE (testing_support::runMessagesUntil ([&blinking] { return blinking.isBlinkDark(); }, 2000));
}

// A sized parent: with no display, a parentless component asking for its
// monitor area crashes JUCE 7.
struct Stage
{
    Stage() { root.setBounds (0, 0, 1000, 1000); }

    void add (juce::Component& component) { root.addAndMakeVisible (component); }

    juce::Component root;
};

// A mouse event for the component, at a position in its own coordinates.
inline juce::MouseEvent mouseAt (juce::Component& target, juce::Point<float> position, juce::Point<float> downPosition,
                                 juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier, bool dragged = false)
{
    static juce::int64 tick = 0; // a fresh time for each event: JUCE drops repeated wheel events
    const auto time = juce::Time (juce::Time::currentTimeMillis() + ++tick);
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                             juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                             &target, &target, time, downPosition, time, 1, dragged);
}

// A press at a point, a drag by (dx, dy) and the release, as the mouse makes them.
inline void dragBy (juce::Component& target, juce::Point<float> from, juce::Point<float> by,
                    juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
{
    target.mouseDown (mouseAt (target, from, from, mods));
    target.mouseDrag (mouseAt (target, from + by, from, mods, true));
    target.mouseUp (mouseAt (target, from + by, from, mods, true));
}

// A press and release at the centre with the given buttons and keys.
inline void clickCentre (juce::Component& target, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
{
    const auto centre = target.getLocalBounds().getCentre().toFloat();
    target.mouseDown (mouseAt (target, centre, centre, mods));
    target.mouseUp (mouseAt (target, centre, centre, mods));
}

// The skin's side of the editor: a real parameter manager and events map,
// and images by name.
class TestSkin : public SkinContext
{
public:
    TestSkin()
    {
        parameters.addParameter (std::make_unique<FloatParameter> (0, "Level", 0.0f, 1.0f, 0.0f));
        parameters.addParameter (std::make_unique<FloatParameter> (1, "Tune", 0.0f, 1.0f, 0.0f));
        parameters.addParameter (std::make_unique<BoolParameter> (2, "Held"));
        parameters.addParameter (std::make_unique<FloatParameter> (3, "Tempo", 30.0f, 300.0f, 120.0f));
        parameters.addParameter (std::make_unique<IntParameter> (4, "Pattern", 0, 127, 0));
        events.addEvent (10, "PLAY");
        events.addEvent (11, "STOP");
        events.addEvent (12, "CLEAR");
        events.addEvent (13, "RANDOM");
    }

    juce::Image getImage (const juce::String& name) override
    {
        const auto found = images.find (name);
        return found != images.end() ? found->second : juce::Image();
    }

    Parameter* getParameterByName (const juce::String& name) override { return parameters.getParameterByName (name); }
    int getEventId (const juce::String& name) override { return events.getUid (name); }
    juce::String getEventDisplayName (int id) override { return events.getDisplayName (id); }

    Parameter& parameter (const juce::String& name) { return *parameters.getParameterByName (name); }

    ParameterManager parameters;
    EventsMap events;
    std::map<juce::String, juce::Image> images;
};

// Records what a controller tells its listeners, as "start", "end", "value"
// and "event 10".
struct ControllerLog : GUIController::Listener
{
    void controllerDragStarted (GUIController*) override { log.push_back ("start"); }
    void controllerDragEnded (GUIController*) override { log.push_back ("end"); }
    void controllerValueChanged (GUIController*) override { log.push_back ("value"); }
    void controllerEventFired (GUIController*, int id) override { log.push_back ("event " + std::to_string (id)); }

    std::vector<std::string> log;
};

// Records a parameter's gestures and changes as its host would see them.
struct HostLog : Parameter::Listener
{
    explicit HostLog (Parameter& watched) : parameter (watched) { parameter.addListener (this); }
    ~HostLog() override { parameter.removeListener (this); }

    void parameterChanged (Parameter* p) override { log.push_back ("set " + juce::String (p->getValue(), 3).toStdString()); }
    void parameterGestureBegin (Parameter*) override { log.push_back ("begin"); }
    void parameterGestureEnd (Parameter*) override { log.push_back ("end"); }

    Parameter& parameter;
    std::vector<std::string> log;
};

// Reads a control's element through a reading of the skin and shows its
// parameter, as the panel does; the problems noted are returned.
inline juce::StringArray loadControl (GUIController& controller, const juce::String& xml, SkinContext& skin)
{
    const auto element = juce::parseXML (xml);
    SkinReader reader (skin);
    const SkinReader::ScopedPlace place (reader, *element);
    controller.loadFromXml (*element, reader);
    controller.refreshFromParameter();
    return reader.getProblems();
}
} // namespace widget_testing
