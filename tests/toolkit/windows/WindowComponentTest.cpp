#include "support/MessageLoop.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/WindowComponent.h"

#include <gtest/gtest.h>

using toolkit_test::TestDesktop;
using toolkit_test::pixelAt;

TEST (WindowComponent, ContentSizeGivesTheWindowSizeWithAMinimum)
{
    struct Case { bool titleBar, bordered; int contentWidth, contentHeight, width, height; };
    const Case cases[] = {
        { true, true, 10, 10, 250, 120 },
        { true, true, 400, 200, 400 + 6 + 12, 200 + 31 + 6 + 15 },
        { false, true, 400, 200, 400 + 6 + 12, 200 + 3 + 15 },
        { false, false, 400, 200, 400 + 12, 200 + 15 },
    };

    for (const auto& c : cases)
    {
        WindowComponent window;
        window.setTitleBarShown (c.titleBar);
        window.setBordered (c.bordered);
        window.setContentSize (c.contentWidth, c.contentHeight);
        EXPECT_EQ (window.getWidth(), c.width);
        EXPECT_EQ (window.getHeight(), c.height);

        if (c.contentWidth > 100)
        {
            EXPECT_EQ (window.getContentArea().getWidth(), c.contentWidth);
        }
    }
}

TEST (WindowComponent, LaysOutTitleCloseButtonAndContent)
{
    TestDesktop desktop;
    WindowComponent window;
    desktop.addChildComponent (window);
    window.setSize (300, 200);

    EXPECT_EQ (window.getTitleArea(), juce::Rectangle<int> (0, 0, 300, 31));
    EXPECT_EQ (window.getCloseButton().getBounds(), juce::Rectangle<int> (274, 5, 20, 20));
    EXPECT_TRUE (window.getCloseButton().isVisible());
    EXPECT_EQ (window.getContentArea(), juce::Rectangle<int> (9, 37, 282, 151));
    EXPECT_EQ (window.getTitleTextArea().getX(), 31);  // after the title icon
    EXPECT_EQ (window.getTitleTextArea().getRight(), 269); // before the close button

    window.setCloseButtonShown (false);
    EXPECT_FALSE (window.getCloseButton().isVisible());
    EXPECT_EQ (window.getTitleTextArea().getRight(), 300);
}

TEST (WindowComponent, CloseButtonHidesWithoutDeleting)
{
    TestDesktop desktop;
    WindowComponent window;
    desktop.addChildComponent (window);
    window.setSize (300, 200);
    window.show();

    window.getCloseButton().triggerClick(); // delivered from the message loop
    EXPECT_TRUE (window.isVisible());
    testing_support::runPendingMessages();

    EXPECT_FALSE (window.isVisible());
    EXPECT_FALSE (window.getParentComponent()->isVisible());
}

TEST (WindowComponent, DrawsABlackTitleBarWithWhiteTitleOverAGreyBody)
{
    TestDesktop desktop;
    WindowComponent window;
    desktop.addAndMakeVisible (window);
    window.setBounds (0, 0, 300, 200);
    window.setTitle ("MMMMMMMM");

    const auto image = toolkit_test::paintOver (window);

    EXPECT_EQ (pixelAt (image, 150, 100), 0xFFC5C5C5u); // body
    EXPECT_EQ (pixelAt (image, 1, 100), 0xFF000000u);   // border
    EXPECT_EQ (pixelAt (image, 150, 2), 0xFF000000u);   // title bar

    int whiteInTitle = 0;
    for (int x = 31; x < 150; ++x)
        for (int y = 5; y < 26; ++y)
            whiteInTitle += pixelAt (image, x, y) == 0xFFFFFFFFu ? 1 : 0;
    EXPECT_GT (whiteInTitle, 50);
}
