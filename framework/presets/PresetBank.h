#pragma once

#include "framework/presets/PresetRecord.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

// The bank of 128 presets, partitioned in order into named groups: group g
// holds the presets from the sum of the sizes of groups 0..g-1 on, and the
// sizes always add up to 128. Records are made once and only change place.
//
// Threads: every operation runs on the message thread except getPreset and
// indexOf, which are lock-free and serve the audio thread's program change.
// Names and groups are guarded by one lock so that host threads may ask for
// names; the audio thread never takes it.
class PresetBank
{
public:
    static constexpr int numPresets = 128;

    explicit PresetBank (int numValuesPerPreset);

    int getNumValues() const noexcept { return numValues; }

    // Any thread, lock-free. The record standing at position i, or null.
    PresetRecord* getPreset (int i) const noexcept;

    // Any thread, lock-free. Where the record stands now, or -1.
    int indexOf (const PresetRecord* record) const noexcept;

    static bool isPresetIndex (int i) noexcept { return i >= 0 && i < numPresets; }

    juce::String getBankName() const;
    void setBankName (const juce::String& name);

    // Empty text for an index outside the bank.
    juce::String getPresetName (int i) const;
    // Returns false for an index outside the bank.
    bool setPresetName (int i, const juce::String& name);

    int getNumGroups() const;
    juce::String getGroupName (int g) const;          // empty when g is no group
    bool setGroupName (int g, const juce::String& name);
    int getGroupSize (int g) const;                   // 0 when g is no group
    int getFirstPresetOfGroup (int g) const;          // -1 when g is no group
    int getLastPresetOfGroup (int g) const;           // first + size - 1
    int getGroupOfPreset (int i) const;               // -1 when i is no preset
    int getPresetIndexInGroup (int g, int k) const;   // -1 when k is not in group g
    juce::String getPresetNameInGroup (int g, int k) const;

    // Replaces the groups; refused (false) unless every size is at least 0
    // and they add up to 128.
    bool setGroups (const std::vector<PresetGroup>& newGroups);
    std::vector<PresetGroup> getGroups() const;

    // Inserts an empty group "New Group" before group g; g must be a group.
    bool addGroup (int g);

    // Removes group g when it holds no preset; the check and the removal
    // are one step under the lock.
    bool removeEmptyGroup (int g);

    // Moves the preset at position from (in group fromGroup) so that it ends at
    // position to, inside group toGroup. Refused (false, nothing changes) when
    // an index is out of range, from == to with the same group, from is not in
    // fromGroup, or to would not lie inside toGroup after the move.
    bool movePreset (int from, int to, int fromGroup, int toGroup);

    // Moves the presets at the given positions within sourceGroup, keeping
    // their order, to the end of destinationGroup. Positions outside the group
    // are refused as a whole.
    bool movePresetsToGroup (int destinationGroup, int sourceGroup, const std::vector<int>& positionsInSource);

    // Moves group from with all its presets so that it becomes group to.
    bool moveGroup (int from, int to);

    // Every preset i becomes "Preset i" with the default values; one group
    // "Not used" holds them all.
    void reset (const PresetRecord& defaults);

private:
    const int numValues;
    std::array<std::unique_ptr<PresetRecord>, numPresets> records;          // owners, never moved
    std::array<std::atomic<PresetRecord*>, numPresets> positions;           // bank order
    std::vector<PresetGroup> groups;
    juce::String bankName { "Preset Bank" };
    juce::CriticalSection lock;

    int firstOf (int g) const noexcept; // lock held
    bool isGroupIndex (int g) const noexcept { return g >= 0 && g < (int) groups.size(); }
    std::vector<PresetRecord*> currentOrder() const noexcept;
    void applyOrder (const std::vector<PresetRecord*>& order) noexcept;
};
