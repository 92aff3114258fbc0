#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Lays its children out one after another, in a row or a column, with a
// fixed gap, and takes the size they need. Children keep their own sizes;
// across the row they sit at the start, the centre or the end. The layout
// follows every change of the children. Message thread.
class ComponentRow : public juce::Component
{
public:
    enum Orientation
    {
        horizontal = 0,
        vertical = 1
    };

    enum Alignment
    {
        alignStart = 0,
        alignCentre = 1,
        alignEnd = 2
    };

    explicit ComponentRow (int orientation = horizontal, int alignment = alignStart, int spacing = 0);

    void setSpacing (int newSpacing);

    // Sizes the row to its children (0 x 0 without children); the position stays.
    void updateSize();
    // updateSize, then places each child along the row.
    void updateLayout();

    void childrenChanged() override;
    void childBoundsChanged (juce::Component* child) override;

private:
    bool isVertical() const noexcept { return orientation != horizontal; }

    int orientation;
    int alignment;
    int spacing;
    bool layingOut = false; // moving the children reports their bounds back

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComponentRow)
};
