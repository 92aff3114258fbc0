#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <functional>
#include <memory>

// How the XML guard (XmlGuard.h) builds the tree of a document it accepted.
// JUCE's reader holds the whole text as a string and a heap block for every
// element, attribute and value, several times the text's size. So a long
// document is handed to it in pieces of about a kilobyte, cut where an
// element begins or ends, and equal values share one string; the tree is the
// one the reader builds from the whole text.
namespace xmlguard
{
// Hands `onChild` the span (from its '<' to the end of its closing tag) of
// each child element of the element starting at `element`, in order.
using ChildSpans = std::function<void (const unsigned char* begin, const unsigned char* end)>;
using ChildrenOf = std::function<void (const unsigned char* element, const ChildSpans& onChild)>;

// Any thread. The document element from rootBegin to rootEnd of an accepted
// document of `documentBytes` bytes (without its children with
// onlyDocumentElement), or null when the reader fails on a piece.
std::unique_ptr<juce::XmlElement> buildTree (const unsigned char* rootBegin, const unsigned char* rootEnd, size_t documentBytes,
                                             bool onlyDocumentElement, const ChildrenOf& childrenOf);
} // namespace xmlguard
