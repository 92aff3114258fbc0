#pragma once

#include <juce_core/juce_core.h>

// The parsed "tags" attribute of a preset: tags separated by ";", each its
// name, ":" and its values separated by "|" ("style:dark|hard;bpm:120").
// A token without ":" is a tag with an empty name whose single value is the
// whole token.
class PresetTags
{
public:
    PresetTags() = default;
    PresetTags (const PresetTags& other);
    PresetTags& operator= (const PresetTags& other);

    // Replaces the content by the tags found in the text.
    void parse (const juce::String& text);
    juce::String toString() const;

    // Removes every tag and its values.
    void clearValues();

    int getNumTags() const noexcept { return names.size(); }
    juce::String getTagName (int tagIndex) const { return names[tagIndex]; }
    juce::StringArray getValues (int tagIndex) const; // empty for an unknown tag

private:
    juce::StringArray names;
    juce::OwnedArray<juce::StringArray> values; // parallel to names
};
