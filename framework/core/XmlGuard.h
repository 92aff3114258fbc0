#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

// Every document of ours that comes from outside (a state chunk, the
// settings, presets and banks, patterns and pattern banks, drum maps, MIDI
// maps, host parameter maps) passes this guard before JUCE's XML reader sees
// it. That reader trusts its input: bytes that are not UTF-8 make it read
// past its buffer, deep nesting overflows its recursion, a processing
// instruction inside an element can make it loop for ever, and a DTD makes
// it expand entities and open files the document names.
//
// We write none of that, so the guard lets through only the plain XML we
// write: well-formed UTF-8 without NULs, an optional XML declaration first,
// elements with quoted attributes nested at most maxDepth deep and closed by
// their own names, text, comments and CDATA sections, character references
// that name characters, and the five predefined entities. A DTD, an entity
// declaration, a processing instruction after the declaration, an unknown
// entity, more than maxNodes nodes or more than one per minBytesPerNode
// bytes, or more than maxDocumentBytes bytes are refused. The reader is then
// handed the text alone, never a file, so it cannot open anything a document
// names.
//
// The reader is handed a long text in pieces (XmlGuardTree.h), so it never
// copies the whole: a full state then takes about three times its size at
// the parse's peak, a pattern bank four and a half (four of them the
// reader's blocks for its rows), a preset bank two and a half (see
// benchmarks/XmlGuardBenchmark.cpp).
namespace xmlguard
{
constexpr int maxDepth = 32;                         // our deepest document nests 6 deep
constexpr int maxNodes = 1 << 17;                    // elements, attributes and texts; a full state has about 23 000
// Ours take 14 bytes a node or more; a denser text would cost the reader far
// more memory than its own size. A text of any size may have 4096 nodes.
constexpr size_t minBytesPerNode = 8;
constexpr size_t maxDocumentBytes = 16 * 1024 * 1024; // a full state is about 320 KB

// Any thread. Whether the bytes form a document the guard lets through.
bool isAcceptable (const char* bytes, size_t size) noexcept;

// Any thread. The document element, or null when the guard refuses the text
// or the reader cannot parse it. With onlyDocumentElement the element comes
// without its children.
std::unique_ptr<juce::XmlElement> parse (const char* bytes, size_t size, bool onlyDocumentElement = false);
std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyDocumentElement = false);

// Message thread. The document element of a user's file (read through
// readUserFile), or null when the file is refused, cannot be read or its
// text is refused or does not parse.
std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file, bool onlyDocumentElement = false);
} // namespace xmlguard
