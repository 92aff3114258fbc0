#include "editor/presets/OldStylePresetBrowserColumns.h"

#include "editor/presets/PresetBrowserIcons.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "toolkit/browser/ListColumnRows.h"

using CommonColumn = OldStylePresetsBrowser::CommonColumn;
using GroupListColumn = OldStylePresetsBrowser::GroupListColumn;
using PresetListColumn = OldStylePresetsBrowser::PresetListColumn;

CommonColumn::CommonColumn (OldStylePresetsBrowser& owner, juce::Image rowIcon, juce::Image selectedRowIcon)
    : ListColumn (owner),
      presetsBrowser (owner),
      bank (owner.getBankProcessor()),
      icon (std::move (rowIcon)),
      selectedIcon (std::move (selectedRowIcon))
{
}

juce::Image CommonColumn::getItemIcon (int, bool selected)
{
    return selected ? selectedIcon : icon;
}

std::vector<int> CommonColumn::getSelectedRowList() const
{
    const auto rows = getSelectedRows();
    std::vector<int> ordered;

    for (int i = 0; i < rows.size(); ++i)
        ordered.push_back (rows[i]);

    return ordered;
}

int CommonColumn::getSingleSelectedRow() const
{
    return getList().getNumSelectedRows() == 1 ? getList().getSelectedRow (0) : -1;
}

void CommonColumn::moveDroppedPresets (ListColumn& source, int destinationGroup)
{
    if (auto* presets = dynamic_cast<PresetListColumn*> (&source))
        if (bank.movePresetsToGroup (destinationGroup, presets->getGroup(), presets->getSelectedRowList()))
            presetsBrowser.presetsMoved();
}

//==============================================================================
GroupListColumn::GroupListColumn (OldStylePresetsBrowser& owner)
    : CommonColumn (owner, presetbrowser::getGroupIcon (false), presetbrowser::getGroupIcon (true))
{
    getList().setMultipleSelectionEnabled (false);
}

int GroupListColumn::getNumItems()
{
    return bank.getNumGroups();
}

juce::String GroupListColumn::getItemText (int row)
{
    return bank.getGroupName (row);
}

bool GroupListColumn::itemHasChildren (int row)
{
    return bank.getGroupSize (row) > 0;
}

std::unique_ptr<ColumnBrowser::Column> GroupListColumn::createChildColumn (int row)
{
    return std::make_unique<PresetListColumn> (presetsBrowser, row);
}

void GroupListColumn::itemSelected (int)
{
    presetsBrowser.showCurrentPreset();
}

void GroupListColumn::renameItem (int row, const juce::String& newText)
{
    bank.setGroupName (row, newText);
}

bool GroupListColumn::canDropOntoItem (ListColumn& source, int)
{
    return dynamic_cast<PresetListColumn*> (&source) != nullptr;
}

bool GroupListColumn::isOwnSingleSelection (ListColumn& source)
{
    return &source == this && getSingleSelectedRow() >= 0;
}

bool GroupListColumn::canInsertBefore (ListColumn& source, int)
{
    return isOwnSingleSelection (source);
}

bool GroupListColumn::canInsertAfter (ListColumn& source, int)
{
    return isOwnSingleSelection (source);
}

void GroupListColumn::dropOntoItem (ListColumn& source, int row)
{
    moveDroppedPresets (source, row);
}

void GroupListColumn::insertBefore (ListColumn& source, int row)
{
    if (isOwnSingleSelection (source))
        moveSelectedGroup (row, false);
}

void GroupListColumn::insertAfter (ListColumn& source, int row)
{
    if (isOwnSingleSelection (source))
        moveSelectedGroup (row, true);
}

void GroupListColumn::moveSelectedGroup (int row, bool after)
{
    const int from = getSingleSelectedRow();
    int to = row;

    // The group leaves its place first: the rows past it move up by one.
    if (! after && row > from)
        --to;
    else if (after && row < from)
        ++to;

    if (! bank.moveGroup (from, to))
        return;

    // Chosen again at its new place, so that the preset column shows it.
    showRow (to);
    selectItem (to);
}

//==============================================================================
PresetListColumn::PresetListColumn (OldStylePresetsBrowser& owner, int groupIndex)
    : CommonColumn (owner, presetbrowser::getPresetIcon (false), presetbrowser::getPresetIcon (true)),
      group (groupIndex)
{
}

bool PresetListColumn::isGroupColumnOfThisBank (Column& column) const
{
    auto* groups = dynamic_cast<GroupListColumn*> (&column);
    return groups != nullptr && &groups->getBankProcessor() == &bank;
}

std::unique_ptr<ColumnBrowser::Column> PresetListColumn::createParentColumn()
{
    return std::make_unique<GroupListColumn> (presetsBrowser);
}

int PresetListColumn::getNumItems()
{
    return bank.getGroupSize (group);
}

juce::String PresetListColumn::getItemText (int row)
{
    return bank.getPresetNameInGroup (group, row);
}

void PresetListColumn::itemSelected (int row)
{
    presetsBrowser.switchToPreset (bank.getPresetIndexInGroup (group, row));
}

void PresetListColumn::renameItem (int row, const juce::String& newText)
{
    const int index = bank.getPresetIndexInGroup (group, row);

    if (index >= 0)
        bank.setPresetName (index, newText);
}

bool PresetListColumn::canDropOnColumn (ListColumn& source)
{
    return dynamic_cast<PresetListColumn*> (&source) != nullptr;
}

PresetListColumn* PresetListColumn::asSinglePresetSource (ListColumn& source) const
{
    auto* presets = dynamic_cast<PresetListColumn*> (&source);
    return presets != nullptr && presets->getSingleSelectedRow() >= 0 ? presets : nullptr;
}

bool PresetListColumn::canInsertBefore (ListColumn& source, int)
{
    return asSinglePresetSource (source) != nullptr;
}

bool PresetListColumn::canInsertAfter (ListColumn& source, int)
{
    return asSinglePresetSource (source) != nullptr;
}

void PresetListColumn::dropOnColumn (ListColumn& source)
{
    moveDroppedPresets (source, group);
}

void PresetListColumn::insertBefore (ListColumn& source, int row)
{
    moveSelectedPreset (source, row, false);
}

void PresetListColumn::insertAfter (ListColumn& source, int row)
{
    moveSelectedPreset (source, row, true);
}

void PresetListColumn::moveSelectedPreset (ListColumn& source, int row, bool after)
{
    auto* presets = asSinglePresetSource (source);

    if (presets == nullptr)
        return;

    const int from = bank.getPresetIndexInGroup (presets->getGroup(), presets->getSingleSelectedRow());
    int to = bank.getPresetIndexInGroup (group, row);

    if (from < 0 || to < 0)
        return;

    // The preset leaves its place first: the presets past it move up by one.
    if (! after && to > from)
        --to;
    else if (after && to < from)
        ++to;

    if (! bank.movePreset (from, to, presets->getGroup(), group))
        return;

    refresh();
    showRow (to - bank.getFirstPresetOfGroup (group));
}
