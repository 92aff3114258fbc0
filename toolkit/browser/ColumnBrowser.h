#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A column view of a hierarchy: columns stand side by side in a horizontally
// scrolling viewport, and choosing an item in one column opens the next
// column to its right, showing that item's children. Items of list columns
// can be dragged between the list columns of the same browser. The browser
// owns its columns; the kinds of column, what they show and what a drop does
// are the user's (see ListColumn). Message thread only.
class ColumnBrowser : public juce::Viewport,
                      public juce::DragAndDropContainer
{
public:
    class Column;
    class ListColumn;

    // The look and feel's colours of the browser and its columns.
    enum ColourIds
    {
        backgroundColourId = 0x0F003100,
        columnColourId = 0x0F003101,
        columnOutlineColourId = 0x0F003102,
        selectedItemColourId = 0x0F003105
    };

    ColumnBrowser();
    ~ColumnBrowser() override;

    // Opens a new column (null does nothing), taking it over:
    //  1. from the right end, columns close while the new one's keepsColumn
    //     refuses them (the width of the last one closed is remembered);
    //  2. the new column is added at the right end;
    //  3. going left from it, each column without the parent it isChildOf
    //     gets one from its createParentColumn, until one answers null;
    //  4. the new column takes the remembered width (at least its minimum);
    //  5. the columns are linked, laid out and refreshed.
    // A closed column is deleted, except the source of a running drag, which
    // is hidden and kept until the drag ends.
    void openColumn (std::unique_ptr<Column> newColumn);

    // Opens a column of this browser again: every column to its right closes.
    void openColumn (Column& column);

    // Every column re-reads its content, left to right; then contentRefreshed.
    void refresh();

    // Scrolls horizontally so that the whole column is in view.
    void scrollToShowColumn (Column& column);

    // Marks the column that holds the keyboard focus (null: none).
    void setActiveColumn (Column* column);

    // Places the columns side by side from the left, each with its own width
    // and the content's height.
    void layoutColumns();

    int getNumColumns() const noexcept { return columns.size(); }
    Column* getColumn (int index) const noexcept { return columns[index]; }
    int indexOfColumn (const Column* column) const noexcept { return columns.indexOf (column); }

    // The list column whose items are being dragged, or null.
    ListColumn* getDragSourceColumn() const noexcept;
    // The source column kept out of sight until its drag ends, or null.
    Column* getParkedColumn() const noexcept { return parkedColumn.get(); }

    // Called at the end of every refresh.
    virtual void contentRefreshed() {}

    void paint (juce::Graphics& g) override;
    void resized() override;
    void visibleAreaChanged (const juce::Rectangle<int>& newVisibleArea) override;

protected:
    // Message thread, from JUCE: a drag of this browser's items ended, however it ended.
    void dragOperationEnded (const juce::DragAndDropTarget::SourceDetails& details) override;

private:
    friend class ListColumn;

    // The viewed component, holding the columns.
    class ViewportComponent : public juce::Component
    {
    public:
        explicit ViewportComponent (ColumnBrowser& owner);
        void paint (juce::Graphics& g) override;
        void resized() override;

    private:
        ColumnBrowser& browser;
    };

    // The look and feel's colour, or black where it does not know the id.
    static juce::Colour findBrowserColour (const juce::Component& component, int colourId);
    // The rounded panel of a column, drawn behind its content (and where no
    // column stands).
    static void drawColumnPanel (juce::Graphics& g, const juce::Component& component, juce::Rectangle<int> area);

    void addColumn (std::unique_ptr<Column> column, int index);
    // Closes the last column; returns its width.
    int closeLastColumn();
    void addMissingParentColumns();
    void updateLinks();
    int getTotalWidth() const noexcept { return totalWidth; }

    // A list column's drag begins or its drop is done.
    void dragStarted (ListColumn& source);
    void endParking();

    juce::OwnedArray<Column> columns;
    ViewportComponent content { *this };
    std::unique_ptr<Column> parkedColumn;
    juce::Component::SafePointer<ListColumn> dragSourceColumn;
    int totalWidth = 0;
    bool layingOut = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColumnBrowser)
};

// One column of a browser: a rounded panel with an optional grip at its right
// edge for resizing. The browser keeps the links to its neighbours.
class ColumnBrowser::Column : public juce::Component
{
public:
    explicit Column (ColumnBrowser& owner);
    ~Column() override;

    // True when, on opening this column, the given column to its left may stay.
    virtual bool keepsColumn (Column& column) = 0;
    // True when this column directly follows the given one.
    virtual bool isChildOf (Column& column) = 0;
    // The column to insert on the left when this one is opened without it.
    virtual std::unique_ptr<Column> createParentColumn() { return nullptr; }
    virtual bool isResizable() { return true; }
    virtual int getDefaultWidth() { return 200; }  // pixels
    virtual int getMinimumWidth() { return 100; }  // pixels
    // Re-reads what the column shows.
    virtual void refresh() {}
    // The browser marks the column holding the keyboard focus.
    virtual void setActive (bool shouldBeActive) { active = shouldBeActive; }

    bool isActive() const noexcept { return active; }
    ColumnBrowser& getBrowser() const noexcept { return browser; }
    Column* getPreviousColumn() const noexcept { return previous; }
    Column* getNextColumn() const noexcept { return next; }

    // The panel's width: the column less the grip strip when there is one.
    int getPanelWidth();

    void paint (juce::Graphics& g) override;
    // Message thread, from JUCE: the grip strip resizes the column.
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    static constexpr int gripWidth = 7; // pixels at the right edge

protected:
    // The colour of the browser's look and feel (black under another look).
    juce::Colour colourOf (int colourId) const;

private:
    friend class ColumnBrowser;

    bool hasGrip();
    bool isOnGrip (const juce::MouseEvent& event);
    // Links renewed by the browser; a change lays the column out again.
    void setLinks (Column* newPrevious, Column* newNext);

    bool active = false;
    bool resizing = false;
    int widthAtResizeStart = 0;
    Column* previous = nullptr;
    Column* next = nullptr;
    ColumnBrowser& browser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Column)
};
