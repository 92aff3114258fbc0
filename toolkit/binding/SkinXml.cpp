#include "toolkit/binding/SkinXml.h"

#include "framework/core/XmlTags.h"

namespace toolkit
{
std::optional<juce::Point<int>> readPosition (const juce::XmlElement& element, SkinReader& reader)
{
    if (auto* pos = findChildWithTag (&element, "pos"))
        return juce::Point<int> (reader.readInt (*pos, "left", 0, skinbounds::position),
                                 reader.readInt (*pos, "top", 0, skinbounds::position));

    return std::nullopt;
}

std::optional<juce::Point<int>> readSize (const juce::XmlElement& element, SkinReader& reader)
{
    if (auto* size = findChildWithTag (&element, "size"))
        return juce::Point<int> (reader.readInt (*size, "width", 0, skinbounds::size),
                                 reader.readInt (*size, "height", 0, skinbounds::size));

    return std::nullopt;
}

std::optional<juce::Colour> readColour (const juce::XmlElement& element, const juce::String& attribute)
{
    if (! element.hasAttribute (attribute))
        return std::nullopt;

    return juce::Colour (static_cast<juce::uint32> (element.getStringAttribute (attribute).getHexValue32()));
}
} // namespace toolkit
