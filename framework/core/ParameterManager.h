#pragma once

#include "framework/core/Parameter.h"
#include "framework/core/SharedReadLock.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <memory>

// Owns every parameter of the processor and finds them by index (id) and by
// exact name. Filled on the message thread at start-up (from the parameter
// list resource, then in code); after that any thread may look up, read and
// set, sharing the read lock. Look-ups by index and the setters never
// allocate. An unknown index or name gives a neutral answer (null, -1, 0,
// false, empty text) and a setter on it does nothing.
//
// The read lock is held while a parameter's own operation runs, immediate
// listeners included: a listener may call the manager again but must never
// add or clear parameters.
class ParameterManager
{
public:
    ParameterManager();
    virtual ~ParameterManager();

    ParameterManager (const ParameterManager&) = delete;
    ParameterManager& operator= (const ParameterManager&) = delete;

    // Message thread, start-up. Reads the list from an embedded resource
    // ("parameters.xml"); a missing or broken resource leaves it empty.
    void loadFromResource (const juce::String& resourceFileName);

    // Message thread, start-up. Replaces everything by the parameters of a
    // "PluginParameters" element; entries that cannot be read are skipped.
    void loadFromXml (const juce::XmlElement& root);

    // Message thread, start-up. Takes ownership; false (and the parameter is
    // deleted) when its index or name is already taken or it is null.
    bool addParameter (std::unique_ptr<Parameter> parameter);

    // Message thread, start-up. Deletes every parameter, last first.
    void clear();

    const juce::String& getApplicationName() const noexcept { return applicationName; }

    // Any thread.
    int getNumParameters() const noexcept;
    Parameter* getParameterAt (int position) const noexcept; // in the order added
    Parameter* getParameter (int index) const noexcept;
    int getIndexOfName (const juce::String& name) const noexcept;
    Parameter* getParameterByName (const juce::String& name) const noexcept;
    juce::String getName (int index) const;

    float getValue (int index) const noexcept;
    float getNormalised (int index) const noexcept;
    bool getBool (int index) const noexcept;
    juce::String toString (int index) const;

    // Any thread; every one notifies.
    void setValue (int index, float value);
    void setNormalised (int index, float normalised);
    void setInt (int index, int value);
    void setBool (int index, bool value);
    void setFromString (int index, const juce::String& text);
    void copyValue (int destinationIndex, int sourceIndex);

    // Immediate listeners: any thread. Deferred ones: message thread.
    void addListenerToAll (Parameter::Listener* listener);
    void addAsyncListenerToAll (Parameter::Listener* listener);
    void removeAsyncListenerFromAll (Parameter::Listener* listener);
    void addListener (int index, Parameter::Listener* listener);
    void addAsyncListener (int index, Parameter::Listener* listener);
    void removeAsyncListener (int index, Parameter::Listener* listener);

    // Any thread: every immediate listener of every parameter (array order),
    // then the deferred notifications.
    void notifyAll();
    void notifyParameter (int index);

    // Message thread: delivers the deferred notifications now instead of
    // waiting for the message loop.
    void deliverDeferredNotifications();

    // Message thread, from the owner's poll timer: delivers the deferred
    // notifications of changes made on other threads, which post no message.
    // True when there were any.
    bool pollDeferredNotifications();

    // Any thread: a message for the deferred notifications waits in the queue.
    bool isDeferredNotificationPosted() const noexcept;

private:
    class DeferredDispatcher;

    template <typename Function>
    void forEachParameter (Function&& fn) const
    {
        const SharedReadLock::ScopedRead reading (lock);
        for (auto* p : parameters)
            fn (*p);
    }

    template <typename Function>
    void withParameter (int index, Function&& fn) const
    {
        const SharedReadLock::ScopedRead reading (lock);
        if (auto* p = byIndex[index])
            fn (*p);
    }

    static constexpr int hashSlots = 10000;

    juce::OwnedArray<Parameter> parameters;
    juce::String applicationName;
    juce::HashMap<int, Parameter*> byIndex { hashSlots };
    juce::HashMap<juce::String, Parameter*> byName { hashSlots };
    SharedReadLock lock;
    std::unique_ptr<DeferredDispatcher> dispatcher;
};
