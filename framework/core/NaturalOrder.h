#pragma once

#include <juce_core/juce_core.h>

// Any thread. The order in which preset folders and files are listed: code
// point by code point, except that runs of decimal digits compare by their
// numeric value ("Kit 2" before "Kit 10"); a text that is a prefix of the
// other comes first. Negative when a comes first, positive when b does, 0
// when they are equal.
int compareNatural (const juce::String& a, const juce::String& b) noexcept;
