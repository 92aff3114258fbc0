#include "toolkit/browser/ColumnBrowser.h"

#include "toolkit/browser/ListColumn.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"

juce::Colour ColumnBrowser::findBrowserColour (const juce::Component& component, int colourId)
{
    return component.getLookAndFeel().isColourSpecified (colourId) ? component.findColour (colourId) : juce::Colours::black;
}

void ColumnBrowser::drawColumnPanel (juce::Graphics& g, const juce::Component& component, juce::Rectangle<int> area)
{
    toolkit::fillAndStrokeRoundedRectangle (g, area.toFloat(), 6.0f, findBrowserColour (component, columnColourId),
                                            findBrowserColour (component, columnOutlineColourId), 1.0f);
}

//==============================================================================
ColumnBrowser::ViewportComponent::ViewportComponent (ColumnBrowser& owner) : browser (owner)
{
}

void ColumnBrowser::ViewportComponent::paint (juce::Graphics& g)
{
    // The space right of the last column, when the columns end inside the view.
    const int end = browser.getTotalWidth();

    if (end < getWidth())
        drawColumnPanel (g, *this, { end, 0, getWidth() - end, getHeight() });
}

void ColumnBrowser::ViewportComponent::resized()
{
    for (auto* child : getChildren())
        child->setSize (child->getWidth(), getHeight());
}

//==============================================================================
ColumnBrowser::ColumnBrowser()
{
    setViewedComponent (&content, false);
    setWantsKeyboardFocus (false);
    getHorizontalScrollBar().setAutoHide (false);
    // The in-place editors of the items take it from here.
    setColour (juce::TextEditor::highlightColourId, juce::Colour (0xFFD3D3D3));
    lookAndFeelChanged();
}

ColumnBrowser::~ColumnBrowser()
{
    // The columns go first: they refer to the browser and sit in its content.
    parkedColumn.reset();
    columns.clear();
    setViewedComponent (nullptr, false);
}

void ColumnBrowser::addColumn (std::unique_ptr<Column> column, int index)
{
    // The column takes the browser's look from its parents: a browser may
    // open columns before it is placed under the editor's look.
    column->setSize (column->getDefaultWidth(), content.getHeight());
    column->setVisible (true);
    content.addChildComponent (*column);
    columns.insert (index, column.release());
}

int ColumnBrowser::closeLastColumn()
{
    // A rename open in the column ends on the item it began on, committed,
    // before the column goes (with the row that holds the typed text).
    if (auto* list = dynamic_cast<ListColumn*> (columns.getLast()))
        list->endRename();

    std::unique_ptr<Column> closing (columns.removeAndReturn (columns.size() - 1));
    const int width = closing->getWidth();
    content.removeChildComponent (closing.get());

    if (closing.get() == dragSourceColumn.getComponent())
    {
        // The running drag still needs its source: out of sight until it ends.
        closing->setVisible (false);
        parkedColumn = std::move (closing);
    }

    return width;
}

void ColumnBrowser::openColumn (std::unique_ptr<Column> newColumn)
{
    if (newColumn == nullptr)
        return;

    auto& column = *newColumn;
    int inheritedWidth = -1;

    while (! columns.isEmpty() && ! column.keepsColumn (*columns.getLast()))
        inheritedWidth = closeLastColumn();

    addColumn (std::move (newColumn), -1);
    addMissingParentColumns();

    if (inheritedWidth >= 0)
        column.setSize (juce::jmax (inheritedWidth, column.getMinimumWidth()), column.getHeight());

    updateLinks();
    layoutColumns();
    refresh();
}

void ColumnBrowser::openColumn (Column& column)
{
    if (! columns.contains (&column))
        return;

    while (columns.getLast() != &column)
        closeLastColumn();

    addMissingParentColumns();
    updateLinks();
    layoutColumns();
    refresh();
}

void ColumnBrowser::addMissingParentColumns()
{
    int index = columns.size() - 1;

    while (index >= 0)
    {
        auto* column = columns[index];

        if (index > 0 && column->isChildOf (*columns[index - 1]))
            break;

        auto parent = column->createParentColumn();

        if (parent == nullptr)
            break;

        addColumn (std::move (parent), index);
        // The parent now stands at index; the walk goes on from it.
    }
}

void ColumnBrowser::updateLinks()
{
    for (int i = 0; i < columns.size(); ++i)
        columns.getUnchecked (i)->setLinks (columns[i - 1], columns[i + 1]);
}

void ColumnBrowser::refresh()
{
    const juce::Component::SafePointer<ColumnBrowser> alive (this);

    // By index, and no further once the browser is gone: a column's refresh
    // may reach its user, who may change the columns.
    for (int i = 0; alive != nullptr && i < columns.size(); ++i)
        columns.getUnchecked (i)->refresh();

    if (alive != nullptr)
        contentRefreshed();
}

void ColumnBrowser::layoutColumns()
{
    if (layingOut)
        return;

    const juce::ScopedValueSetter<bool> guard (layingOut, true);

    int x = 0;
    for (auto* column : columns)
        x += column->getWidth();

    totalWidth = x;

    // Keep the view where it is while columns close under it.
    const int visibleWidth = getMaximumVisibleWidth();
    const int viewX = getViewPositionX();
    const int contentWidth = juce::jmax (visibleWidth, totalWidth + juce::jmax (0, viewX - totalWidth + visibleWidth));
    const auto& bar = getHorizontalScrollBar();
    const int contentHeight = getHeight() - (bar.isVisible() ? getScrollBarThickness() + 3 : 0);
    content.setSize (contentWidth, juce::jmax (0, contentHeight));

    x = 0;
    for (auto* column : columns)
    {
        column->setBounds (x, 0, column->getWidth(), content.getHeight());
        x += column->getWidth();
    }

    content.repaint();
}

void ColumnBrowser::scrollToShowColumn (Column& column)
{
    const int viewX = getViewPositionX();
    const int viewWidth = getViewWidth();

    if (column.getX() < viewX)
        setViewPosition (column.getX(), 0);
    else if (column.getRight() > viewX + viewWidth)
        setViewPosition (column.getRight() - viewWidth, 0);
}

void ColumnBrowser::setActiveColumn (Column* column)
{
    for (auto* each : columns)
        if (each != column && each->isActive())
            each->setActive (false);

    if (column != nullptr && columns.contains (column))
        column->setActive (true);
}

ColumnBrowser::ListColumn* ColumnBrowser::getDragSourceColumn() const noexcept
{
    return dragSourceColumn.getComponent();
}

void ColumnBrowser::dragStarted (ListColumn& source)
{
    dragSourceColumn = &source;
}

void ColumnBrowser::endParking()
{
    dragSourceColumn = nullptr;
    parkedColumn.reset();
}

void ColumnBrowser::dragOperationEnded (const juce::DragAndDropTarget::SourceDetails&)
{
    endParking();
}

void ColumnBrowser::paint (juce::Graphics& g)
{
    g.fillAll (findBrowserColour (*this, backgroundColourId));
}

void ColumnBrowser::resized()
{
    juce::Viewport::resized();
    layoutColumns();
}

void ColumnBrowser::visibleAreaChanged (const juce::Rectangle<int>&)
{
    layoutColumns();
}
