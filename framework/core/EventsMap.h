#pragma once

#include <juce_core/juce_core.h>

#include <map>

// The two-way table between event names and event numbers (uids). Filled on
// the message thread while the processor is built (the events list resource,
// then the commands made in code); read-only afterwards, so any thread may
// read it without a lock. No uid and no name occurs twice; -1 is no event.
class EventsMap
{
public:
    void clear();

    // False, changing nothing, when the uid or the name is already present.
    bool addEvent (int uid, const juce::String& name);

    juce::String getName (int uid) const;               // empty when unknown
    int getUid (const juce::String& name) const;        // exact name; -1 when unknown
    juce::String getDisplayName (int uid) const;        // "Toggle midi learn"; empty when unknown
    int getNumEvents() const noexcept { return static_cast<int> (uidToName.size()); }

    // Replaces everything by the "event" children of an "EventsMap" element;
    // any other root leaves the map empty.
    void loadFromXml (const juce::XmlElement& root);

    // Reads an embedded events list ("events.xml"); nothing happens when it is
    // missing or does not parse.
    void loadFromResource (const juce::String& resourceFileName);

private:
    std::map<juce::String, int> nameToUid;
    std::map<int, juce::String> uidToName;
};
