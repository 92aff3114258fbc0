#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

class Parameter;

namespace juce
{
class MidiKeyboardState;
}

// What a skin's widgets need from the editor while they read their elements:
// the skin's images, the processor's parameters and events, found by name.
// The skin loader implements it over the processor's parameter manager and
// events map; tests implement it with their own tables. Message thread.
class SkinContext
{
public:
    virtual ~SkinContext() = default;

    // The skin's image of that resource name ("knob.png"); a null image when
    // the skin has none.
    virtual juce::Image getImage (const juce::String& resourceName) = 0;

    // The parameter of exactly that name, or null. The look-up holds the
    // parameter manager's read lock only while it runs.
    virtual Parameter* getParameterByName (const juce::String& name) = 0;

    // The id of the event of exactly that name; -1 when there is none.
    virtual int getEventId (const juce::String& eventName) = 0;

    // The event's name for people ("Toggle midi learn"), shown as a tooltip;
    // empty when the id is unknown.
    virtual juce::String getEventDisplayName (int eventId) = 0;

    // The processor's keyboard state, for keyboard widgets; null when the
    // processor has none.
    virtual juce::MidiKeyboardState* getKeyboardState() { return nullptr; }
};
