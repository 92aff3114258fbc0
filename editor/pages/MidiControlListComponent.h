#pragma once

#include "editor/pages/MidiControlComponent.h"

#include <functional>
#include <vector>

// The assignments of the "Midi Control" page: a header with the columns "CC"
// and "Parameter", then one row per assigned controller in ascending
// controller order, one of which may be selected, scrolling vertically when
// they do not fit. Message thread.
class MidiControlComponent::ListComponent : public juce::Component,
                                            public juce::ScrollBar::Listener
{
public:
    struct Row
    {
        int controller = 0;
        juce::String parameterName;
    };

    static constexpr int headerHeight = 19; // pixels
    static constexpr int rowHeight = 20;    // pixels

    ListComponent();
    ~ListComponent() override;

    // Replaces the rows and clears the selection.
    void setRows (std::vector<Row> newRows);
    const std::vector<Row>& getRows() const noexcept { return rows; }

    // Selects the row (-1: none) and scrolls it into view.
    void selectRow (int row);
    int getSelectedRow() const noexcept { return selectedRow; }
    int findRowOfController (int controller) const;
    // The row under a point of this component (-1 for the header or below the last row).
    int getRowAt (juce::Point<int> position) const;
    int getFirstShownRow() const noexcept { return firstShownRow; }

    // Called with the row a click selected.
    std::function<void (int row)> onRowClicked;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
    // Message thread: the scroll bar moved.
    void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;

private:
    int getNumShownRows() const;
    void updateScrollBar();
    void scrollTo (int firstRow);

    std::vector<Row> rows;
    int selectedRow = -1;
    int firstShownRow = 0;
    juce::ScrollBar scrollBar { true };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ListComponent)
};
