#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// The frame of the host's state chunk: the library's state-blob format, a
// four-byte magic, a four-byte text length (both little-endian) and the XML
// text of one document.
namespace statechunk
{
// Message thread. The chunk for the element.
void write (const juce::XmlElement& element, juce::MemoryBlock& destination);

// Message thread. The document of a chunk, or null when the chunk is too
// short, has another magic, a length that is zero or runs past the data, or
// text that the XML guard refuses or that does not parse.
std::unique_ptr<juce::XmlElement> read (const void* data, int sizeInBytes);
} // namespace statechunk
