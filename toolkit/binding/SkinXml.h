#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <optional>

// The small children most skin elements carry. Tags are compared without
// regard to case; attribute names exactly; a missing attribute reads 0.
namespace toolkit
{
// <pos left=".." top=".."/>: nothing when there is no pos child.
std::optional<juce::Point<int>> readPosition (const juce::XmlElement& element);

// <size width=".." height=".."/>: nothing when there is no size child;
// negative sizes read as 0.
std::optional<juce::Point<int>> readSize (const juce::XmlElement& element);

// A colour attribute written as hexadecimal ARGB ("FF1E2A1C"): nothing when
// the attribute is absent; "0" is transparent black.
std::optional<juce::Colour> readColour (const juce::XmlElement& element, const juce::String& attribute);
} // namespace toolkit
