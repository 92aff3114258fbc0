#pragma once

#include <juce_core/juce_core.h>

// The sequencer lists its file types as extensions (".xrptrb; .xml"); file
// dialogs want wildcards ("*.xrptrb;*.xml").
namespace patternfiles
{
juce::String wildcardsOf (const juce::String& extensions);
} // namespace patternfiles
