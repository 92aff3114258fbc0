#include "toolkit/binding/SkinXml.h"

#include "framework/core/XmlTags.h"

namespace toolkit
{
std::optional<juce::Point<int>> readPosition (const juce::XmlElement& element)
{
    if (auto* pos = findChildWithTag (&element, "pos"))
        return juce::Point<int> (pos->getIntAttribute ("left"), pos->getIntAttribute ("top"));

    return std::nullopt;
}

std::optional<juce::Point<int>> readSize (const juce::XmlElement& element)
{
    if (auto* size = findChildWithTag (&element, "size"))
        return juce::Point<int> (juce::jmax (0, size->getIntAttribute ("width")), juce::jmax (0, size->getIntAttribute ("height")));

    return std::nullopt;
}
} // namespace toolkit
