#pragma once

#include <juce_core/juce_core.h>

// Tags in our XML documents are compared without regard to case. JUCE's own
// XmlElement::hasTagName asserts when the case differs, so every reader of a
// case-free tag goes through these two instead.

// Any thread. True when the element exists and its tag equals the given tag,
// ignoring case.
bool tagIs (const juce::XmlElement* element, juce::StringRef tag) noexcept;

// Any thread. The first child whose tag equals the given tag ignoring case,
// or null (also for a null parent).
juce::XmlElement* findChildWithTag (const juce::XmlElement* parent, juce::StringRef tag) noexcept;
