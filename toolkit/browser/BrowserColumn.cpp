#include "toolkit/browser/ColumnBrowser.h"

ColumnBrowser::Column::Column (ColumnBrowser& owner) : browser (owner)
{
}

ColumnBrowser::Column::~Column() = default;

juce::Colour ColumnBrowser::Column::colourOf (int colourId) const
{
    return findBrowserColour (*this, colourId);
}

bool ColumnBrowser::Column::hasGrip()
{
    return isResizable();
}

int ColumnBrowser::Column::getPanelWidth()
{
    // A grip or a neighbour on the right leaves a strip free.
    return getWidth() - (hasGrip() || next != nullptr ? gripWidth : 0);
}

void ColumnBrowser::Column::setLinks (Column* newPrevious, Column* newNext)
{
    if (newPrevious == previous && newNext == next)
        return;

    previous = newPrevious;
    next = newNext;
    resized();
    repaint();
}

void ColumnBrowser::Column::paint (juce::Graphics& g)
{
    drawColumnPanel (g, *this, { getPanelWidth(), getHeight() });

    if (! hasGrip())
        return;

    // Three bars, 13 pixels tall, centred in the strip's height.
    g.setColour (colourOf (columnOutlineColourId));
    const int top = (getHeight() - 13) / 2;

    for (const int x : { getWidth() - 6, getWidth() - 4, getWidth() - 2 })
        g.fillRect (x, top, 1, 13);
}

bool ColumnBrowser::Column::isOnGrip (const juce::MouseEvent& event)
{
    return hasGrip() && event.x >= getWidth() - gripWidth;
}

void ColumnBrowser::Column::mouseMove (const juce::MouseEvent& event)
{
    setMouseCursor (isOnGrip (event) ? juce::MouseCursor::LeftRightResizeCursor : juce::MouseCursor::NormalCursor);
}

void ColumnBrowser::Column::mouseDown (const juce::MouseEvent& event)
{
    resizing = isOnGrip (event);
    widthAtResizeStart = getWidth();
}

void ColumnBrowser::Column::mouseDrag (const juce::MouseEvent& event)
{
    if (! resizing)
        return;

    setSize (juce::jmax (getMinimumWidth(), widthAtResizeStart + event.getDistanceFromDragStartX()), getHeight());
    browser.layoutColumns();
}

void ColumnBrowser::Column::mouseUp (const juce::MouseEvent&)
{
    resizing = false;
}
