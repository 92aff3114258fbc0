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

std::optional<juce::Colour> readColour (const juce::XmlElement& element, const juce::String& attribute)
{
    if (! element.hasAttribute (attribute))
        return std::nullopt;

    return juce::Colour (static_cast<juce::uint32> (element.getStringAttribute (attribute).getHexValue32()));
}
} // namespace toolkit
