#include "framework/core/EventsMap.h"

#include "framework/core/ResourceLoader.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"

void EventsMap::clear()
{
    nameToUid.clear();
    uidToName.clear();
}

bool EventsMap::addEvent (int uid, const juce::String& name)
{
    if (uidToName.count (uid) != 0 || nameToUid.count (name) != 0)
        return false;

    uidToName.emplace (uid, name);
    nameToUid.emplace (name, uid);
    return true;
}

juce::String EventsMap::getName (int uid) const
{
    const auto found = uidToName.find (uid);
    return found != uidToName.end() ? found->second : juce::String();
}

int EventsMap::getUid (const juce::String& name) const
{
    const auto found = nameToUid.find (name);
    return found != nameToUid.end() ? found->second : -1;
}

juce::String EventsMap::getDisplayName (int uid) const
{
    const auto name = getName (uid);
    return name.substring (0, 1).toUpperCase() + name.substring (1).toLowerCase();
}

void EventsMap::loadFromXml (const juce::XmlElement& root)
{
    clear();

    if (! tagIs (&root, "EventsMap"))
        return;

    for (auto* event : root.getChildIterator())
        if (tagIs (event, "event"))
            addEvent (parseLeadingInt (event->getStringAttribute ("uid")), event->getStringAttribute ("name"));
}

void EventsMap::loadFromResource (const juce::String& resourceFileName)
{
    if (auto root = juce::parseXML (getResourceAsString (resourceFileName)))
        loadFromXml (*root);
}
