#pragma once

#include <memory>

#include <juce_core/juce_core.h>

#include "drummachine/sequencer/Pattern.h"

// The "Pattern" element of pattern files, bank files and the plug-in state.
// Message thread (allocates).
namespace PatternXml
{
// Lenient: a missing attribute takes its default, values are clamped, unknown
// children are skipped. The caller checks the tag first.
Pattern read (const juce::XmlElement& element);

std::unique_ptr<juce::XmlElement> create (const Pattern& pattern, const juce::String& applicationName);

// Step characters: "o" on, "O" accented, "X"/"x" flam, anything else off.
int32_t stepValueOf (juce::juce_wchar character) noexcept;
char characterOf (int32_t stepValue) noexcept; // "." for off and unknown values
} // namespace PatternXml
