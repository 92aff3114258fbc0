#pragma once

#include "platform/EmbeddedResources.h"

#include <juce_core/juce_core.h>

#include <memory>

// Resources embedded in the module, found by a file-like name: the part before
// the last "." is the resource name, the part after it the type
// ("parameters.xml", "default.xrptrb"); case does not matter.

// Any thread. The embedded bytes themselves (no copy), or an empty resource.
platform::Resource findEmbeddedResource (const juce::String& fileName);

// Any thread. A copy of the bytes, or null when there is no such resource
// (or it is empty, or the name has no ".").
std::unique_ptr<juce::MemoryBlock> loadResourceData (const juce::String& fileName);

// Any thread. The bytes read as UTF-8 text; empty when there is none.
juce::String getResourceAsString (const juce::String& fileName);

// getResourceAsImage is in ResourceImages.h, apart, so that readers of text
// resources need no graphics headers.
