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
struct Changes : PathComponent::Listener, DefaultResourceCheckBox::Listener, RadioButtons_V2::Listener
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

// The user presses "Browse" and the scripted dialog answers.
void browse (DialogDesktop& desktop, PathComponent& path, const juce::String& chosen)
{
    desktop.choose (juce::File (chosen));
    path.buttonClicked (&path.getBrowseButton());
    testing_support::runPendingMessages();
}

const juce::String mapPath ("/home/drummer/Maps/map.xrccmap");
} // namespace

// Letter case counts where the file system's names are case-sensitive: on
// Linux "Map.xrccmap" is another file than "map.xrccmap".
TEST (PathComponent, SetPathTellsItsListenersOnlyOfAChangeWhenAsked)
{
    PathComponent path;
    Changes changes;
    path.addListener (&changes);
    path.addListener (&changes);

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
    EXPECT_EQ (path.getBrowseButton().getBounds().getBottomRight(), juce::Point<int> (300, 20));

    desktop.choose (juce::File ("/home/drummer/Maps/live.xrccmap"));
    path.buttonClicked (&path.getBrowseButton());
    path.buttonClicked (&path.getBrowseButton()); // while its dialog is open: no second one
    ASSERT_EQ (desktop.requests.size(), 1u);
    const auto& request = desktop.requests[0];
    EXPECT_EQ (request.mode, FileDialogRequest::openFile);
    EXPECT_EQ (request.title + " " + request.start.getFullPathName() + " " + request.filter,
               "Default MIDI map /home/drummer/Maps *.xrccmap");
    EXPECT_EQ (path.getPath(), ""); // the answer comes from the loop

    testing_support::runPendingMessages();
    EXPECT_EQ (path.getPath(), "/home/drummer/Maps/live.xrccmap");
    EXPECT_EQ (changes.count, 1);

    desktop.cancel();
    path.buttonClicked (&path.getBrowseButton());
    testing_support::runPendingMessages();
    EXPECT_EQ (path.getPath(), "/home/drummer/Maps/live.xrccmap");
    EXPECT_EQ (changes.count, 1);

    auto closing = std::make_unique<PathComponent>(); // deleted before its dialog answers
    desktop.addAndMakeVisible (*closing);
    closing->buttonClicked (&closing->getBrowseButton());
    closing.reset();
    testing_support::runPendingMessages();
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
        path.setSize (100 - path.getTextArea().getWidth() + pathWidth + room, 20);
        ASSERT_EQ (path.getTextArea().getWidth(), pathWidth + room);
        EXPECT_EQ (path.isPathShownWhole(), room == 8);

        const auto image = toolkit_test::paintOver (path);
        const auto text = path.getTextArea().reduced (0, 3);
        const float ellipsisInk = darkest (image, text.withLeft (text.getRight() - ellipsisWidth));
        EXPECT_LT (darkest (image, text.withWidth (40)), 0.3f);

        if (room == 8)
        {
            EXPECT_LT (ellipsisInk, 0.3f); // the path's own last letters
        }
        else
        {
            EXPECT_GT (ellipsisInk, 0.35f); // faint ink only
            EXPECT_LT (ellipsisInk, 0.8f);
        }
    }
}

// The path is disabled while the default is ticked, however the tick
// changes (the user, the page, a bound parameter); only the user's changes
// are told to the listeners.
TEST (DefaultResourceCheckBox, TickingTheDefaultDisablesThePathAndItsButton)
{
    DialogDesktop desktop;
    BoolParameter useDefault (4, "Use Default Map");
    DefaultResourceCheckBox chooser;
    Changes changes;
    desktop.addAndMakeVisible (chooser);
    chooser.getCheckBox().setButtonText ("Default map");
    chooser.setBounds (0, 0, 380, 20);
    chooser.addListener (&changes);
    auto& box = chooser.getCheckBox();
    auto& path = chooser.getPathComponent();
    EXPECT_EQ (path.getBounds(), juce::Rectangle<int> (box.getRight() + 6, 0, 380 - box.getRight() - 6, 20));

    for (const bool ticked : { true, false })
    {
        box.triggerClick();
        testing_support::runPendingMessages();
        EXPECT_EQ (path.isEnabled(), ! ticked);
        EXPECT_EQ (path.getBrowseButton().isEnabled(), ! ticked);
    }
    browse (desktop, path, "/home/drummer/Maps/live.xrccmap");
    EXPECT_EQ (changes.count, 3);

    box.bindParameter (&useDefault);
    useDefault.setBool (true, true);
    testing_support::runPendingMessages();
    EXPECT_FALSE (path.isEnabled());
    box.setToggleState (false, juce::dontSendNotification);
    EXPECT_TRUE (path.isEnabled());
    EXPECT_EQ (changes.count, 3);
}

// The path stands right of the last button, enabled only while that button
// is selected (clicking it again keeps it selected); a new path is a change
// of the group's setting.
TEST (DefaultResourcesRadioButtons, PathBelongsToTheLastChoice)
{
    DialogDesktop desktop;
    DefaultResourcesRadioButtons group ("Default patterns", { "Factory patterns", "Clear patterns", "User defined" });
    Changes changes;
    group.addListener (&changes);
    desktop.addAndMakeVisible (group);
    group.setButtonWidth (120);
    group.setSize (400, group.getHeight());
    auto& path = group.getPathComponent();
    EXPECT_FALSE (path.isEnabled()); // nothing selected yet

    const auto last = group.getLastButtonBounds();
    EXPECT_EQ (last, juce::Rectangle<int> (group.getContentArea().getX(), group.getContentArea().getY() + 2 * 20, 120, 18));
    EXPECT_EQ (path.getBounds(), juce::Rectangle<int> (last.getRight() + 6, last.getY(), 400 - 8 - last.getRight() - 6, 20));

    for (const int index : { 2, 0, 1, 2, 2 })
    {
        ref (group.getButton (index)).triggerClick();
        testing_support::runPendingMessages();
        EXPECT_TRUE (ref (group.getButton (index)).getToggleState());
        EXPECT_EQ (path.isEnabled(), index == 2);
    }
    EXPECT_EQ (changes.count, 4);

    browse (desktop, path, "/home/drummer/Patterns/live.xrptrb");
    EXPECT_EQ (changes.count, 5);
}
