#include "editor/presets/OldStylePresetsBrowser.h"

#include "editor/presets/OldStylePresetBrowserColumns.h"
#include "editor/presets/OldStylePresetBrowserWindow.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "toolkit/browser/ListColumnRows.h"

OldStylePresetsBrowser::OldStylePresetsBrowser (OldStylePresetBrowserWindow& owner, BasePluginOldStyle& bankProcessor)
    : window (owner), bank (bankProcessor)
{
    setScrollBarsShown (false, false);
}

OldStylePresetsBrowser::~OldStylePresetsBrowser() = default;

OldStylePresetsBrowser::GroupListColumn* OldStylePresetsBrowser::getGroupColumn() const
{
    return dynamic_cast<GroupListColumn*> (getColumn (0));
}

OldStylePresetsBrowser::PresetListColumn* OldStylePresetsBrowser::getPresetColumn() const
{
    return dynamic_cast<PresetListColumn*> (getColumn (1));
}

int OldStylePresetsBrowser::getSelectedGroup() const
{
    auto* groups = getGroupColumn();
    return groups != nullptr ? groups->getList().getSelectedRow (0) : -1;
}

void OldStylePresetsBrowser::showPreset (int group, int row)
{
    if (group < 0 || group >= bank.getNumGroups())
        return;

    auto* presets = getPresetColumn();

    if (presets == nullptr || presets->getGroup() != group)
    {
        openColumn (std::make_unique<PresetListColumn> (*this, group));
        presets = getPresetColumn();
    }

    if (presets != nullptr && ! presets->getList().isRowSelected (row))
        presets->showRow (row);

    if (auto* groups = getGroupColumn())
        groups->showRow (group);

    window.updateButtons();
}

void OldStylePresetsBrowser::showCurrentPreset()
{
    const int current = bank.getCurrentPreset();
    const int group = bank.getGroupOfPreset (current);
    const int first = bank.getFirstPresetOfGroup (group);
    auto* presets = getPresetColumn();

    if (presets != nullptr && presets->getGroup() == group)
        presets->showRow (first < 0 ? -1 : current - first);
}

void OldStylePresetsBrowser::switchToPreset (int presetIndex)
{
    // As stepping to the next preset does: the index first, then the values.
    if (PresetBank::isPresetIndex (presetIndex) && presetIndex != bank.getCurrentPreset())
    {
        bank.setCurrentPreset (presetIndex, true);
        bank.applyCurrentPreset();
    }
}

void OldStylePresetsBrowser::presetsMoved()
{
    if (auto* presets = getPresetColumn())
    {
        // The rows selected before now hold other presets.
        presets->getList().deselectAllQuietly();
        presets->refresh();
    }

    showCurrentPreset();
}

void OldStylePresetsBrowser::groupRemoved (int group)
{
    auto* groups = getGroupColumn();

    if (groups == nullptr)
        return;

    groups->refresh();
    const int neighbour = juce::jmin (group, bank.getNumGroups() - 1);
    groups->showRow (neighbour);
    groups->selectItem (neighbour);
}

void OldStylePresetsBrowser::forgetShownBank()
{
    if (auto* groups = getGroupColumn())
    {
        openColumn (*groups);
        groups->showRow (-1);
    }
}

void OldStylePresetsBrowser::contentRefreshed()
{
    window.updateButtons();
}
