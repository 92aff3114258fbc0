#include "framework/presets/PresetBank.h"

#include <algorithm>

PresetBank::PresetBank (int numValuesPerPreset)
    : numValues (numValuesPerPreset)
{
    for (int i = 0; i < numPresets; ++i)
    {
        records[(size_t) i] = std::make_unique<PresetRecord> (numValues, i);
        positions[(size_t) i].store (records[(size_t) i].get(), std::memory_order_release);
    }
}

PresetRecord* PresetBank::getPreset (int i) const noexcept
{
    return isPresetIndex (i) ? positions[(size_t) i].load (std::memory_order_acquire) : nullptr;
}

int PresetBank::indexOf (const PresetRecord* record) const noexcept
{
    for (int i = 0; i < numPresets; ++i)
        if (positions[(size_t) i].load (std::memory_order_acquire) == record)
            return i;

    return -1;
}

juce::String PresetBank::getBankName() const
{
    const juce::ScopedLock sl (lock);
    return bankName;
}

void PresetBank::setBankName (const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    bankName = name;
}

juce::String PresetBank::getPresetName (int i) const
{
    const juce::ScopedLock sl (lock);
    const auto* record = getPreset (i);
    return record != nullptr ? record->name : juce::String();
}

bool PresetBank::setPresetName (int i, const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    auto* record = getPreset (i);

    if (record == nullptr)
        return false;

    record->name = name;
    return true;
}

int PresetBank::getNumGroups() const
{
    const juce::ScopedLock sl (lock);
    return (int) groups.size();
}

juce::String PresetBank::getGroupName (int g) const
{
    const juce::ScopedLock sl (lock);
    return isGroupIndex (g) ? groups[(size_t) g].name : juce::String();
}

bool PresetBank::setGroupName (int g, const juce::String& name)
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (g))
        return false;

    groups[(size_t) g].name = name;
    return true;
}

int PresetBank::getGroupSize (int g) const
{
    const juce::ScopedLock sl (lock);
    return isGroupIndex (g) ? groups[(size_t) g].size : 0;
}

int PresetBank::firstOf (int g) const noexcept
{
    int first = 0;

    for (int i = 0; i < g; ++i)
        first += groups[(size_t) i].size;

    return first;
}

int PresetBank::getFirstPresetOfGroup (int g) const
{
    const juce::ScopedLock sl (lock);
    return isGroupIndex (g) ? firstOf (g) : -1;
}

int PresetBank::getLastPresetOfGroup (int g) const
{
    const juce::ScopedLock sl (lock);
    return isGroupIndex (g) ? firstOf (g) + groups[(size_t) g].size - 1 : -1;
}

int PresetBank::getGroupOfPreset (int i) const
{
    const juce::ScopedLock sl (lock);

    if (! isPresetIndex (i))
        return -1;

    int first = 0;

    for (size_t g = 0; g < groups.size(); ++g)
    {
        if (i < first + groups[g].size)
            return (int) g;

        first += groups[g].size;
    }

    return -1;
}

int PresetBank::getPresetIndexInGroup (int g, int k) const
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (g) || k < 0 || k >= groups[(size_t) g].size)
        return -1;

    const int index = firstOf (g) + k;
    return isPresetIndex (index) ? index : -1;
}

juce::String PresetBank::getPresetNameInGroup (int g, int k) const
{
    return getPresetName (getPresetIndexInGroup (g, k));
}

bool PresetBank::setGroups (const std::vector<PresetGroup>& newGroups)
{
    int total = 0;

    for (const auto& group : newGroups)
    {
        if (group.size < 0)
            return false;

        total += group.size;
    }

    if (total != numPresets)
        return false;

    const juce::ScopedLock sl (lock);
    groups = newGroups;
    return true;
}

std::vector<PresetGroup> PresetBank::getGroups() const
{
    const juce::ScopedLock sl (lock);
    return groups;
}

bool PresetBank::addGroup (int g)
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (g))
        return false;

    groups.insert (groups.begin() + g, PresetGroup { "New Group", 0 });
    return true;
}

bool PresetBank::removeEmptyGroup (int g)
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (g) || groups[(size_t) g].size != 0)
        return false;

    groups.erase (groups.begin() + g);
    return true;
}

std::vector<PresetRecord*> PresetBank::currentOrder() const noexcept
{
    std::vector<PresetRecord*> order;
    order.reserve (numPresets);

    for (const auto& position : positions)
        order.push_back (position.load (std::memory_order_acquire));

    return order;
}

void PresetBank::applyOrder (const std::vector<PresetRecord*>& order) noexcept
{
    jassert (order.size() == (size_t) numPresets);

    for (size_t i = 0; i < order.size(); ++i)
        positions[i].store (order[i], std::memory_order_release);
}

bool PresetBank::movePreset (int from, int to, int fromGroup, int toGroup)
{
    const juce::ScopedLock sl (lock);

    if (! isPresetIndex (from) || ! isPresetIndex (to) || ! isGroupIndex (fromGroup) || ! isGroupIndex (toGroup))
        return false;

    if (from == to && fromGroup == toGroup)
        return false;

    const int fromFirst = firstOf (fromGroup);

    if (from < fromFirst || from >= fromFirst + groups[(size_t) fromGroup].size)
        return false;

    auto newGroups = groups;
    --newGroups[(size_t) fromGroup].size;
    ++newGroups[(size_t) toGroup].size;

    int toFirst = 0;
    for (int g = 0; g < toGroup; ++g)
        toFirst += newGroups[(size_t) g].size;

    if (to < toFirst || to >= toFirst + newGroups[(size_t) toGroup].size)
        return false;

    auto order = currentOrder();
    auto* moving = order[(size_t) from];
    order.erase (order.begin() + from);
    order.insert (order.begin() + to, moving);

    groups = std::move (newGroups);
    applyOrder (order);
    return true;
}

bool PresetBank::movePresetsToGroup (int destinationGroup, int sourceGroup, const std::vector<int>& positionsInSource)
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (destinationGroup) || ! isGroupIndex (sourceGroup) || destinationGroup == sourceGroup
        || positionsInSource.empty())
        return false;

    auto chosenPositions = positionsInSource;
    std::sort (chosenPositions.begin(), chosenPositions.end());
    chosenPositions.erase (std::unique (chosenPositions.begin(), chosenPositions.end()), chosenPositions.end());

    const int sourceSize = groups[(size_t) sourceGroup].size;

    if (chosenPositions.front() < 0 || chosenPositions.back() >= sourceSize)
        return false;

    const int sourceFirst = firstOf (sourceGroup);
    auto order = currentOrder();

    std::vector<PresetRecord*> chosen;
    for (int k : chosenPositions)
        chosen.push_back (order[(size_t) (sourceFirst + k)]);

    for (auto* record : chosen)
        order.erase (std::find (order.begin(), order.end(), record));

    auto newGroups = groups;
    const int count = (int) chosen.size();
    newGroups[(size_t) sourceGroup].size -= count;

    int destinationEnd = 0;
    for (int g = 0; g <= destinationGroup; ++g)
        destinationEnd += newGroups[(size_t) g].size;

    order.insert (order.begin() + destinationEnd, chosen.begin(), chosen.end());
    newGroups[(size_t) destinationGroup].size += count;

    groups = std::move (newGroups);
    applyOrder (order);
    return true;
}

bool PresetBank::moveGroup (int from, int to)
{
    const juce::ScopedLock sl (lock);

    if (! isGroupIndex (from) || ! isGroupIndex (to) || from == to)
        return false;

    const auto order = currentOrder();
    std::vector<std::vector<PresetRecord*>> blocks;
    int first = 0;

    for (const auto& group : groups)
    {
        blocks.emplace_back (order.begin() + first, order.begin() + first + group.size);
        first += group.size;
    }

    auto moveElement = [from, to] (auto& vector)
    {
        auto element = std::move (vector[(size_t) from]);
        vector.erase (vector.begin() + from);
        vector.insert (vector.begin() + to, std::move (element));
    };

    moveElement (blocks);
    moveElement (groups);

    std::vector<PresetRecord*> newOrder;
    newOrder.reserve (numPresets);
    for (const auto& block : blocks)
        newOrder.insert (newOrder.end(), block.begin(), block.end());

    applyOrder (newOrder);
    return true;
}

void PresetBank::reset (const PresetRecord& defaults)
{
    const juce::ScopedLock sl (lock);

    for (int i = 0; i < numPresets; ++i)
    {
        auto* record = getPreset (i);
        record->name = "Preset " + juce::String (i);
        record->copyValuesFrom (defaults);
    }

    groups = { PresetGroup { "Not used", numPresets } };
}
