#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// Reading and writing the user's XML documents (presets, banks, maps,
// settings). Message thread.
namespace xmlfiles
{
// The document element of a file, or null when the file is missing, is no
// regular file, is too large, cannot be read, or its text is refused by the
// XML guard (framework/core/XmlGuard.h) or does not parse.
std::unique_ptr<juce::XmlElement> readDocument (const juce::File& file);

// The document element of a text, or null when the guard refuses it or it
// does not parse.
std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text);

// Writes the element as a "UTF-8" document without DTD into the stream; the
// stream's owner checks how the writing went.
void writeDocument (const juce::XmlElement& element, juce::OutputStream& out);

// Writes the element as a "UTF-8" document without DTD. The text goes to a
// temporary file beside the target, which then replaces the target, so a
// failed write leaves the old file as it was. Returns whether it succeeded.
bool writeDocument (const juce::XmlElement& element, const juce::File& file);
} // namespace xmlfiles
