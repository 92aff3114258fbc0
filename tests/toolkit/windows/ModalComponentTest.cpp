#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/ModalComponent.h"

#include <gtest/gtest.h>

using toolkit_test::TestDesktop;

namespace
{
struct Dialog : ModalComponent
{
    Dialog() { setSize (100, 60); }
};
} // namespace

// Centred in the modal area, the area's own origin included: an editor whose
// modal area leaves out a strip still centres its dialogs inside the area.
TEST (ModalComponent, ShowCoversTheDesktopAndCentresInTheModalArea)
{
    struct Case { juce::Rectangle<int> area; juce::Point<int> expected; };
    const Case cases[] = {
        { {}, { 150, 120 } },                  // the whole 400 x 300 desktop
        { { 0, 0, 400, 200 }, { 150, 70 } },   // above a status bar
        { { 100, 50, 200, 100 }, { 150, 70 } } // an area away from the origin
    };

    for (const auto& c : cases)
    {
        TestDesktop desktop;
        desktop.modalArea = c.area;
        juce::Component content;
        desktop.addAndMakeVisible (content);
        Dialog dialog;
        content.addChildComponent (dialog);

        dialog.show();

        EXPECT_TRUE (dialog.isVisible());
        EXPECT_EQ (dialog.getPosition(), c.expected);
        EXPECT_EQ (dialog.getCoveringBounds(), desktop.getLocalBounds());
        auto* cover = dialog.getParentComponent();
        ASSERT_NE (cover, nullptr);
        EXPECT_EQ (cover->getParentComponent(), &desktop);
        EXPECT_EQ (desktop.getIndexOfChildComponent (cover), desktop.getNumChildComponents() - 1); // on top
        EXPECT_TRUE (cover->isVisible());
    }
}

TEST (ModalComponent, WithoutADesktopItIsShownWhereItIs)
{
    juce::Component root;
    root.setSize (200, 100);
    Dialog dialog;
    dialog.setTopLeftPosition (7, 9);
    root.addChildComponent (dialog);

    dialog.show();

    EXPECT_TRUE (dialog.isVisible());
    EXPECT_EQ (dialog.getParentComponent(), &root);
    EXPECT_EQ (dialog.getPosition(), juce::Point<int> (7, 9));
    EXPECT_TRUE (dialog.getCoveringBounds().isEmpty());
}

TEST (ModalComponent, ShowAtTakesThePositionInTheReferenceComponentsCoordinates)
{
    TestDesktop desktop;
    juce::Component reference;
    reference.setBounds (50, 40, 100, 100);
    desktop.addAndMakeVisible (reference);
    Dialog dialog;
    reference.addChildComponent (dialog);

    dialog.showAt (ModalComponent::atStoredPosition, { 10, 10 }, &reference);

    EXPECT_EQ (dialog.getPosition(), juce::Point<int> (60, 50));
    EXPECT_EQ (dialog.getScreenPosition(), reference.getScreenPosition() + juce::Point<int> (10, 10));
}

TEST (ModalComponent, HideKeepsItAndShowingAgainKeepsItsPlace)
{
    TestDesktop desktop;
    Dialog dialog;
    desktop.addChildComponent (dialog);
    dialog.show();
    auto* cover = dialog.getParentComponent();

    dialog.setTopLeftPosition (5, 5);
    dialog.show(); // still shown: stays where it was moved
    EXPECT_EQ (dialog.getPosition(), juce::Point<int> (5, 5));

    dialog.hide();
    EXPECT_FALSE (dialog.isVisible());
    EXPECT_FALSE (cover->isVisible());
    EXPECT_EQ (desktop.getIndexOfChildComponent (cover), 0); // sent to the back

    dialog.show();
    EXPECT_EQ (dialog.getPosition(), juce::Point<int> (150, 120));
}

TEST (ModalComponent, LeavingTheCoverOrDyingTakesTheCoverAway)
{
    TestDesktop desktop;
    juce::Component elsewhere;
    desktop.addAndMakeVisible (elsewhere);

    {
        Dialog dialog;
        desktop.addChildComponent (dialog);
        dialog.show();
        EXPECT_EQ (desktop.getNumChildComponents(), 2);

        elsewhere.addChildComponent (dialog);
        EXPECT_EQ (desktop.getNumChildComponents(), 1);

        dialog.show();
        EXPECT_EQ (desktop.getNumChildComponents(), 2);
    }

    EXPECT_EQ (desktop.getNumChildComponents(), 1);
}

TEST (ModalComponent, OutlivingItsDesktopIsSafe)
{
    Dialog dialog;
    {
        TestDesktop desktop;
        desktop.addChildComponent (dialog);
        dialog.show();
    }
    EXPECT_NE (dialog.getParentComponent(), nullptr); // still in its own cover, now on no desktop
    dialog.hide();
}
