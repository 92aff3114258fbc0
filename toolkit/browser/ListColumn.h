#pragma once

#include "toolkit/browser/ColumnBrowser.h"

#include <memory>

// A column showing a list of items, each with an icon and a text that can be
// renamed in place. Choosing an item opens its child column to the right.
// Items can be dragged to the list columns of the same browser; a drop lands
// on the column, onto an item, or before or after an item, as the hooks
// allow. The dragged rows are always the source column's selected rows.
//
// Every row a hook gets lies within the list (0 to getNumItems() - 1):
// positions, selections and keys are range-checked first. Message thread.
class ColumnBrowser::ListColumn : public ColumnBrowser::Column,
                                  public juce::DragAndDropTarget,
                                  public juce::Timer
{
public:
    class List;
    class ItemComponent;

    enum class DropMode
    {
        none = 0,
        onColumn = 1,
        ontoItem = 2,
        beforeItem = 3,
        afterItem = 4
    };

    static constexpr int hoverOpenDelayMs = 500; // a drag resting on an item opens it
    static constexpr int insertZone = 5;        // pixels at a row's top and bottom that insert

    explicit ListColumn (ColumnBrowser& owner);
    ~ListColumn() override;

    //==========================================================================
    // Hooks (defaults in the comments).
    virtual int getNumItems() { return 0; }
    virtual juce::String getItemText (int /*row*/) { return {}; }
    virtual juce::Image getItemIcon (int /*row*/, bool /*selected*/) { return {}; }
    // Bold text and an arrow.
    virtual bool itemHasChildren (int /*row*/) { return false; }
    virtual bool canDragItems (const juce::SparseSet<int>& /*rows*/) { return true; }
    virtual bool canRenameItem (int /*row*/) { return true; }
    // The column opened for the row; null opens none and closes those right of this one.
    virtual std::unique_ptr<Column> createChildColumn (int /*row*/) { return nullptr; }
    // After the row was chosen.
    virtual void itemSelected (int /*row*/) {}
    // After an in-place edit of the row's text was committed.
    virtual void renameItem (int /*row*/, const juce::String& /*newText*/) {}
    // After a click below the last row.
    virtual void backgroundClicked() {}
    // Whether a drop from the source column may land in each place (all true).
    virtual bool canDropOnColumn (ListColumn& /*source*/) { return true; }
    virtual bool canDropOntoItem (ListColumn& /*source*/, int /*row*/) { return true; }
    virtual bool canInsertBefore (ListColumn& /*source*/, int /*row*/) { return true; }
    virtual bool canInsertAfter (ListColumn& /*source*/, int /*row*/) { return true; }
    // Performs a drop of the source's selected rows (nothing).
    virtual void dropOnColumn (ListColumn& /*source*/) {}
    virtual void dropOntoItem (ListColumn& /*source*/, int /*row*/) {}
    virtual void insertBefore (ListColumn& /*source*/, int /*row*/) {}
    virtual void insertAfter (ListColumn& /*source*/, int /*row*/) {}

    //==========================================================================
    // Chooses the row: opens its child column (or closes the columns right
    // of this one), shows this column and the last one, makes this column
    // the active one, then itemSelected. Rows outside the list do nothing.
    void selectItem (int row);

    // Selects the row alone and scrolls it into view without choosing it
    // (-1 or a row outside the list clears the selection).
    void showRow (int row);

    juce::SparseSet<int> getSelectedRows() const;

    // Opens the row's text for editing when canRenameItem allows it. The
    // rename stays the row's: scrolled out of view, or its column closing,
    // it ends there, committed.
    void startRename (int row);
    // Ends an open rename, committed (renameItem) to the item it began on.
    void endRename();

    List& getList() const noexcept { return *list; }
    DropMode getDropMode() const noexcept { return dropMode; }
    int getDropRow() const noexcept { return dropRow; }

    // Re-reads the items and repaints.
    void refresh() override;
    // Gives the list the keyboard focus when set.
    void setActive (bool shouldBeActive) override;

    void resized() override;
    void paintOverChildren (juce::Graphics& g) override;

    //==========================================================================
    // Drag and drop (message thread, from JUCE or a test).
    bool isInterestedInDragSource (const SourceDetails& details) override;
    void itemDragEnter (const SourceDetails& details) override;
    void itemDragMove (const SourceDetails& details) override;
    void itemDragExit (const SourceDetails& details) override;
    void itemDropped (const SourceDetails& details) override;

    // Message thread: a drag resting on an item has opened it.
    void timerCallback() override;

    // The description of every drag of list items.
    static const char* const dragDescription;

private:
    friend class List;
    friend class ItemComponent;

    // What the list reports (message thread).
    void listItemClicked (int row);
    void listSelectionChanged (int lastRow);
    void listItemDoubleClicked (int row);
    void listBackgroundClicked();
    juce::var describeDrag (const juce::SparseSet<int>& rows);
    void moveToNeighbour (bool toTheLeft);

    bool isItemRow (int row) { return row >= 0 && row < getNumItems(); }
    // The list column the drag came from, while it exists; null otherwise.
    ListColumn* findSourceColumn (const SourceDetails& details) const;
    DropMode chooseDropMode (ListColumn& source, int row, int positionInRow);
    void endDropHover();
    juce::Rectangle<int> getRowArea (int row) const; // in this column's coordinates

    std::unique_ptr<List> list;
    int dropRow = -1;
    DropMode dropMode = DropMode::none;
    int hoverRow = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ListColumn)
};
