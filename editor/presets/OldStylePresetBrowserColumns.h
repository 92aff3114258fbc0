#pragma once

#include "editor/presets/OldStylePresetsBrowser.h"

#include <vector>

// What both columns of the preset browser share: the bank and the icons of
// their rows. Message thread.
class OldStylePresetsBrowser::CommonColumn : public ColumnBrowser::ListColumn
{
public:
    CommonColumn (OldStylePresetsBrowser& owner, juce::Image rowIcon, juce::Image selectedRowIcon);

    juce::Image getItemIcon (int row, bool selected) override;
    bool isResizable() override { return false; }

    BasePluginOldStyle& getBankProcessor() const noexcept { return bank; }

    // The selected rows in order.
    std::vector<int> getSelectedRowList() const;
    // The one selected row, or -1 when none or several are selected.
    int getSingleSelectedRow() const;

protected:
    // A drop from a preset column: its selected presets go to the end of the group.
    void moveDroppedPresets (ListColumn& source, int destinationGroup);

    OldStylePresetsBrowser& presetsBrowser;
    BasePluginOldStyle& bank;

private:
    const juce::Image icon, selectedIcon;
};

// The bank's groups, one selected at a time. Presets dropped onto a group
// move to its end; the group itself moves before or after another one.
// Message thread.
class OldStylePresetsBrowser::GroupListColumn : public CommonColumn
{
public:
    static constexpr int width = 241; // pixels

    explicit GroupListColumn (OldStylePresetsBrowser& owner);

    bool keepsColumn (Column&) override { return false; }
    bool isChildOf (Column&) override { return false; }
    int getDefaultWidth() override { return width; }

    int getNumItems() override;
    juce::String getItemText (int row) override;
    bool itemHasChildren (int row) override; // a group holding presets
    std::unique_ptr<Column> createChildColumn (int row) override;
    void itemSelected (int row) override;
    void renameItem (int row, const juce::String& newText) override;

    bool canDropOnColumn (ListColumn&) override { return false; }
    bool canDropOntoItem (ListColumn& source, int row) override;
    bool canInsertBefore (ListColumn& source, int row) override;
    bool canInsertAfter (ListColumn& source, int row) override;
    void dropOntoItem (ListColumn& source, int row) override;
    void insertBefore (ListColumn& source, int row) override;
    void insertAfter (ListColumn& source, int row) override;

private:
    bool isOwnSingleSelection (ListColumn& source);
    void moveSelectedGroup (int row, bool after);
};

// The presets of one group, several selectable at a time. A single preset
// moves before or after another; any number move to the end of the group
// when dropped onto the column. Message thread.
class OldStylePresetsBrowser::PresetListColumn : public CommonColumn
{
public:
    static constexpr int width = 350; // pixels

    PresetListColumn (OldStylePresetsBrowser& owner, int groupIndex);

    int getGroup() const noexcept { return group; }

    bool keepsColumn (Column& column) override { return isGroupColumnOfThisBank (column); }
    bool isChildOf (Column& column) override { return isGroupColumnOfThisBank (column); }
    std::unique_ptr<Column> createParentColumn() override;
    int getDefaultWidth() override { return width; }

    int getNumItems() override;
    juce::String getItemText (int row) override;
    void itemSelected (int row) override;
    void renameItem (int row, const juce::String& newText) override;

    bool canDropOnColumn (ListColumn& source) override;
    bool canDropOntoItem (ListColumn&, int) override { return false; }
    bool canInsertBefore (ListColumn& source, int row) override;
    bool canInsertAfter (ListColumn& source, int row) override;
    void dropOnColumn (ListColumn& source) override;
    void insertBefore (ListColumn& source, int row) override;
    void insertAfter (ListColumn& source, int row) override;

private:
    bool isGroupColumnOfThisBank (Column& column) const;
    // The source as a preset column with a single selected row, or null.
    PresetListColumn* asSinglePresetSource (ListColumn& source) const;
    void moveSelectedPreset (ListColumn& source, int row, bool after);

    const int group;
};
