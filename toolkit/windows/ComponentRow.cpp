#include "toolkit/windows/ComponentRow.h"

ComponentRow::ComponentRow (int rowOrientation, int rowAlignment, int rowSpacing)
    : orientation (rowOrientation), alignment (rowAlignment), spacing (rowSpacing)
{
}

void ComponentRow::setSpacing (int newSpacing)
{
    spacing = newSpacing;
    updateLayout();
}

void ComponentRow::updateSize()
{
    int along = 0, across = 0;

    for (auto* child : getChildren())
    {
        along += isVertical() ? child->getHeight() : child->getWidth();
        across = juce::jmax (across, isVertical() ? child->getWidth() : child->getHeight());
    }

    if (getNumChildComponents() > 1)
        along += (getNumChildComponents() - 1) * spacing;

    if (isVertical())
        setSize (across, along);
    else
        setSize (along, across);
}

void ComponentRow::updateLayout()
{
    if (layingOut)
        return;

    const juce::ScopedValueSetter<bool> guard (layingOut, true);
    updateSize();

    const int rowAcross = isVertical() ? getWidth() : getHeight();
    int position = 0;

    for (auto* child : getChildren())
    {
        const int childAlong = isVertical() ? child->getHeight() : child->getWidth();
        const int childAcross = isVertical() ? child->getWidth() : child->getHeight();
        const int offset = alignment == alignCentre ? (rowAcross - childAcross) / 2
                         : alignment == alignEnd    ? rowAcross - childAcross
                                                    : 0;

        if (isVertical())
            child->setTopLeftPosition (offset, position);
        else
            child->setTopLeftPosition (position, offset);

        position += childAlong + spacing;
    }
}

void ComponentRow::childrenChanged()
{
    updateLayout();
}

void ComponentRow::childBoundsChanged (juce::Component*)
{
    updateLayout();
}
