#include "support/MessageLoop.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"

#include "framework/core/Parameters.h"
#include "toolkit/widgets/DefaultResourceCheckBox.h"
#include "toolkit/widgets/DefaultResourcesRadioButtons.h"

#include <gtest/gtest.h>

using toolkit_test::DialogDesktop;
using toolkit_test::ref;

namespace
{
struct Changes : PathComponent::Listener,
                 DefaultResourceCheckBox::Listener,
                 RadioButtons_V2::Listener
{
    void pathChanged (PathComponent*) override { ++count; }
    void defaultResourceChanged (DefaultResourceCheckBox*) override { ++count; }
    void radioButtonsChanged (RadioButtons_V2*) override { ++count; }

    int count = 0;
};

// The darkest pixel of an area, 0 (black) to 1 (white).
float darkest (const juce::Image& image, juce::Rectangle<int> area)
{
    float result = 1.0f;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            result = juce::jmin (result, image.getPixelAt (x, y).getBrightness());
    return result;
}

const juce::String mapPath ("/home/drummer/Maps/map.xrccmap");
} // namespace

// Letter case counts where the file system's names are case-sensitive: on
// Linux "Map.xrccmap" is another file than "map.xrccmap".
TEST (PathComponent, SetPathTellsItsListenersOnlyOfAChangeWhenAsked)
{
    DialogDesktop desktop;
    PathComponent path;
    Changes changes;
    path.addListener (&changes);
    path.addListener (&changes);
    path.addListener (nullptr);
    desktop.addAndMakeVisible (path);

    struct Step { juce::String path; bool notify; int calls; };
    const Step steps[] = {
        { mapPath, true, 1 },
        { mapPath, true, 1 },                              // the same path: nothing
        { "/home/drummer/Maps/Map.xrccmap", true, 2 },     // another file on Linux
        { "/home/drummer/Maps/other.xrccmap", false, 2 },  // changed silently
    };

    for (const auto& step : steps)
    {
        path.setPath (step.path, step.notify);
        EXPECT_EQ (path.getPath(), step.path);
        EXPECT_EQ (changes.count, step.calls);
    }
}

TEST (PathComponent, BrowseTakesTheChosenFileAndACancelChangesNothing)
{
    DialogDesktop desktop;
    PathComponent path;
    Changes changes;
    desktop.addAndMakeVisible (path);
    path.setBounds (0, 0, 300, 20);
    path.addListener (&changes);
    path.setChooserTitle ("Default MIDI map");
    path.setInitialLocation (juce::File ("/home/drummer/Maps"));
    path.setFilePatterns ("*.xrccmap");
    path.setPath (mapPath, false);

    desktop.choose (juce::File ("/home/drummer/Maps/live.xrccmap"));
    path.buttonClicked (&path.getBrowseButton());
    path.buttonClicked (&path.getBrowseButton()); // while the dialog is open: no second dialog
    ASSERT_EQ (desktop.requests.size(), 1u);
    EXPECT_EQ (desktop.requests[0].mode, FileDialogRequest::openFile);
    EXPECT_EQ (desktop.requests[0].title, "Default MIDI map");
    EXPECT_EQ (desktop.requests[0].start, juce::File ("/home/drummer/Maps"));
    EXPECT_EQ (desktop.requests[0].filter, "*.xrccmap");
    EXPECT_EQ (path.getPath(), mapPath); // the answer comes from the loop

    testing_support::runPendingMessages();
    EXPECT_EQ (path.getPath(), "/home/drummer/Maps/live.xrccmap");
    EXPECT_EQ (changes.count, 1);

    desktop.cancel();
    path.buttonClicked (&path.getBrowseButton());
    testing_support::runPendingMessages();
    EXPECT_EQ (desktop.requests.size(), 2u);
    EXPECT_EQ (path.getPath(), "/home/drummer/Maps/live.xrccmap");
    EXPECT_EQ (changes.count, 1);
}

TEST (PathComponent, AnAnswerAfterThePathWasDeletedIsDropped)
{
    DialogDesktop desktop;
    auto path = std::make_unique<PathComponent>();
    desktop.addAndMakeVisible (*path);
    desktop.choose (juce::File ("/home/drummer/Maps/live.xrccmap"));
    path->buttonClicked (&path->getBrowseButton());
    path.reset();
    testing_support::runPendingMessages();
    EXPECT_EQ (desktop.requests.size(), 1u);
}

TEST (PathComponent, BrowseButtonStandsRightOfTheBoxAtFullHeight)
{
    DialogDesktop desktop;
    PathComponent path;
    desktop.addAndMakeVisible (path);
    path.setBounds (0, 0, 300, 20);
    auto& button = path.getBrowseButton();
    const int buttonWidth = desktop.lookAndFeel.getTextButtonWidthToFitText (button, 20);

    EXPECT_EQ (button.getBounds(), juce::Rectangle<int> (300 - buttonWidth, 0, buttonWidth, 20));
    EXPECT_EQ (path.getBoxArea(), juce::Rectangle<int> (0, 0, 300 - buttonWidth - 6, 20));
    EXPECT_EQ (path.getTextArea(), path.getBoxArea().reduced (4, 0));
}

// A path up to 8 pixels narrower than its text area is drawn whole; a longer
// one is cut, with "[...]" drawn faintly at the end of the area.
TEST (PathComponent, ALongPathIsCutWithAFaintEllipsis)
{
    DialogDesktop desktop;
    const auto font = desktop.lookAndFeel.getRegularFont();
    const int pathWidth = font.getStringWidth (mapPath);
    const int ellipsisWidth = font.getStringWidth ("[...]");

    for (const int room : { 8, 7 }) // text area width - path width
    {
        SCOPED_TRACE (room);
        PathComponent path;
        desktop.addAndMakeVisible (path);
        path.setPath (mapPath, false);
        path.setSize (100, 20);
        const int buttonAndBox = 100 - path.getTextArea().getWidth();
        path.setSize (pathWidth + room + buttonAndBox, 20);
        ASSERT_EQ (path.getTextArea().getWidth(), pathWidth + room);

        const bool whole = room == 8;
        EXPECT_EQ (path.isPathShownWhole(), whole);

        const auto image = toolkit_test::paintOver (path);
        const auto text = path.getTextArea();
        const auto ellipsisArea = text.withLeft (text.getRight() - ellipsisWidth).reduced (0, 3);
        EXPECT_LT (darkest (image, text.withWidth (40).reduced (0, 3)), 0.3f);

        if (whole)
        {
            EXPECT_LT (darkest (image, ellipsisArea), 0.3f); // the path's own last letters
        }
        else
        {
            EXPECT_GT (darkest (image, ellipsisArea), 0.35f); // faint ink only
            EXPECT_LT (darkest (image, ellipsisArea), 0.8f);
        }
    }
}

TEST (DefaultResourceCheckBox, TickingTheDefaultDisablesThePathAndItsButton)
{
    DialogDesktop desktop;
    DefaultResourceCheckBox chooser;
    Changes changes;
    desktop.addAndMakeVisible (chooser);
    chooser.getCheckBox().setButtonText ("Default map");
    chooser.setBounds (0, 0, 380, 20);
    chooser.addListener (&changes);
    auto& box = chooser.getCheckBox();
    auto& path = chooser.getPathComponent();

    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (0, 0, box.getWidth(), 20));
    EXPECT_EQ (path.getBounds(), juce::Rectangle<int> (box.getWidth() + 6, 0, 380 - box.getWidth() - 6, 20));
    EXPECT_TRUE (path.isEnabled());

    for (const bool ticked : { true, false })
    {
        box.triggerClick();
        testing_support::runPendingMessages();
        EXPECT_EQ (box.getToggleState(), ticked);
        EXPECT_EQ (path.isEnabled(), ! ticked);
        EXPECT_EQ (path.getBrowseButton().isEnabled(), ! ticked);
    }
    EXPECT_EQ (changes.count, 2);

    desktop.choose (juce::File ("/home/drummer/Maps/live.xrccmap"));
    path.buttonClicked (&path.getBrowseButton());
    testing_support::runPendingMessages();
    EXPECT_EQ (changes.count, 3);
}

// However the tick changes (the page, or a parameter the box is bound to),
// the path follows it; only the user's changes are told to the listeners.
TEST (DefaultResourceCheckBox, PathFollowsATickSetByTheParameter)
{
    DialogDesktop desktop;
    BoolParameter useDefault (4, "Use Default Map");
    DefaultResourceCheckBox chooser;
    Changes changes;
    desktop.addAndMakeVisible (chooser);
    chooser.addListener (&changes);
    chooser.getCheckBox().bindParameter (&useDefault);

    useDefault.setBool (true, true);
    testing_support::runPendingMessages();
    EXPECT_FALSE (chooser.getPathComponent().isEnabled());

    chooser.getCheckBox().setToggleState (false, juce::dontSendNotification);
    EXPECT_TRUE (chooser.getPathComponent().isEnabled());
    EXPECT_EQ (changes.count, 0);
}

TEST (DefaultResourcesRadioButtons, PathIsEnabledOnlyWhileTheLastChoiceIsSelected)
{
    DialogDesktop desktop;
    DefaultResourcesRadioButtons group ("Default patterns", { "Factory patterns", "Clear patterns", "User defined" });
    desktop.addAndMakeVisible (group);
    EXPECT_FALSE (group.getPathComponent().isEnabled()); // nothing selected yet

    for (const int index : { 2, 0, 1, 2 })
    {
        ref (group.getButton (index)).triggerClick();
        testing_support::runPendingMessages();
        EXPECT_EQ (group.getPathComponent().isEnabled(), index == 2);
    }
}

TEST (DefaultResourcesRadioButtons, PathStandsRightOfTheLastButtonAndANewPathIsAChange)
{
    DialogDesktop desktop;
    DefaultResourcesRadioButtons group ("Default drum map", { "Factory map", "User defined" });
    Changes changes;
    group.addListener (&changes);
    desktop.addAndMakeVisible (group);
    group.setButtonWidth (120);
    group.setSize (400, group.getHeight());

    const auto last = group.getLastButtonBounds();
    EXPECT_EQ (group.getPathComponent().getBounds(),
               juce::Rectangle<int> (last.getRight() + 6, last.getY(), 400 - 8 - last.getRight() - 6, 20));

    group.setSelectedIndex (1, false);
    desktop.choose (juce::File ("/home/drummer/Maps/live.xrdrmap"));
    auto& path = group.getPathComponent();
    path.buttonClicked (&path.getBrowseButton());
    testing_support::runPendingMessages();
    EXPECT_EQ (path.getPath(), "/home/drummer/Maps/live.xrdrmap");
    EXPECT_EQ (changes.count, 1);
}
