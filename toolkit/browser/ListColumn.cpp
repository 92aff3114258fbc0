#include "toolkit/browser/ListColumn.h"

#include "toolkit/browser/ListColumnRows.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"

const char* const ColumnBrowser::ListColumn::dragDescription = "ListColumn";

ColumnBrowser::ListColumn::ListColumn (ColumnBrowser& owner)
    : Column (owner),
      list (std::make_unique<List> (*this))
{
    addAndMakeVisible (*list);
}

ColumnBrowser::ListColumn::~ListColumn()
{
    stopTimer();
}

//==============================================================================
void ColumnBrowser::ListColumn::selectItem (int row)
{
    if (! isItemRow (row))
        return;

    const juce::Component::SafePointer<ListColumn> self (this);
    auto& columnBrowser = getBrowser();

    if (auto child = createChildColumn (row))
        columnBrowser.openColumn (std::move (child));
    else
        columnBrowser.openColumn (*this); // no children: nothing stays open to the right

    // A child column that does not keep its parent has closed this one.
    if (self == nullptr)
        return;

    columnBrowser.scrollToShowColumn (*this);

    if (auto* last = columnBrowser.getColumn (columnBrowser.getNumColumns() - 1))
        columnBrowser.scrollToShowColumn (*last);

    columnBrowser.setActiveColumn (this);
    itemSelected (row);
}

void ColumnBrowser::ListColumn::showRow (int row)
{
    list->selectRowQuietly (row);

    if (isItemRow (row))
        list->scrollToEnsureRowIsOnscreen (row);
}

juce::SparseSet<int> ColumnBrowser::ListColumn::getSelectedRows() const
{
    return list->getSelectedRows();
}

void ColumnBrowser::ListColumn::startRename (int row)
{
    if (! isItemRow (row) || ! canRenameItem (row))
        return;

    list->scrollToEnsureRowIsOnscreen (row);

    if (auto* item = dynamic_cast<ItemComponent*> (list->getComponentForRowNumber (row)))
        item->startEditing();
}

void ColumnBrowser::ListColumn::endRename()
{
    for (int row = 0; row < list->getNumRows(); ++row)
        if (auto* item = dynamic_cast<ItemComponent*> (list->getComponentForRowNumber (row)))
            item->getTextInput().hideEditor();
}

void ColumnBrowser::ListColumn::refresh()
{
    list->updateContent();
    repaint();
}

void ColumnBrowser::ListColumn::setActive (bool shouldBeActive)
{
    Column::setActive (shouldBeActive);

    if (shouldBeActive && list->isShowing())
        list->grabKeyboardFocus();
}

void ColumnBrowser::ListColumn::resized()
{
    list->setBounds (4, 4, getPanelWidth() - 8, getHeight() - 8);
}

//==============================================================================
void ColumnBrowser::ListColumn::listItemClicked (int row)
{
    // In the active column the selection change has chosen the row already.
    if (! isActive())
        selectItem (row);
}

void ColumnBrowser::ListColumn::listSelectionChanged (int lastRow)
{
    if (isActive())
        selectItem (lastRow);
}

void ColumnBrowser::ListColumn::listItemDoubleClicked (int row)
{
    if (list->getNumSelectedRows() == 1 && list->isRowSelected (row))
        startRename (row);
}

void ColumnBrowser::ListColumn::listBackgroundClicked()
{
    const juce::Component::SafePointer<ListColumn> self (this);
    auto& columnBrowser = getBrowser();
    columnBrowser.openColumn (*this);

    if (self == nullptr)
        return;

    list->deselectAllQuietly();
    backgroundClicked();
    columnBrowser.refresh();
}

juce::var ColumnBrowser::ListColumn::describeDrag (const juce::SparseSet<int>& rows)
{
    if (! canDragItems (rows))
        return {};

    getBrowser().dragStarted (*this);
    return dragDescription;
}

void ColumnBrowser::ListColumn::moveToNeighbour (bool toTheLeft)
{
    if (toTheLeft)
    {
        if (auto* left = dynamic_cast<ListColumn*> (getPreviousColumn()))
            if (left->list->getNumSelectedRows() > 0)
                left->selectItem (left->list->getSelectedRow (0));
    }
    else if (auto* right = dynamic_cast<ListColumn*> (getNextColumn()))
    {
        if (right->isItemRow (0))
        {
            right->showRow (0);
            right->selectItem (0);
        }
    }
}

//==============================================================================
ColumnBrowser::ListColumn* ColumnBrowser::ListColumn::findSourceColumn (const SourceDetails& details) const
{
    auto* sourceList = dynamic_cast<List*> (details.sourceComponent.get());

    if (sourceList == nullptr || details.description.toString() != dragDescription)
        return nullptr;

    auto& source = sourceList->getOwnerColumn();
    return &source.getBrowser() == &getBrowser() ? &source : nullptr;
}

bool ColumnBrowser::ListColumn::isInterestedInDragSource (const SourceDetails& details)
{
    return findSourceColumn (details) != nullptr;
}

void ColumnBrowser::ListColumn::itemDragEnter (const SourceDetails& details)
{
    itemDragMove (details);
    // The move step goes on (with its scrolling) while the mouse rests.
    juce::Desktop::getInstance().beginDragAutoRepeat (25);
}

ColumnBrowser::ListColumn::DropMode ColumnBrowser::ListColumn::chooseDropMode (ListColumn& source, int row, int positionInRow)
{
    if (! isItemRow (row))
        return canDropOnColumn (source) ? DropMode::onColumn : DropMode::none;

    if (canDropOntoItem (source, row))
    {
        if (positionInRow < insertZone && canInsertBefore (source, row))
            return DropMode::beforeItem;
        if (positionInRow >= List::rowHeight - insertZone && canInsertAfter (source, row))
            return DropMode::afterItem;
        return DropMode::ontoItem;
    }

    // Not onto the item: its upper half inserts before it, the lower half after it.
    if (positionInRow < List::rowHeight / 2 && canInsertBefore (source, row))
        return DropMode::beforeItem;
    if (canInsertAfter (source, row))
        return DropMode::afterItem;

    return canDropOnColumn (source) ? DropMode::onColumn : DropMode::none;
}

void ColumnBrowser::ListColumn::itemDragMove (const SourceDetails& details)
{
    auto* source = findSourceColumn (details);

    if (source == nullptr)
        return;

    const auto inList = list->getLocalPoint (this, details.localPosition);
    int row = -1, positionInRow = 0;

    if (list->getLocalBounds().contains (inList))
    {
        row = list->getRowContainingPosition (inList.x, inList.y);

        if (isItemRow (row))
            positionInRow = inList.y - list->getRowPosition (row, true).getY();
        else
            row = -1;
    }

    const auto mode = chooseDropMode (*source, row, positionInRow);
    const int modeRow = mode == DropMode::onColumn || mode == DropMode::none ? -1 : row;

    if (mode != dropMode || modeRow != dropRow)
    {
        dropMode = mode;
        dropRow = modeRow;

        if (mode == DropMode::ontoItem)
        {
            hoverRow = modeRow;
            startTimer (hoverOpenDelayMs);
        }
        else
        {
            stopTimer();
        }

        repaint();
    }

    if (auto* viewport = list->getViewport())
    {
        const auto inViewport = viewport->getLocalPoint (this, details.localPosition);
        viewport->autoScroll (inViewport.x, inViewport.y, 10, 20);
    }

    const auto inBrowser = getBrowser().getLocalPoint (this, details.localPosition);
    getBrowser().autoScroll (inBrowser.x, inBrowser.y, 200, 10);
}

void ColumnBrowser::ListColumn::timerCallback()
{
    stopTimer();
    const int row = hoverRow;

    if (! isItemRow (row))
        return;

    const juce::Component::SafePointer<ListColumn> self (this);
    showRow (row);
    selectItem (row);

    if (self == nullptr)
        return;

    getBrowser().scrollToShowColumn (*this);
    getBrowser().setActiveColumn (this);
}

void ColumnBrowser::ListColumn::endDropHover()
{
    stopTimer();
    dropRow = -1;
    dropMode = DropMode::none;
    repaint();
}

void ColumnBrowser::ListColumn::itemDragExit (const SourceDetails&)
{
    endDropHover();
}

void ColumnBrowser::ListColumn::itemDropped (const SourceDetails& details)
{
    const auto mode = dropMode;
    const int row = dropRow;
    endDropHover();

    const juce::Component::SafePointer<ColumnBrowser> columnBrowser (&getBrowser());

    // The source's rows are still there while it is parked; a source that
    // went anyway (or an item that went meanwhile) drops nothing.
    if (auto* source = findSourceColumn (details))
    {
        if (mode == DropMode::onColumn)
            dropOnColumn (*source);
        else if (isItemRow (row) && mode == DropMode::ontoItem)
            dropOntoItem (*source, row);
        else if (isItemRow (row) && mode == DropMode::beforeItem)
            insertBefore (*source, row);
        else if (isItemRow (row) && mode == DropMode::afterItem)
            insertAfter (*source, row);
    }

    // This column may have closed meanwhile; only the browser is asked.
    if (columnBrowser != nullptr)
    {
        columnBrowser->endParking();
        columnBrowser->refresh();
    }
}

//==============================================================================
juce::Rectangle<int> ColumnBrowser::ListColumn::getRowArea (int row) const
{
    return list->getRowPosition (row, true) + list->getPosition();
}

void ColumnBrowser::ListColumn::paintOverChildren (juce::Graphics& g)
{
    if (dropMode == DropMode::none)
        return;

    if (dropMode == DropMode::onColumn)
    {
        g.setColour (juce::Colours::red);
        toolkit::strokeRoundedRectangle (g, juce::Rectangle<int> (getPanelWidth(), getHeight()).toFloat(), 4.0f, 1.0f);
        return;
    }

    g.setColour (juce::Colours::red.withAlpha (0.75f));
    g.reduceClipRegion (list->getBounds());
    const auto rowArea = getRowArea (dropRow);

    // The insert marks sit on the boundary between the two rows the item
    // would go between: the last pixel row of one and the first of the other.
    if (dropMode == DropMode::ontoItem)
        toolkit::strokeRoundedRectangle (g, rowArea.withTrimmedBottom (1).toFloat(), 4.0f, 2.0f);
    else if (dropMode == DropMode::beforeItem)
        g.fillRect (rowArea.getX(), rowArea.getY() - 1, rowArea.getWidth(), 2);
    else
        g.fillRect (rowArea.getX(), rowArea.getBottom() - 1, rowArea.getWidth(), 2);
}
