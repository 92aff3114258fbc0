#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

/** The factory presets as embedded in the module, read back for tests: names
    and the 49 sound values each (normalised 0..1). */
namespace factorykits
{
constexpr int numSoundValues = 49;

struct Kit
{
    juce::String name;
    std::array<float, numSoundValues> values {};
};

/** The factory bank's presets in bank order (every group). */
std::vector<Kit> readFactoryBank();
/** The default preset. */
Kit readDefaultPreset();
} // namespace factorykits
