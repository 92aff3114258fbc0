#include "framework/core/XmlTags.h"

bool tagIs (const juce::XmlElement* element, juce::StringRef tag) noexcept
{
    return element != nullptr && element->getTagName().equalsIgnoreCase (tag);
}

juce::XmlElement* findChildWithTag (const juce::XmlElement* parent, juce::StringRef tag) noexcept
{
    if (parent == nullptr)
        return nullptr;

    for (auto* child : parent->getChildIterator())
        if (tagIs (child, tag))
            return child;

    return nullptr;
}
