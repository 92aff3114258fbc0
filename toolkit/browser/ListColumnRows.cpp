#include "toolkit/browser/ListColumnRows.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

using List = ColumnBrowser::ListColumn::List;
using ItemComponent = ColumnBrowser::ListColumn::ItemComponent;

List::List (ListColumn& ownerColumn) : juce::ListBox ({}, nullptr), owner (ownerColumn)
{
    setModel (this);
    setRowHeight (rowHeight);
    setMultipleSelectionEnabled (true);
    getViewport()->setSingleStepSizes (rowHeight, rowHeight);
    updateBackgroundColour();
}

List::~List()
{
    // The model part goes first: the list box must not see it half gone.
    setModel (nullptr);
}

void List::selectRowQuietly (int row)
{
    const juce::ScopedValueSetter<bool> quiet (selectingQuietly, true);

    if (owner.isItemRow (row))
        selectRow (row);
    else
        deselectAllRows();
}

void List::deselectAllQuietly()
{
    const juce::ScopedValueSetter<bool> quiet (selectingQuietly, true);
    deselectAllRows();
}

int List::getNumRows()
{
    return juce::jmax (0, owner.getNumItems());
}

juce::Component* List::refreshComponentForRow (int row, bool isSelected, juce::Component* existing)
{
    // Rows past the last item show nothing.
    if (! owner.isItemRow (row))
    {
        delete existing;
        return nullptr;
    }

    auto* item = dynamic_cast<ItemComponent*> (existing);

    if (item == nullptr)
    {
        delete existing;
        item = new ItemComponent (owner);
    }

    item->update (row, isSelected);
    return item;
}

void List::listBoxItemClicked (int row, const juce::MouseEvent&)
{
    owner.listItemClicked (row);
}

void List::listBoxItemDoubleClicked (int row, const juce::MouseEvent&)
{
    owner.listItemDoubleClicked (row);
}

void List::backgroundClicked (const juce::MouseEvent&)
{
    owner.listBackgroundClicked();
}

void List::selectedRowsChanged (int lastRow)
{
    if (! selectingQuietly)
        owner.listSelectionChanged (lastRow);
}

juce::var List::getDragSourceDescription (const juce::SparseSet<int>& rows)
{
    return owner.describeDrag (rows);
}

bool List::keyPressed (const juce::KeyPress& key)
{
    if (key.isKeyCode (juce::KeyPress::leftKey) || key.isKeyCode (juce::KeyPress::rightKey))
    {
        owner.moveToNeighbour (key.isKeyCode (juce::KeyPress::leftKey));
        return true;
    }

    return juce::ListBox::keyPressed (key);
}

bool List::keyStateChanged (bool isKeyDown)
{
    // The arrows that move between columns are ours while held.
    if (juce::KeyPress::isKeyCurrentlyDown (juce::KeyPress::leftKey)
        || juce::KeyPress::isKeyCurrentlyDown (juce::KeyPress::rightKey))
        return true;

    return juce::ListBox::keyStateChanged (isKeyDown);
}

void List::lookAndFeelChanged()
{
    juce::ListBox::lookAndFeelChanged();
    updateBackgroundColour();
}

void List::parentHierarchyChanged()
{
    juce::ListBox::parentHierarchyChanged();
    // The look comes with the parent: a column is made before it is placed.
    updateBackgroundColour();
}

void List::updateBackgroundColour()
{
    if (dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()) != nullptr)
        setColour (juce::ListBox::backgroundColourId, findColour (ColumnBrowser::columnColourId));
}

//==============================================================================
ItemComponent::ItemComponent (ListColumn& ownerColumn) : owner (ownerColumn)
{
    // The list's row component takes the clicks, except on an open editor.
    setInterceptsMouseClicks (false, true);

    text.setEditable (false, false);
    text.setIndent (2);
    text.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    text.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    text.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    text.setColour (juce::TextEditor::highlightColourId, juce::Colours::white);
    text.setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    text.setColour (juce::CaretComponent::caretColourId, juce::Colours::orangered.withAlpha (0.75f));
    text.addModalListener (this);
    addAndMakeVisible (text);
}

ItemComponent::~ItemComponent()
{
    text.removeModalListener (this);
}

void ItemComponent::update (int newRow, bool isSelected)
{
    // An open rename belongs to its row. When the list gives this component
    // another row (it scrolled), the rename ends on the row it began on and
    // is committed, as a click elsewhere commits it: what the user typed is
    // neither lost nor given to another item.
    if (newRow != row && text.isEditorShowing())
    {
        const juce::ScopedValueSetter<bool> leaving (changingRow, true);
        text.hideEditor();
    }

    row = newRow;
    selected = isSelected;
    hasChildren = owner.itemHasChildren (row);
    icon = owner.getItemIcon (row, false);
    selectedIcon = owner.getItemIcon (row, true);

    text.setFont (toolkit::makeFont (13.0f, hasChildren));

    // A refresh during a rename leaves the typed text alone; the item's
    // name is read again when the edit ends.
    if (! text.isEditorShowing())
        text.setText (owner.getItemText (row));

    showTextColours();
    resized();
    repaint();
}

void ItemComponent::showTextColours()
{
    text.setColour (juce::TextEditor::textColourId, selected ? juce::Colours::white : juce::Colours::black);
}

void ItemComponent::startEditing()
{
    textBeforeRename = owner.getItemText (row);
    text.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    text.showEditor();
}

void ItemComponent::modalTextCommitted (ModalTextEditor* source)
{
    // The items may have changed while the edit ran: the text goes to the
    // item the rename began on, or nowhere when another now stands in its
    // row (the whole list replaced, as a host restoring its song replaces
    // the preset bank).
    if (source != text.getEditor() || ! owner.isItemRow (row) || owner.getItemText (row) != textBeforeRename)
        return;

    const juce::Component::SafePointer<ItemComponent> self (this);
    owner.renameItem (row, source->getText());

    if (self == nullptr)
        return;

    // The item shows the name it now has (the hook may have refused it).
    source->setText (owner.getItemText (row), false);

    // A rename ended by a change of row ends while the list refreshes.
    if (! changingRow)
        owner.refresh();
}

void ItemComponent::modalEditorClosed (ModalTextEditor* source)
{
    if (source != text.getEditor())
        return;

    showTextColours();

    // What a refresh during the edit left alone.
    if (owner.isItemRow (row))
        text.setText (owner.getItemText (row));
}

void ItemComponent::resized()
{
    auto area = getLocalBounds().reduced (0, 1);
    area.removeFromLeft (iconSpace);

    if (hasChildren)
        area.removeFromRight (arrowSpace);

    if (owner.getList().getVerticalScrollBar().isVisible())
        area.removeFromRight (3);

    text.setBounds (area);
}

void ItemComponent::paint (juce::Graphics& g)
{
    if (selected)
    {
        g.setColour (owner.colourOf (ColumnBrowser::selectedItemColourId));
        toolkit::fillRoundedRectangle (g, getLocalBounds().reduced (0, 1).toFloat(), 4.0f);
    }

    // The icon, 16 pixels square, in the row less its top pixel.
    const auto& shownIcon = selected ? selectedIcon : icon;

    if (shownIcon.isValid())
        g.drawImage (shownIcon, 1, 2, iconSize, iconSize, 0, 0, shownIcon.getWidth(), shownIcon.getHeight());

    if (! hasChildren)
        return;

    juce::Path arrow;
    arrow.addTriangle (0.0f, 0.5f, 7.0f, 3.5f, 0.0f, 6.5f);
    arrow.applyTransform (juce::AffineTransform::translation ((float) getWidth() - 12.0f, 7.0f));
    g.setColour (juce::Colours::white);
    g.fillPath (arrow);
    g.setColour (juce::Colour (0xFF646464));
    g.strokePath (arrow, juce::PathStrokeType (1.0f));
}
