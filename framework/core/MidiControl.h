#pragma once

#include "framework/core/Parameter.h"
#include "framework/core/PolledAsyncUpdater.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <memory>

class ParameterManager;

// Maps MIDI continuous controllers (CC 0-127, any channel) to parameters and
// runs MIDI learn. The audio thread feeds every incoming message to
// processMidiMessage; it never takes this object's lock and never waits on
// editor work: it reads the controller slots atomically, and during learn it
// hands the controller numbers to the message thread, which runs the learn
// steps. Everything else runs on the message thread. Listeners hear of
// changes later on the message thread, except the change of learn mode, which
// they hear at once. The audio thread posts no message either: what it sets
// off waits for the owner's poll timer (pollUpdateRequest, message thread).
class MidiControl : public PolledAsyncUpdater
{
public:
    static constexpr int numControllers = 128;

    // Message thread.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void midiControlMapChanged() {}
        virtual void midiLearnStateChanged (MidiControl&) {}
        virtual void midiControllerMoved (MidiControl&) {} // see getLastMovedParameter
    };

    explicit MidiControl (ParameterManager& manager);
    ~MidiControl() override;

    // Message thread. Null and duplicates are ignored. A listener may remove
    // itself (or another) while it is told.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Any thread. The parameter driven by a controller, or null.
    Parameter* getParameterForController (int controller) const noexcept;
    // Any thread. The controller that drives a parameter, or -1.
    int getControllerFor (const Parameter* parameter) const noexcept;
    Parameter* getLastMovedParameter() const noexcept { return lastMoved.load(); }

    bool isLearnModeOn() const noexcept { return learnMode.load(); }
    Parameter* getLearnParameter() const;
    int getLearnController() const;

    // Message thread. A parameter has one controller at most: assigning it
    // elsewhere frees its old slot. Null frees the slot. A controller outside
    // 0-127 is ignored.
    void assign (int controller, Parameter* parameter, bool notify);
    void unassign (int controller);
    void clear (bool notify);

    // Message thread: the learn machine.
    void setLearnMode (bool shouldBeOn);
    void setLearnParameter (Parameter* parameter);  // the user moved a parameter
    void setLearnController (int controller);       // a controller moved
    void pickLearnController (int controller);      // the user picked a controller's row
    void tryLearnAssign();

    // Audio thread. Bytes of one MIDI message; only controller messages count.
    void processMidiMessage (const juce::uint8* data, int numBytes) noexcept;

    // The controller map document ("MidiControlMap").
    void setMapName (const juce::String& name);
    juce::String getMapName() const;
    bool isMidiControlMapXml (const juce::XmlElement* element) const;
    // Message thread. False, changing nothing, for a document that is no map
    // or belongs to another plug-in; otherwise the map is replaced by its
    // valid lines.
    bool loadFromXml (const juce::XmlElement* element);
    std::unique_ptr<juce::XmlElement> createXml() const;
    // Message thread. False, changing nothing, for a file that cannot be read
    // or holds no map of ours.
    bool loadFromFile (const juce::File& file);
    // Message thread. Written through a temporary file; false on failure, the
    // old file then stays as it was.
    bool saveToFile (const juce::File& file) const;

    // "." + the lower-cased resource prefix + "ccmap" (".xrccmap").
    static juce::String getMapFileExtension (const juce::String& resourcePrefix);
    // "*.xrccmap" followed by "; *<extension>" for each extra extension.
    static juce::String getMapFilePattern (const juce::String& resourcePrefix, const juce::StringArray& extraExtensions = {});

    // Settings of the user-defined map, loaded at start when in use.
    void setUseUserMap (bool shouldUse);
    bool getUseUserMap() const;
    void setUserMapFile (const juce::File& file);
    juce::File getUserMapFile() const;

    // Message thread: runs the learn steps handed over by the audio thread and
    // delivers the pending notifications.
    void handleAsyncUpdate() override;

private:
    void assignLocked (int controller, Parameter* parameter, bool notify);
    void setLearnControllerLocked (int controller);
    void tryLearnAssignLocked();
    void mark (std::atomic<bool>& flag);
    void forgetHandedOverControllers();

    template <typename Function>
    void callListeners (Function&& fn)
    {
        for (int i = listeners.size(); --i >= 0;)
        {
            if (i >= listeners.size())
                i = listeners.size() - 1;
            if (i < 0)
                break;
            fn (*listeners.getUnchecked (i));
        }
    }

    ParameterManager& manager;
    juce::Array<Listener*> listeners;

    std::array<std::atomic<Parameter*>, numControllers> slots {};
    std::atomic<bool> learnMode { false };
    Parameter* learnParameter = nullptr;
    int learnController = -1;
    std::atomic<Parameter*> lastMoved { nullptr };

    std::atomic<bool> mapChangedPending { false }, learnStateChangedPending { false }, controllerMovedPending { false };

    // Controller numbers seen by the audio thread during learn, in order.
    static constexpr int handOverCapacity = 256;
    juce::AbstractFifo handOver { handOverCapacity };
    std::array<int, handOverCapacity> handOverBuffer {};

    juce::String mapName;
    bool useUserMap = false;
    juce::File userMapFile;

    juce::CriticalSection lock; // learn fields, slot changes, map settings
};
