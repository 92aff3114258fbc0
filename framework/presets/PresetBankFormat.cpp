#include "framework/presets/PresetBankFormat.h"

#include "framework/core/ParameterManager.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/PresetValueText.h"

PresetBankFormat::PresetBankFormat (const ParameterManager& parameterManager, const juce::String& applicationName)
    : manager (parameterManager), application (applicationName)
{
}

bool PresetBankFormat::isPresetXml (const juce::XmlElement* element) const
{
    return tagIs (element, "Preset") && element->getStringAttribute ("application").equalsIgnoreCase (application);
}

bool PresetBankFormat::isPresetGroupXml (const juce::XmlElement* element)
{
    return tagIs (element, "PresetGroup");
}

bool PresetBankFormat::isPresetBankXml (const juce::XmlElement* element)
{
    return tagIs (element, "PresetBank");
}

juce::String PresetBankFormat::readPresetName (const juce::XmlElement& element)
{
    return element.getStringAttribute ("name", "unnamed");
}

bool PresetBankFormat::readPresetValues (const juce::XmlElement& element, PresetRecord& record) const
{
    if (! isPresetXml (&element))
        return false;

    for (auto* child : element.getChildIterator())
    {
        if (! tagIs (child, "param"))
            continue;

        const int index = manager.getIndexOfName (child->getStringAttribute ("name"));
        const double value = readDecimalAttribute (*child, "value", 0.0);

        if (index >= 0 && index < record.getNumValues() && std::isfinite (value))
            record.setValue (index, toFiniteFloat (value));
    }

    return true;
}

std::unique_ptr<juce::XmlElement> PresetBankFormat::createPresetXml (const juce::String& name, const PresetRecord& record) const
{
    auto element = std::make_unique<juce::XmlElement> ("Preset");
    element->setAttribute ("application", application);
    element->setAttribute ("name", name);

    for (int i = 0; i < record.getNumValues(); ++i)
    {
        auto* param = element->createNewChildElement ("param");
        param->setAttribute ("name", manager.getName (i));
        param->setAttribute ("value", formatPresetValue (record.getValue (i)));
    }

    return element;
}

std::unique_ptr<juce::XmlElement> PresetBankFormat::createBankXml (const PresetBank& bank) const
{
    auto element = std::make_unique<juce::XmlElement> ("PresetBank");
    element->setAttribute ("name", bank.getBankName());

    int position = 0;

    for (const auto& group : bank.getGroups())
    {
        auto* groupElement = element->createNewChildElement ("PresetGroup");
        groupElement->setAttribute ("name", group.name);

        for (int k = 0; k < group.size; ++k, ++position)
            if (auto* record = bank.getPreset (position))
                groupElement->addChildElement (createPresetXml (bank.getPresetName (position), *record).release());
    }

    return element;
}

bool PresetBankFormat::readBankXml (const juce::XmlElement& element, PresetBank& bank, const PresetRecord& defaults) const
{
    if (! isPresetBankXml (&element))
        return false;

    // Everything is read into local records first, so a document that holds
    // no preset of ours (another application's bank) leaves the bank as it is.
    struct ParsedPreset
    {
        juce::String name;
        std::unique_ptr<PresetRecord> record;
    };

    std::vector<ParsedPreset> parsed;
    std::vector<PresetGroup> groups;

    for (auto* groupElement : element.getChildIterator())
    {
        if (! isPresetGroupXml (groupElement))
            continue;

        PresetGroup group { groupElement->getStringAttribute ("name", "group " + juce::String ((int) groups.size() + 1)), 0 };

        for (auto* presetElement : groupElement->getChildIterator())
        {
            if ((int) parsed.size() >= PresetBank::numPresets)
                break;

            if (! isPresetXml (presetElement))
                continue;

            auto record = std::make_unique<PresetRecord> (bank.getNumValues(), -1);
            record->copyValuesFrom (defaults);
            readPresetValues (*presetElement, *record);
            parsed.push_back ({ readPresetName (*presetElement), std::move (record) });
            ++group.size;
        }

        groups.push_back (group);
    }

    if (parsed.empty())
        return false;

    const int numRead = (int) parsed.size();

    if (numRead < PresetBank::numPresets)
        groups.push_back ({ "Not used", PresetBank::numPresets - numRead });

    // Each record is overwritten once, value by value, with its final values:
    // the audio thread's program change never sees a record reset half-way.
    bank.setBankName (element.getStringAttribute ("name", "Preset Bank"));

    for (int i = 0; i < PresetBank::numPresets; ++i)
    {
        const bool wasRead = i < numRead;
        bank.setPresetName (i, wasRead ? parsed[(size_t) i].name : "Preset " + juce::String (i));
        bank.getPreset (i)->copyValuesFrom (wasRead ? *parsed[(size_t) i].record : defaults);
    }

    bank.setGroups (groups);
    return true;
}
