#include "framework/core/PresetTags.h"

PresetTags::PresetTags (const PresetTags& other)
{
    *this = other;
}

PresetTags& PresetTags::operator= (const PresetTags& other)
{
    if (this != &other)
    {
        clearValues();
        names = other.names;

        for (auto* list : other.values)
            values.add (new juce::StringArray (*list));
    }

    return *this;
}

void PresetTags::clearValues()
{
    names.clear();
    values.clear();
}

void PresetTags::parse (const juce::String& text)
{
    clearValues();

    if (text.isEmpty())
        return;

    for (auto& token : juce::StringArray::fromTokens (text, ";", {}))
    {
        const int colon = token.indexOfChar (':');

        if (colon < 0)
        {
            // No name: the whole token is the one value.
            names.add ({});
            values.add (new juce::StringArray (token));
        }
        else
        {
            names.add (token.substring (0, colon));
            values.add (new juce::StringArray (juce::StringArray::fromTokens (token.substring (colon + 1), "|", {})));
        }
    }
}

juce::String PresetTags::toString() const
{
    juce::StringArray tags;

    for (int i = 0; i < names.size(); ++i)
        tags.add (names[i] + ":" + values.getUnchecked (i)->joinIntoString ("|"));

    return tags.joinIntoString (";");
}

juce::StringArray PresetTags::getValues (int tagIndex) const
{
    if (auto* list = values[tagIndex])
        return *list;

    return {};
}
