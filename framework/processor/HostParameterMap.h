#pragma once

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

class Parameter;
class ParameterManager;

// The host's row of automation slots and which parameter sits behind each,
// with the map document ("HostParametersMap") and its files. A parameter
// occupies one slot at most, and only automatable parameters occupy one.
//
// Threads: bindings change on the message thread (under the slot lock); the
// host and the audio thread read them lock-free.
class HostParameterMap : public juce::ChangeBroadcaster
{
public:
    static constexpr int maxSlots = 128;

    explicit HostParameterMap (ParameterManager& manager);

    // Message thread, at start-up: how many slots the host sees (at most 128)
    // and the plug-in name that map documents carry.
    void setNumSlots (int numSlots);
    int getNumSlots() const noexcept { return numSlots.load (std::memory_order_relaxed); }
    void setPluginName (const juce::String& name) { pluginName = name; }

    // Message thread: called after a binding changed (the processor tells the
    // host to refresh the names it shows).
    std::function<void()> onBindingChanged;

    bool isSlot (int slot) const noexcept { return slot >= 0 && slot < getNumSlots(); }

    // Any thread, lock-free. The parameter behind a slot, or null.
    Parameter* getParameter (int slot) const noexcept;

    // Any thread, lock-free. The slot of a parameter, or -1.
    int getSlotOf (const Parameter* parameter) const noexcept;

    // Message thread. Binds the parameter to the slot, freeing its old slot;
    // null unbinds the slot. A slot outside the host's row or a parameter that
    // is not automatable changes nothing.
    void assign (int slot, Parameter* parameter);
    void unassign (int slot);
    void clear();

    // The tag is "HostParametersMap" and "name" is this plug-in's (both
    // without regard to case).
    bool isMapXml (const juce::XmlElement* element) const;

    // Message thread. Replaces every binding by the document's "assign"
    // lines: a name that matches no parameter leaves its slot empty, a slot
    // outside the row is skipped. False, changing nothing, for a document
    // that is no map of this plug-in.
    bool apply (const juce::XmlElement* element);

    std::unique_ptr<juce::XmlElement> createXml() const;

    // Message thread. False, changing nothing, when the file cannot be read
    // or holds no map of ours.
    bool loadFile (const juce::File& file);
    // Message thread. Written through a temporary file; false on failure.
    bool saveFile (const juce::File& file) const;

    // "." + the lower-cased resource prefix + "hpmap" (".xrhpmap").
    static juce::String getFileExtension (const juce::String& resourcePrefix);

private:
    void bindingChanged();

    ParameterManager& manager;
    std::array<std::atomic<Parameter*>, maxSlots> slots {};
    std::atomic<int> numSlots { maxSlots };
    juce::String pluginName;
    juce::CriticalSection lock;
};
