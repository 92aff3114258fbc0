#pragma once

#include <juce_core/juce_core.h>

// Tags of our documents are compared without regard to case.
inline bool hasTagIgnoringCase (const juce::XmlElement& element, juce::StringRef tag)
{
    return element.getTagName().equalsIgnoreCase (tag);
}
