#pragma once

#include "toolkit/binding/BlinkingComponent.h"
#include "toolkit/binding/ParameterBinding.h"
#include "toolkit/binding/SkinReader.h"

#include <juce_core/juce_core.h>

#include <optional>

// A skin control: it binds itself by name to one parameter and follows its
// value, tells its listeners (the editor) about the user's gestures, and turns
// the skin's click actions into event ids. Message thread.
//
// The skin element it reads:
//   <links><link as="connectedTo" param="Bass Drum Level"/></links>
//   <actions><action type="onClick" event="Play"/></actions>
// The last "connectedTo" link wins; other links are ignored. An action whose
// type is empty or whose event is unknown is dropped.
class GUIController : public Parameter::Listener, public BlinkingComponent
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the user started or ended moving the control.
        virtual void controllerDragStarted (GUIController*) {}
        virtual void controllerDragEnded (GUIController*) {}

        // Message thread: the user moved the control's value (already written
        // to its parameter).
        virtual void controllerValueChanged (GUIController*) {}

        // Message thread: the user clicked an action of the control.
        virtual void controllerEventFired (GUIController*, int eventId) { juce::ignoreUnused (eventId); }
    };

    GUIController();
    ~GUIController() override;

    // Deferred listener: message thread. Shows the parameter's value.
    void parameterChanged (Parameter* parameter) override;

    // Stores an event id for a click action; each clickable control keeps
    // the types it knows.
    virtual void addAction (const juce::String& type, int eventId, const juce::String& eventName);

    // Shows the parameter's value, writing nothing back. Called once when the
    // control is built and on every change of the parameter.
    virtual void updateFromParameter (Parameter* parameter);

    // Null and listeners already present are refused.
    virtual void addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Reads the control's skin element (links and actions).
    virtual void loadFromXml (const juce::XmlElement& element, SkinReader& reader);

    // Binds to the parameter (null unbinds) without showing its value yet.
    void bindParameter (Parameter* parameter) { binding.bind (parameter); }
    Parameter* getBoundParameter() const noexcept { return binding.getParameter(); }

    // Shows the bound parameter's value, if bound.
    void refreshFromParameter();

    // A user's drag of the control: begin and end reach the parameter's
    // immediate listeners (the host) and then the control's listeners. When
    // unbound nothing is told.
    class ScopedGesture
    {
    public:
        explicit ScopedGesture (GUIController& controller);
        ~ScopedGesture();

        ScopedGesture (const ScopedGesture&) = delete;
        ScopedGesture& operator= (const ScopedGesture&) = delete;

    private:
        GUIController& owner;
        std::optional<ParameterBinding::ScopedGesture> parameterGesture;
    };

protected:
    // Told to the listeners, last added first. A listener may remove itself
    // or another, or delete this control, while it is told.
    void notifyGestureBegin();
    void notifyGestureEnd();
    void notifyValueChanged();
    void notifyEventFired (int eventId);

    // The user changed the value: written to the bound parameter, then told
    // to the listeners when the parameter changed.
    void writeNormalised (float normalised);
    void writeValue (float value);
    void writeBool (bool value);
    void writeInt (int value);
    void writeText (const juce::String& text);

private:
    template <typename Call>
    void callListeners (Call&& call);

    juce::Array<Listener*> listeners;
    ParameterBinding binding { *this };

    JUCE_DECLARE_WEAK_REFERENCEABLE (GUIController)
};
