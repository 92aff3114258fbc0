#include "FactoryKits.h"

#include "platform/EmbeddedResources.h"

namespace factorykits
{
namespace
{
std::unique_ptr<juce::XmlElement> parseResource (const char* fileName)
{
    const auto resource = platform::findResource (fileName);
    if (! resource)
        return {};
    return juce::XmlDocument::parse (juce::String::fromUTF8 (resource.text().data(), (int) resource.text().size()));
}

int indexOfParameter (const juce::XmlElement& list, const juce::String& name)
{
    for (auto* entry : list.getChildIterator())
        if (entry->getStringAttribute ("name") == name)
            return entry->getIntAttribute ("index", -1);
    return -1;
}

Kit readKit (const juce::XmlElement& preset, const juce::XmlElement& list)
{
    Kit kit;
    kit.name = preset.getStringAttribute ("name");
    kit.values.fill (-1.0f); // a value the preset does not give stays visible
    for (auto* param : preset.getChildWithTagNameIterator ("param"))
    {
        const int index = indexOfParameter (list, param->getStringAttribute ("name"));
        if (index >= 0 && index < numSoundValues)
            kit.values[(size_t) index] = (float) param->getDoubleAttribute ("value", -1.0);
    }
    return kit;
}
} // namespace

std::vector<Kit> readFactoryBank()
{
    std::vector<Kit> kits;
    auto bank = parseResource ("default.xrprsb");
    auto list = parseResource ("parameters.xml");
    if (bank == nullptr || list == nullptr)
        return kits;
    for (auto* group : bank->getChildWithTagNameIterator ("PresetGroup"))
        for (auto* preset : group->getChildWithTagNameIterator ("Preset"))
            kits.push_back (readKit (*preset, *list));
    return kits;
}

Kit readDefaultPreset()
{
    auto preset = parseResource ("default.xrprs");
    auto list = parseResource ("parameters.xml");
    if (preset == nullptr || list == nullptr)
        return {};
    return readKit (*preset, *list);
}

} // namespace factorykits
