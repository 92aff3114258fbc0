#include "framework/presets/PresetRecord.h"

#include <cmath>

PresetRecord::PresetRecord (int numValuesToHold, int slotNumber)
    : numValues (juce::jmax (0, numValuesToHold)),
      slot (slotNumber),
      values (new std::atomic<float>[(size_t) juce::jmax (1, numValues)])
{
    for (int i = 0; i < numValues; ++i)
        values[(size_t) i].store (0.0f, std::memory_order_relaxed);
}

float PresetRecord::getValue (int index) const noexcept
{
    if (index < 0 || index >= numValues)
        return 0.0f;

    return values[(size_t) index].load (std::memory_order_relaxed);
}

void PresetRecord::setValue (int index, float normalisedValue) noexcept
{
    if (index < 0 || index >= numValues || ! std::isfinite (normalisedValue))
        return;

    values[(size_t) index].store (juce::jlimit (0.0f, 1.0f, normalisedValue), std::memory_order_relaxed);
}

void PresetRecord::copyValuesFrom (const PresetRecord& other) noexcept
{
    const int shared = juce::jmin (numValues, other.numValues);

    for (int i = 0; i < shared; ++i)
        values[(size_t) i].store (other.getValue (i), std::memory_order_relaxed);
}
