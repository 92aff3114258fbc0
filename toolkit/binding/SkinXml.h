#pragma once

#include "toolkit/binding/SkinReader.h"

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <optional>

// The small children most skin elements carry, and the bounds of every number
// a skin gives. Tags are compared without regard to case; attribute names
// exactly; a missing attribute reads 0. Numbers go through the reader, which
// keeps them within their bounds and notes any outside with its place.
namespace toolkit
{
namespace skinbounds
{
// Pixels. A position is relative to the parent; any panel, control or
// offset fits in these, and sums of a few of them stay far from the int
// range.
inline constexpr SkinBounds position { -16384, 16384 };
inline constexpr SkinBounds offset { -16384, 16384 };
inline constexpr SkinBounds size { 0, 16384 };

// Frames of a strip (at most one per row of its image, checked against the
// image later) and states of a button (twice as many frames in 3D).
inline constexpr SkinBounds frames { 1, 16384 };
inline constexpr SkinBounds states { 2, 1024 };

// A bitmap font's glyph rows, in pixels (0: no font), and a text font's
// height (0: the control's own) and extra kerning (a share of the height).
inline constexpr SkinBounds fontHeight { 0, 1024 };
inline constexpr SkinDecimalBounds textHeight { 0.0, 1024.0 };
inline constexpr SkinDecimalBounds kerning { -1.0, 1.0 };

// Radio groups (0: none), figures of a digit display, its place values and
// its range in parameter units, pattern numbers and a bank's slots.
inline constexpr SkinBounds radioGroup { 0, 65535 };
inline constexpr SkinBounds digits { 1, 9 };
inline constexpr SkinDecimalBounds placeValue { 0.0, 1.0e9 };
inline constexpr SkinDecimalBounds displayValue { -1.0e9, 1.0e9 };
inline constexpr SkinBounds patternNumber { 0, 9999 };
inline constexpr SkinBounds slots { 4, 16 };

// MIDI notes, and how many neighbours on each side shape a key's picture
// (the picture holds 2 to the power left + right frames per state).
inline constexpr SkinBounds note { 0, 127 };
inline constexpr SkinBounds keyNeighbours { 0, 4 };
} // namespace skinbounds

// <pos left=".." top=".."/>: nothing when there is no pos child.
std::optional<juce::Point<int>> readPosition (const juce::XmlElement& element, SkinReader& reader);

// <size width=".." height=".."/>: nothing when there is no size child.
std::optional<juce::Point<int>> readSize (const juce::XmlElement& element, SkinReader& reader);

// A colour attribute written as hexadecimal ARGB ("FF1E2A1C"): nothing when
// the attribute is absent; "0" is transparent black.
std::optional<juce::Colour> readColour (const juce::XmlElement& element, const juce::String& attribute);
} // namespace toolkit
