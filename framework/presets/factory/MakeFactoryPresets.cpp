// Build tool: turns the readable factory table into the factory preset bank
// and the default preset, in the form the processor writes them.
//
//   make_factory_presets <parameters.xml> <table> <bank output> <preset output>

#include "framework/presets/PresetValueText.h"

#include <juce_core/juce_core.h>

#include <iostream>
#include <map>

namespace
{
constexpr int numPresetParameters = 49; // parameters 0 to 48 are what a preset holds
constexpr int numPresets = 128;

struct SoundParameter
{
    juce::String name;
    double defaultValue = 0.0; // normalised
};

struct TablePreset
{
    juce::String name;
    std::map<int, double> values; // parameter index to normalised value
};

struct TableGroup
{
    juce::String name;
    std::vector<TablePreset> presets;
};

struct Table
{
    juce::String bankName { "Preset Bank" };
    TablePreset defaultPreset { "Default", {} };
    std::vector<TableGroup> groups;
};

[[noreturn]] void fail (const juce::String& message)
{
    std::cerr << "make_factory_presets: " << message << std::endl;
    std::exit (1);
}

juce::String applicationName;

std::vector<SoundParameter> readSoundParameters (const juce::File& file)
{
    auto root = juce::XmlDocument::parse (file);

    if (root == nullptr)
        fail ("cannot read " + file.getFullPathName());

    applicationName = root->getStringAttribute ("application");
    std::vector<SoundParameter> parameters ((size_t) numPresetParameters);
    std::vector<bool> found ((size_t) numPresetParameters, false);

    for (auto* entry : root->getChildIterator())
    {
        const int index = entry->getIntAttribute ("index", -1);

        if (index < 0 || index >= numPresetParameters)
            continue;

        const double minimum = entry->getDoubleAttribute ("min", 0.0);
        const double maximum = entry->getDoubleAttribute ("max", 1.0);
        const double value = juce::jlimit (minimum, maximum, entry->getStringAttribute ("value").getDoubleValue());

        parameters[(size_t) index] = { entry->getStringAttribute ("name"),
                                       maximum > minimum ? (value - minimum) / (maximum - minimum) : 0.0 };
        found[(size_t) index] = true;
    }

    for (int i = 0; i < numPresetParameters; ++i)
        if (! found[(size_t) i])
            fail ("the parameter list has no parameter " + juce::String (i));

    return parameters;
}

int indexOfParameter (const std::vector<SoundParameter>& parameters, const juce::String& name)
{
    for (size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i].name == name)
            return (int) i;

    return -1;
}

Table readTable (const juce::File& file, const std::vector<SoundParameter>& parameters)
{
    juce::StringArray lines;
    file.readLines (lines);

    if (lines.isEmpty())
        fail ("cannot read " + file.getFullPathName());

    Table table;
    TablePreset* current = nullptr;
    int lineNumber = 0;

    for (auto line : lines)
    {
        ++lineNumber;
        line = line.upToFirstOccurrenceOf ("#", false, false).trim();

        if (line.isEmpty())
            continue;

        const auto where = file.getFileName() + ":" + juce::String (lineNumber) + ": ";
        const auto keyword = line.upToFirstOccurrenceOf (":", false, false).trim();
        const auto argument = line.fromFirstOccurrenceOf (":", false, false).trim();

        if (line.contains ("="))
        {
            if (current == nullptr)
                fail (where + "a value before any preset");

            const auto name = line.upToFirstOccurrenceOf ("=", false, false).trim();
            const auto text = line.fromFirstOccurrenceOf ("=", false, false).trim();
            const int index = indexOfParameter (parameters, name);

            if (index < 0)
                fail (where + "no preset parameter is named \"" + name + "\"");

            const double value = text.getDoubleValue();

            if (! text.containsOnly ("0123456789.") || value < 0.0 || value > 1.0)
                fail (where + "a value must be a number from 0 to 1");

            current->values[index] = value;
        }
        else if (keyword == "bank")
            table.bankName = argument;
        else if (keyword == "default")
        {
            table.defaultPreset.name = argument;
            current = &table.defaultPreset;
        }
        else if (keyword == "group")
        {
            table.groups.push_back ({ argument, {} });
            current = nullptr;
        }
        else if (keyword == "preset")
        {
            if (table.groups.empty())
                fail (where + "a preset before any group");

            table.groups.back().presets.push_back ({ argument, {} });
            current = &table.groups.back().presets.back();
        }
        else
            fail (where + "unknown line \"" + line + "\"");
    }

    return table;
}

std::unique_ptr<juce::XmlElement> createPresetXml (const TablePreset& preset, const std::vector<SoundParameter>& parameters)
{
    auto element = std::make_unique<juce::XmlElement> ("Preset");
    element->setAttribute ("application", applicationName);
    element->setAttribute ("name", preset.name);

    for (int i = 0; i < numPresetParameters; ++i)
    {
        const auto given = preset.values.find (i);
        const double value = given != preset.values.end() ? given->second : parameters[(size_t) i].defaultValue;

        auto* param = element->createNewChildElement ("param");
        param->setAttribute ("name", parameters[(size_t) i].name);
        param->setAttribute ("value", formatPresetValue (value));
    }

    return element;
}

void write (const juce::XmlElement& element, const juce::File& file)
{
    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";

    if (! element.writeTo (file, format))
        fail ("cannot write " + file.getFullPathName());
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 5)
        fail ("usage: make_factory_presets <parameters.xml> <table> <bank output> <preset output>");

    const auto parameters = readSoundParameters (juce::File (argv[1]));
    const auto table = readTable (juce::File (argv[2]), parameters);

    juce::XmlElement bank ("PresetBank");
    bank.setAttribute ("name", table.bankName);
    int count = 0;

    for (const auto& group : table.groups)
    {
        auto* groupElement = bank.createNewChildElement ("PresetGroup");
        groupElement->setAttribute ("name", group.name);

        for (const auto& preset : group.presets)
        {
            groupElement->addChildElement (createPresetXml (preset, parameters).release());
            ++count;
        }
    }

    if (count > numPresets)
        fail ("the table holds more than 128 presets");

    if (count < numPresets)
    {
        auto* unused = bank.createNewChildElement ("PresetGroup");
        unused->setAttribute ("name", "Not used");

        // Each holds the default preset's values, as a preset cleared by the user would.
        for (int i = count; i < numPresets; ++i)
            unused->addChildElement (createPresetXml ({ "Preset " + juce::String (i), table.defaultPreset.values }, parameters).release());
    }

    write (bank, juce::File (argv[3]));
    write (*createPresetXml (table.defaultPreset, parameters), juce::File (argv[4]));
    return 0;
}
