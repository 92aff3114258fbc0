#include "editor/pages/MidiControlListComponent.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
constexpr int controllerColumnWidth = 50; // pixels
constexpr int textIndent = 4;             // pixels
} // namespace

MidiControlComponent::ListComponent::ListComponent()
{
    scrollBar.addListener (this);
    scrollBar.setAutoHide (true);
    addChildComponent (scrollBar);
}

MidiControlComponent::ListComponent::~ListComponent()
{
    scrollBar.removeListener (this);
}

void MidiControlComponent::ListComponent::setRows (std::vector<Row> newRows)
{
    rows = std::move (newRows);
    selectedRow = -1;
    updateScrollBar();
    scrollTo (firstShownRow);
    repaint();
}

int MidiControlComponent::ListComponent::findRowOfController (int controller) const
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].controller == controller)
            return (int) i;

    return -1;
}

void MidiControlComponent::ListComponent::selectRow (int row)
{
    const int newRow = row >= 0 && row < (int) rows.size() ? row : -1;

    if (newRow >= 0)
    {
        if (newRow < firstShownRow)
            scrollTo (newRow);
        else if (newRow >= firstShownRow + getNumShownRows())
            scrollTo (newRow - getNumShownRows() + 1);
    }

    if (newRow != selectedRow)
    {
        selectedRow = newRow;
        repaint();
    }
}

int MidiControlComponent::ListComponent::getNumShownRows() const
{
    return juce::jmax (1, (getHeight() - headerHeight) / rowHeight);
}

int MidiControlComponent::ListComponent::getRowAt (juce::Point<int> position) const
{
    if (position.y < headerHeight)
        return -1;

    const int row = firstShownRow + (position.y - headerHeight) / rowHeight;
    return row < (int) rows.size() ? row : -1;
}

void MidiControlComponent::ListComponent::updateScrollBar()
{
    scrollBar.setRangeLimits (0.0, (double) rows.size(), juce::dontSendNotification);
    scrollBar.setCurrentRange ((double) firstShownRow, (double) getNumShownRows(), juce::dontSendNotification);
}

void MidiControlComponent::ListComponent::scrollTo (int firstRow)
{
    const int limited = juce::jlimit (0, juce::jmax (0, (int) rows.size() - getNumShownRows()), firstRow);

    if (limited != firstShownRow)
    {
        firstShownRow = limited;
        repaint();
    }

    updateScrollBar();
}

void MidiControlComponent::ListComponent::scrollBarMoved (juce::ScrollBar*, double newRangeStart)
{
    scrollTo (juce::roundToInt (newRangeStart));
}

void MidiControlComponent::ListComponent::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY != 0.0f)
        scrollTo (firstShownRow + (wheel.deltaY < 0.0f ? 1 : -1));
}

void MidiControlComponent::ListComponent::mouseDown (const juce::MouseEvent& event)
{
    const int row = getRowAt (event.getPosition());

    if (row < 0)
        return;

    selectRow (row);

    if (onRowClicked)
        onRowClicked (row);
}

void MidiControlComponent::ListComponent::resized()
{
    const int barWidth = getLookAndFeel().getDefaultScrollbarWidth();
    scrollBar.setBounds (getWidth() - barWidth, headerHeight, barWidth, juce::jmax (0, getHeight() - headerHeight));
    scrollTo (firstShownRow);
}

void MidiControlComponent::ListComponent::paint (juce::Graphics& g)
{
    const int width = getWidth() - (scrollBar.isVisible() ? scrollBar.getWidth() : 0);
    const auto textColour = findColour (juce::Label::textColourId);

    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colour (0xffd8d8d8));
    g.fillRect (0, 0, getWidth(), headerHeight);

    g.setColour (textColour);
    g.setFont (toolkit::makeFont (13.0f, true));
    g.drawText ("CC", textIndent, 0, controllerColumnWidth - textIndent, headerHeight, juce::Justification::centredLeft);
    g.drawText ("Parameter", controllerColumnWidth + textIndent, 0, width - controllerColumnWidth - textIndent, headerHeight,
                juce::Justification::centredLeft);

    g.setFont (toolkit::makeFont (13.0f));

    for (int row = firstShownRow; row < (int) rows.size(); ++row)
    {
        const int y = headerHeight + (row - firstShownRow) * rowHeight;

        if (y >= getHeight())
            break;

        if (row == selectedRow)
        {
            g.setColour (findColour (juce::TextEditor::highlightColourId));
            g.fillRect (0, y, width, rowHeight);
        }

        g.setColour (textColour);
        g.drawText (juce::String (rows[(size_t) row].controller), textIndent, y, controllerColumnWidth - textIndent, rowHeight,
                    juce::Justification::centredLeft);
        g.drawText (rows[(size_t) row].parameterName, controllerColumnWidth + textIndent, y,
                    width - controllerColumnWidth - textIndent, rowHeight, juce::Justification::centredLeft, true);
    }

    g.setColour (juce::Colours::grey);
    g.drawVerticalLine (controllerColumnWidth, 0.0f, (float) getHeight());
    g.drawRect (getLocalBounds());
}
