#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/windows/TabbedComponentEx.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Recorder : TabbedComponentEx::Listener
{
    Recorder (std::vector<int>& calls, int tag) : order (calls), name (tag) {}
    void tabbedComponentChanged (TabbedComponentEx*) override { order.push_back (name); }
    std::vector<int>& order;
    int name;
};

struct Page : juce::Component
{
    void lookAndFeelChanged() override { ++changes; }
    int changes = 0;
};

const juce::Colour pageGrey (0xFFC5C5C5);
} // namespace

TEST (TabbedComponentEx, TellsListenersLastAddedFirstAndHandsItsLookToThePage)
{
    toolkit_test::TestDesktop desktop;
    TabbedComponentEx tabs;
    Page first, second;
    tabs.addTab ("Outputs", pageGrey, &first, false);
    tabs.addTab ("Sequencer", pageGrey, &second, false);
    tabs.setBounds (0, 0, 400, 300);
    desktop.addAndMakeVisible (tabs);

    std::vector<int> order;
    Recorder one (order, 1), two (order, 2);
    tabs.addListener (&one);
    tabs.addListener (&two);
    tabs.addListener (&one);   // already there
    tabs.addListener (nullptr);

    tabs.setCurrentTabIndex (1);

    EXPECT_EQ (order, (std::vector<int> { 2, 1 }));
    EXPECT_EQ (&second.getLookAndFeel(), &desktop.lookAndFeel);

    // Every page hears of a new look and feel, also one not shown.
    const int before = first.changes;
    desktop.sendLookAndFeelChange();
    EXPECT_GT (first.changes, before);
}

TEST (TabbedComponentEx, TabsAreTheirBoldTextPlusThirtyOnADepthOf23)
{
    toolkit_test::TestDesktop desktop;
    TabbedComponentEx tabs;
    tabs.addTab ("Midi Control", pageGrey, new Page(), true);
    tabs.setBounds (0, 0, 400, 300);
    desktop.addAndMakeVisible (tabs);
    tabs.sendLookAndFeelChange();

    EXPECT_EQ (tabs.getTabBarDepth(), 23);
    EXPECT_EQ (tabs.getTabbedButtonBar().getTabButton (0)->getBestTabLength (23),
               juce::roundToInt (toolkit::makeFont (13.0f, true).getStringWidthFloat ("Midi Control")) + 30);
    EXPECT_EQ (tabs.getTabContentComponent (0)->getBounds(), juce::Rectangle<int> (8, 31, 384, 261));

    const auto image = toolkit_test::paintOver (tabs, juce::Colours::white);
    EXPECT_EQ (toolkit_test::pixelAt (image, 200, 150), pageGrey.getARGB());          // page body
    EXPECT_EQ (toolkit_test::pixelAt (image, 0, 150), 0xFF5B5B5Bu);                   // outline
    EXPECT_EQ (toolkit_test::pixelAt (image, 390, 5), 0xFFFFFFFFu);                   // no tab there
}
