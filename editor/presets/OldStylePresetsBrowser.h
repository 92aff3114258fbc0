#pragma once

#include "toolkit/browser/ListColumn.h"

class BasePluginOldStyle;
class OldStylePresetBrowserWindow;

// The preset bank in two columns: its groups on the left, the presets of the
// chosen group on the right. Choosing a preset makes it the current one;
// groups and presets are renamed in place and moved by drag and drop (see
// OldStylePresetBrowserColumns.h for what each column allows). It follows
// the bank's current preset when told to (showPreset). Message thread.
class OldStylePresetsBrowser : public ColumnBrowser
{
public:
    class CommonColumn;
    class GroupListColumn;
    class PresetListColumn;

    OldStylePresetsBrowser (OldStylePresetBrowserWindow& window, BasePluginOldStyle& bankProcessor);
    ~OldStylePresetsBrowser() override;

    // Shows the group's presets (opening its column, and the group column
    // with it, when another or none is open) with the row selected alone,
    // and selects the group. A group outside the bank shows nothing new;
    // row -1 selects no preset.
    void showPreset (int group, int row);

    // When the preset column shows the current preset's group, selects its row.
    void showCurrentPreset();

    // The first selected row of the group column, or -1.
    int getSelectedGroup() const;

    GroupListColumn* getGroupColumn() const;   // the first column, or null
    PresetListColumn* getPresetColumn() const; // the second column, or null

    BasePluginOldStyle& getBankProcessor() const noexcept { return bank; }

    // The preset chosen in the preset column becomes the current one and
    // is applied, unless it is current already.
    void switchToPreset (int presetIndex);

    // After presets left or joined the shown group: the preset column shows
    // its presets again with the current one selected.
    void presetsMoved();

    // After the group at this index was removed: its neighbour is chosen.
    void groupRemoved (int group);

    // After the whole bank was replaced: the preset column closes and the
    // group column, read again, keeps no selection.
    void forgetShownBank();

    // The window's buttons follow every refresh.
    void contentRefreshed() override;

private:
    OldStylePresetBrowserWindow& window;
    BasePluginOldStyle& bank;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OldStylePresetsBrowser)
};
