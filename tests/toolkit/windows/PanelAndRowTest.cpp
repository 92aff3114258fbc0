#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/PanelComponent.h"

#include <gtest/gtest.h>

TEST (PanelComponent, SizesItselfToItsTitleAndContent)
{
    toolkit_test::TestDesktop desktop;
    PanelComponent panel;
    desktop.addAndMakeVisible (panel);
    panel.sendLookAndFeelChange();
    juce::Component content;
    content.setSize (100, 40);

    panel.setContentComponent (&content, true);
    EXPECT_EQ (panel.getWidth(), 116);
    EXPECT_EQ (panel.getHeight(), 13 + 16 + 40);
    EXPECT_EQ (content.getPosition(), juce::Point<int> (8, 13 + 8));

    content.setSize (150, 50); // follows its content
    EXPECT_EQ (panel.getBounds().getWidth(), 166);

    panel.setTitle ("Default quality quality quality quality");
    EXPECT_GT (panel.getWidth(), 166);

    panel.setPanelSize (-1, 200);
    EXPECT_EQ (panel.getHeight(), 200);
}

TEST (PanelComponent, OutlivingItsContentIsSafe)
{
    PanelComponent panel ("Panel");
    {
        juce::Component content;
        content.setSize (10, 10);
        panel.setContentComponent (&content, true);
    }
    EXPECT_EQ (panel.getContentComponent(), nullptr);
    panel.setPanelSize (-1, -1);
}

TEST (ComponentRow, PlacesChildrenAlongTheRowAlignedAcrossIt)
{
    struct Case { int orientation, alignment; juce::Point<int> first, second; juce::Point<int> size; };
    const Case cases[] = {
        { ComponentRow::horizontal, ComponentRow::alignEnd, { 0, 10 }, { 56, 0 }, { 106, 30 } },
        { ComponentRow::horizontal, ComponentRow::alignCentre, { 0, 5 }, { 56, 0 }, { 106, 30 } },
        { ComponentRow::vertical, ComponentRow::alignStart, { 0, 0 }, { 0, 26 }, { 50, 56 } },
    };

    for (const auto& c : cases)
    {
        ComponentRow row (c.orientation, c.alignment, 6);
        juce::Component a, b;
        a.setSize (50, 20);
        b.setSize (50, 30);
        row.addAndMakeVisible (a);
        row.addAndMakeVisible (b);

        EXPECT_EQ (a.getPosition(), c.first);
        EXPECT_EQ (b.getPosition(), c.second);
        EXPECT_EQ (juce::Point<int> (row.getWidth(), row.getHeight()), c.size);
    }

    ComponentRow empty;
    empty.setSize (30, 30);
    empty.updateLayout();
    EXPECT_EQ (empty.getWidth() + empty.getHeight(), 0);
}
