#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

// One light preset of the bank: a name and one normalised value (0..1) per
// preset parameter. The values are atomics because the audio thread reads them
// on a program change and writes them while storing edits automatically,
// while the message thread loads and edits the bank.
class PresetRecord
{
public:
    // slot: the bank position the record was made for (-1 outside the bank).
    PresetRecord (int numValues, int slot);

    PresetRecord (const PresetRecord&) = delete;
    PresetRecord& operator= (const PresetRecord&) = delete;

    int getNumValues() const noexcept { return numValues; }
    int getSlot() const noexcept { return slot; }

    // Any thread. 0 for an index outside the record.
    float getValue (int index) const noexcept;

    // Any thread. An index outside the record, or a non-finite value, is
    // ignored; the value is clamped to 0..1.
    void setValue (int index, float normalisedValue) noexcept;

    // Any thread. Takes the values the two records share.
    void copyValuesFrom (const PresetRecord& other) noexcept;

    // The name is read and written on the message thread only (the bank guards
    // it for other threads that ask for names).
    juce::String name { "Preset" };

private:
    const int numValues;
    const int slot;
    std::unique_ptr<std::atomic<float>[]> values;
};

// A named run of consecutive presets in the bank.
struct PresetGroup
{
    juce::String name;
    int size = 0; // number of presets
};
