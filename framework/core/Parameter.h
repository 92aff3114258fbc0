#pragma once

#include "framework/core/ListenerSlots.h"
#include "framework/core/PolledAsyncUpdater.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>

// A named, numbered value that the host, MIDI, presets and widgets change.
// Each kind converts itself to and from a float, a normalised 0..1 value, an
// integer, a boolean and text. On a change the immediate listeners are called
// at once on the changing thread (last added first), and the deferred
// listeners later, once, on the message thread, seeing the latest value.
//
// Every setter clamps into the kind's range, turns a non-finite number into
// the minimum first, and does nothing at all when the value stays the same.
//
// A change made off the message thread posts no message: the deferred
// notification waits until the message thread polls (the manager's
// pollDeferredNotifications, or pollUpdateRequest for a parameter outside a
// manager).
class Parameter : public PolledAsyncUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Immediate list: the thread that changed the value. Deferred list:
        // the message thread.
        virtual void parameterChanged (Parameter* parameter) = 0;

        // The thread of the widget that starts or ends a user gesture
        // (the message thread).
        virtual void parameterGestureBegin (Parameter*) {}
        virtual void parameterGestureEnd (Parameter*) {}
    };

    Parameter (int id, const juce::String& name);
    ~Parameter() override;

    Parameter (const Parameter&) = delete;
    Parameter& operator= (const Parameter&) = delete;

    // Message thread: calls every deferred listener, last added first.
    void handleAsyncUpdate() override;

    // Any thread. A new parameter of the same kind with the same value,
    // automatable flag (and items), the given id and name and no listeners.
    virtual std::unique_ptr<Parameter> clone (int id, const juce::String& name) const = 0;

    // Any thread. Getters of the numeric and boolean kinds are lock-free.
    virtual float getValue() const noexcept = 0;
    virtual float getNormalised() const noexcept = 0; // 0..1
    virtual int getInt() const noexcept = 0;
    virtual bool getBool() const noexcept = 0;
    virtual juce::String toString() const = 0;

    // Any thread. With notify false the value changes silently.
    virtual void setValue (float value, bool notify) = 0;
    virtual void setNormalised (float normalised, bool notify) = 0;
    virtual void setInt (int value, bool notify) = 0;
    virtual void setBool (bool value, bool notify) = 0;
    virtual void setFromString (const juce::String& text, bool notify) = 0;
    virtual void setFromParameter (const Parameter& source, bool notify) = 0;

    int getId() const noexcept { return ownId; }
    int getIndex() const noexcept { return ownId; }
    const juce::String& getName() const noexcept { return ownName; }

    bool isAutomatable() const noexcept { return automatable.load (std::memory_order_relaxed); }
    void setAutomatable (bool shouldBeAutomatable) noexcept { automatable.store (shouldBeAutomatable); }

    // Any thread. Adding never adds twice; false when not added.
    bool addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Message thread.
    bool addAsyncListener (Listener* listener);
    void removeAsyncListener (Listener* listener);

    // Any thread: the immediate listeners at once, then one deferred
    // notification. Used to tell every listener the current value.
    void notifyListeners();

    // The widget's thread (message thread): a user gesture on this parameter
    // begins or ends; told to the immediate listeners, last added first.
    void notifyGestureBegin();
    void notifyGestureEnd();

    // A user's gesture on one parameter: begun on construction and ended on
    // destruction (nothing for null), so the two always pair and the host
    // records whatever is written meanwhile as one touch. Message thread.
    class ScopedGesture
    {
    public:
        explicit ScopedGesture (Parameter* touched) : parameter (touched)
        {
            if (parameter != nullptr)
                parameter->notifyGestureBegin();
        }

        ~ScopedGesture()
        {
            if (parameter != nullptr)
                parameter->notifyGestureEnd();
        }

        ScopedGesture (const ScopedGesture&) = delete;
        ScopedGesture& operator= (const ScopedGesture&) = delete;

    private:
        Parameter* const parameter;
    };

    // Message thread, before the parameter is shared. Deferred notifications
    // are then requested from the given updater (which calls
    // deliverDeferredNotification on the parameters it serves) instead of
    // posting one message per parameter; the manager does this for all its
    // parameters (see ParameterManager::deliverDeferredNotifications). Null
    // restores the parameter's own.
    void setDeferredDispatcher (PolledAsyncUpdater* dispatcher) noexcept;

    // Message thread: calls the deferred listeners when a change is pending.
    void deliverDeferredNotification();

protected:
    // Called by every kind after it stored a new value.
    void valueChanged (bool notify);

    // The automatable flag of this parameter copied onto a clone.
    std::unique_ptr<Parameter> withSettingsOf (std::unique_ptr<Parameter> clone) const;

private:
    void scheduleDeferredNotification();

    const int ownId;
    const juce::String ownName;
    std::atomic<bool> automatable { false };

    static constexpr int maxImmediateListeners = 16;
    ListenerSlots<Listener, maxImmediateListeners> immediateListeners;
    juce::Array<Listener*> deferredListeners; // message thread only

    std::atomic<bool> deferredPending { false };
    std::atomic<PolledAsyncUpdater*> deferredDispatcher { nullptr };
};
