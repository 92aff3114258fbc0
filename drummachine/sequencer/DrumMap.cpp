#include "drummachine/sequencer/DrumMap.h"

#include <algorithm>

#include "drummachine/sequencer/DrumMachineSeq.h"
#include "drummachine/sequencer/Pattern.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlGuard.h"
#include "framework/core/XmlTags.h"
#include "framework/core/ResourceLoader.h"

namespace
{
constexpr int firstPatternKey = 12;   // keys 12..107 choose patterns 0..95 in host mode
constexpr int lastPatternKey = 107;

// After blanks, an optional sign and the leading decimal digits; text
// without digits gives 0, a missing attribute -1. Large numbers saturate
// instead of wrapping into the key range.
int parseKey (const juce::XmlElement& element, const char* attribute)
{
    if (! element.hasAttribute (attribute))
        return -1;

    return parseLeadingInt (element.getStringAttribute (attribute));
}
} // namespace

DrumMap::DrumMap (const juce::String& application, const juce::String& prefix)
    : applicationName (application), resourcePrefix (prefix)
{
    for (auto& key : keyMap)
        key.store (noInstrument);
}

int DrumMap::getInstrumentForKey (int key) const noexcept
{
    if (key < 0 || key >= numKeys)
        return noInstrument;
    return keyMap[(size_t) key].load (std::memory_order_relaxed);
}

void DrumMap::storeKeys (const KeyTable& keys) noexcept
{
    for (size_t key = 0; key < keys.size(); ++key)
        keyMap[key].store (keys[key], std::memory_order_relaxed);
}

void DrumMap::clearDrumMap()
{
    name.clear();
    KeyTable none;
    none.fill (noInstrument);
    storeKeys (none);
}

bool DrumMap::isDrumMapXml (const juce::XmlElement& element)
{
    // A map stamped by any application, or by none, is accepted.
    return tagIs (&element, "DrumMap");
}

bool DrumMap::readDrumMapXml (const juce::XmlElement& element)
{
    if (! isDrumMapXml (element))
        return false;

    KeyTable keys;
    keys.fill (noInstrument);
    juce::String newName;

    const auto version = element.getStringAttribute ("ver", "1.0");
    const char* keyAttribute = nullptr;
    if (version == "1.1")
    {
        keyAttribute = "midiKey";
        newName = element.getStringAttribute ("name");
    }
    else if (version == "1.0")
    {
        keyAttribute = "note";
    }
    else
    {
        // A version we cannot read would otherwise empty the user's map: keep it as it is.
        return false;
    }

    for (auto* assignment : element.getChildIterator())
    {
        if (! tagIs (assignment, "assign"))
            continue;
        const int key = parseKey (*assignment, keyAttribute);
        const int instrument = instruments::getIndexOfCode (assignment->getStringAttribute ("instrument"));
        if (key >= 0 && key < numKeys && instrument >= 0 && instrument < instruments::numInstruments)
            keys[(size_t) key] = instrument; // a later assignment of the same key wins
    }

    name = newName;
    storeKeys (keys);
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMap::createDrumMapXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("DrumMap");
    element->setAttribute ("application", applicationName);
    element->setAttribute ("ver", "1.1");
    element->setAttribute ("name", name);

    for (int instrument = 0; instrument < instruments::numInstruments; ++instrument)
        for (int key = 0; key < numKeys; ++key)
            if (getInstrumentForKey (key) == instrument)
            {
                auto* assignment = element->createNewChildElement ("assign");
                assignment->setAttribute ("midiKey", key);
                assignment->setAttribute ("instrument", instruments::getShortCode (instrument));
            }
    return element;
}

bool DrumMap::loadDrumMapFile (const juce::File& file)
{
    const auto root = xmlguard::parseFile (file);
    return root != nullptr && readDrumMapXml (*root);
}

bool DrumMap::loadDrumMapResource (const juce::String& resourceName)
{
    const auto root = juce::XmlDocument::parse (getResourceAsString (resourceName));
    return root != nullptr && readDrumMapXml (*root);
}

void DrumMap::loadStartUpDrumMap()
{
    loadDrumMapResource ("default" + makeDrumMapExtension());
    if (choice == userDefinedDrumMap && userFile.isNotEmpty())
        loadDrumMapFile (juce::File::isAbsolutePath (userFile) ? juce::File (userFile) : juce::File());
}

void DrumMap::setUserDrumMapFile (const juce::String& path)
{
    userFile = path;
    choice = userDefinedDrumMap;
}

juce::String DrumMap::makeDrumMapExtension() const
{
    return "." + (resourcePrefix + "drmap").toLowerCase();
}

juce::String DrumMap::makeDrumMapExtensions (const juce::StringArray& alternatives) const
{
    juce::String list (makeDrumMapExtension());
    for (const auto& alternative : alternatives)
        list << "; " << alternative;
    return list;
}

juce::String DrumMap::getNoteKeyName (int key, KeyNameMode mode, const DrumMachineSeq* sequencer) const
{
    static const juce::String none ("---");

    switch (mode)
    {
        case KeyNameMode::instruments:
        {
            const int instrument = getInstrumentForKey (key);
            return instrument == noInstrument ? none : juce::String (instruments::getLongName (instrument));
        }
        case KeyNameMode::hostPatterns:
            if (key < firstPatternKey || key > lastPatternKey || sequencer == nullptr)
                return none;
            return sequencer->getPatternName (key - firstPatternKey);
        case KeyNameMode::nothing:
            break;
    }
    return {};
}
