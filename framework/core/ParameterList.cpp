// Reading the parameter list document ("PluginParameters" with one "param"
// child per parameter) into a ParameterManager.
#include "framework/core/NoteNames.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"

namespace
{
// "auto" and similar flags: true when the first non-blank character is 1, t or y.
bool readFlag (const juce::XmlElement& e, const char* attribute)
{
    const auto first = e.getStringAttribute (attribute).trimStart()[0];
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

double readDouble (const juce::XmlElement& e, const char* attribute, double fallback)
{
    return e.hasAttribute (attribute) ? parseFiniteDouble (e.getStringAttribute (attribute)) : fallback;
}

int readInt (const juce::XmlElement& e, const char* attribute, int fallback)
{
    return e.hasAttribute (attribute) ? parseLeadingInt (e.getStringAttribute (attribute)) : fallback;
}

// Any of the on/off kinds, its first value read by the kind's own words.
template <typename Kind>
std::unique_ptr<Parameter> makeSwitch (int index, const juce::String& name, const juce::String& valueText)
{
    auto p = std::make_unique<Kind> (index, name);
    p->setFromString (valueText, false);
    return p;
}

// The parameter an entry describes, or null for an unknown type keyword.
std::unique_ptr<Parameter> createFromEntry (const juce::XmlElement& e, int index, const juce::String& name)
{
    const auto valueText = e.getStringAttribute ("value");
    const auto type = e.getStringAttribute ("type", "float");

    if (type == "float")
        return std::make_unique<FloatParameter> (index, name,
                                                 toFiniteFloat (readDouble (e, "min", 0.0)),
                                                 toFiniteFloat (readDouble (e, "max", 1.0)),
                                                 toFiniteFloat (parseFiniteDouble (valueText)));

    if (type == "int")
        return std::make_unique<IntParameter> (index, name, readInt (e, "min", 0), readInt (e, "max", 1),
                                               parseLeadingInt (valueText));

    if (type == "string")
        return std::make_unique<StringParameter> (index, name, valueText);

    if (type == "bool")
        return makeSwitch<BoolParameter> (index, name, valueText);

    if (type == "state")
        return makeSwitch<StateParameter> (index, name, valueText);

    if (type == "logic")
        return makeSwitch<LogicParameter> (index, name, valueText);

    if (type == "answer")
        return makeSwitch<AnswerParameter> (index, name, valueText);

    if (type == "enum")
    {
        auto p = std::make_unique<EnumParameter> (index, name, e.getStringAttribute ("enum"));
        p->setFromString (valueText, false);
        return p;
    }

    if (type == "note")
        return std::make_unique<NoteParameter> (index, name, juce::jmax (0, noteNameToNumber (valueText)));

    return nullptr;
}
} // namespace

void ParameterManager::loadFromXml (const juce::XmlElement& root)
{
    clear();
    applicationName = root.getStringAttribute ("application");

    if (! tagIs (&root, "PluginParameters"))
        return;

    for (auto* entry : root.getChildIterator())
    {
        if (! tagIs (entry, "param"))
            continue;

        const int index = readInt (*entry, "index", -1);
        const auto name = entry->getStringAttribute ("name");

        if (index == -1 || name.isEmpty())
            continue;

        if (auto parameter = createFromEntry (*entry, index, name))
        {
            parameter->setAutomatable (readFlag (*entry, "auto"));
            addParameter (std::move (parameter));
        }
    }
}
