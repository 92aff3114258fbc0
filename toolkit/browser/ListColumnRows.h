#pragma once

#include "toolkit/browser/ListColumn.h"
#include "toolkit/skin/TextInput.h"
#include "toolkit/windows/ModalTextEditor.h"

// The list of a list column, its own model: rows of 20 pixels, each shown by
// an ItemComponent that is reused as the list scrolls. It reports clicks,
// selection changes, the background click and drags to its column; a
// selection made by the column itself (showRow) is not reported. Left and
// right arrows move to the neighbouring columns. Message thread.
class ColumnBrowser::ListColumn::List : public juce::ListBox,
                                       public juce::ListBoxModel
{
public:
    static constexpr int rowHeight = 20; // pixels

    explicit List (ListColumn& owner);
    ~List() override;

    ListColumn& getOwnerColumn() const noexcept { return owner; }

    // Selections by the column: no choice follows.
    void selectRowQuietly (int row);
    void deselectAllQuietly();

    // The model (message thread, from the list box).
    int getNumRows() override;
    void paintListBoxItem (int, juce::Graphics&, int, int, bool) override {}
    juce::Component* refreshComponentForRow (int row, bool isSelected, juce::Component* existing) override;
    void listBoxItemClicked (int row, const juce::MouseEvent&) override;
    void listBoxItemDoubleClicked (int row, const juce::MouseEvent&) override;
    void backgroundClicked (const juce::MouseEvent&) override;
    void selectedRowsChanged (int lastRow) override;
    juce::var getDragSourceDescription (const juce::SparseSet<int>& rows) override;

    // Message thread, from JUCE.
    bool keyPressed (const juce::KeyPress& key) override;
    bool keyStateChanged (bool isKeyDown) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;

private:
    void updateBackgroundColour();

    ListColumn& owner;
    bool selectingQuietly = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (List)
};

// One row of a list column: the selection's rounded background, the item's
// icon, its text in a field that opens for renaming, and an arrow when the
// item has children. Clicks pass through to the list's row, so the list box
// keeps its own selection handling. Message thread.
class ColumnBrowser::ListColumn::ItemComponent : public juce::Component,
                                                 public ModalTextEditor::ModalListener
{
public:
    static constexpr int iconSize = 16;  // pixels
    static constexpr int iconSpace = 19; // pixels left of the text
    static constexpr int arrowSpace = 15;

    explicit ItemComponent (ListColumn& owner);
    ~ItemComponent() override;

    // Shows the row's text, icon and children mark. An open rename of
    // another row is ended first (committed); an open rename of this row
    // keeps its text.
    void update (int newRow, bool isSelected);
    // Opens the text for editing, in black.
    void startEditing();

    int getRow() const noexcept { return row; }
    bool isSelected() const noexcept { return selected; }
    TextInput& getTextInput() noexcept { return text; }

    void paint (juce::Graphics& g) override;
    void resized() override;

    // Message thread: the edit ended with a new text, or closed.
    void modalTextCommitted (ModalTextEditor* source) override;
    void modalEditorClosed (ModalTextEditor* source) override;

private:
    void showTextColours();

    ListColumn& owner;
    int row = -1;
    bool selected = false;
    bool hasChildren = false;
    bool changingRow = false; // a rename ends because this component shows another row
    juce::Image icon, selectedIcon;
    TextInput text;
    juce::String textBeforeRename; // the item's text when the rename began

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ItemComponent)
};
