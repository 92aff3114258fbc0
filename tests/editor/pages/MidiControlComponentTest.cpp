// The "Midi Control" page over a real MIDI control, its dialogs answered by
// the test and its files in a temporary folder.
#include "editor/pages/MidiControlListComponent.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"
#include "support/MessageLoop.h"
#include "tests/editor/SaveSiteChecks.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include <gtest/gtest.h>

using toolkit_test::findShownAlert;

namespace
{
using Rows = std::vector<std::pair<int, juce::String>>;

struct MidiControlPage : ::testing::Test,
                         testing_support::TemporaryUserFolders
{
    MidiControlPage() : TemporaryUserFolders ("pulsetta-midi-page-")
    {
        for (auto [id, name] : { std::pair<int, const char*> { 0, "Bass Drum Level" }, { 1, "Snare Drum Level" } })
        {
            auto parameter = std::make_unique<FloatParameter> (id, name, 0.0f, 1.0f, 0.5f);
            parameter->setAutomatable (true);
            parameters.addParameter (std::move (parameter));
        }

        control.setMapName ("Pulsetta");
        desktop.setSize (800, 600);
        desktop.addAndMakeVisible (page);
        page.setBounds (0, 0, 500, 300);
    }

    Rows rows()
    {
        Rows shown;
        for (const auto& row : page.getList().getRows())
            shown.emplace_back (row.controller, row.parameterName);
        return shown;
    }

    void assign (int controller, int parameterId)
    {
        control.assign (controller, parameters.getParameter (parameterId), true);
        testing_support::runPendingMessages();
    }

    // A click on the list's row.
    void clickRow (int row)
    {
        auto& list = page.getList();
        const juce::Point<float> at (10.0f, (float) (MidiControlComponent::ListComponent::headerHeight
                                                     + MidiControlComponent::ListComponent::rowHeight * row + 5));
        list.mouseDown (widget_testing::mouseAt (list, at, at));
        testing_support::runPendingMessages();
    }

    void click (juce::Button& button)
    {
        button.triggerClick();
        testing_support::runPendingMessages();
    }

    void answer (const juce::String& buttonText) { toolkit_test::answerShownAlert (desktop, buttonText); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    ParameterManager parameters;
    MidiControl control { parameters };
    toolkit_test::DialogDesktop desktop;
    MidiControlComponent page { control, ".xrccmap", "*.xrccmap" };
};
} // namespace

TEST_F (MidiControlPage, ListsTheControllersInOrderAndDeletesTheSelectedOne)
{
    EXPECT_TRUE (rows().empty());
    EXPECT_FALSE (page.getDeleteButton().isEnabled());
    EXPECT_FALSE (page.getClearAllButton().isEnabled());

    assign (7, 0);
    assign (1, 1);
    EXPECT_EQ (rows(), (Rows { { 1, "Snare Drum Level" }, { 7, "Bass Drum Level" } }));
    EXPECT_TRUE (page.getClearAllButton().isEnabled());
    EXPECT_FALSE (page.getDeleteButton().isEnabled());

    clickRow (1);
    EXPECT_EQ (page.getList().getSelectedRow(), 1);
    ASSERT_TRUE (page.getDeleteButton().isEnabled());
    click (page.getDeleteButton());
    EXPECT_EQ (rows(), (Rows { { 1, "Snare Drum Level" } }));
    EXPECT_EQ (page.getList().getSelectedRow(), -1);
    EXPECT_FALSE (page.getDeleteButton().isEnabled());
}

TEST_F (MidiControlPage, ClearAllAsksFirst)
{
    for (const auto& [answerText, left] : { std::pair<const char*, size_t> { "Cancel", 2 }, { "Yes", 0 } })
    {
        assign (7, 0);
        assign (1, 1);
        click (page.getClearAllButton());
        EXPECT_EQ (toolkit_test::ref (findShownAlert (desktop)).getMessage(), "Do you really want to clear all assignations?");
        answer (answerText);
        EXPECT_EQ (rows().size(), left) << answerText;
        EXPECT_EQ (findShownAlert (desktop), nullptr);
    }
}

// During learn, a click on a row makes its controller and parameter the
// learn choice, so the editor's status line tells that assignment.
TEST_F (MidiControlPage, ARowClickedDuringLearnBecomesTheLearnChoice)
{
    assign (7, 0);
    assign (1, 1);
    page.setLearnButtonShown (true);
    click (page.getLearnButton());
    ASSERT_TRUE (control.isLearnModeOn());

    clickRow (1);
    EXPECT_EQ (control.getLearnController(), 7);
    EXPECT_EQ (control.getLearnParameter(), parameters.getParameter (0));
    EXPECT_EQ (page.getList().getSelectedRow(), 1);

    control.setLearnMode (false);
    EXPECT_FALSE (page.getLearnButton().getToggleState());
    EXPECT_EQ (page.getList().getSelectedRow(), -1);
}

TEST_F (MidiControlPage, SavedMapsLoadBackAndOtherFilesChangeNothing)
{
    assign (7, 0);
    desktop.choose (file ("live"));
    click (page.getSaveButton());
    ASSERT_TRUE (file ("live.xrccmap").existsAsFile()) << "the extension is added";

    control.clear (true);
    desktop.choose (file ("live.xrccmap"));
    click (page.getLoadButton());
    EXPECT_EQ (rows(), (Rows { { 7, "Bass Drum Level" } }));
    EXPECT_EQ (desktop.requests.back().title, "Open Midi Control file");
    EXPECT_EQ (desktop.requests.back().filter, "*.xrccmap");

    ASSERT_TRUE (file ("other.xrccmap").replaceWithText (R"(<MidiControlMap name="Another Plug-in"><assign CC="3" param="Bass Drum Level"/></MidiControlMap>)"));
    ASSERT_TRUE (file ("text.xrccmap").replaceWithText ("not a map"));
    desktop.choose (file ("other.xrccmap"));
    click (page.getLoadButton());
    desktop.choose (file ("text.xrccmap"));
    click (page.getLoadButton());
    desktop.cancel();
    click (page.getLoadButton());
    EXPECT_EQ (rows(), (Rows { { 7, "Bass Drum Level" } }));
}

TEST_F (MidiControlPage, SavingAsksBeforeOverwritingTheSettledNameAndTellsAFailedWrite)
{
    assign (7, 0);
    editor_testing::checkSaveSite ({ desktop, file ("live.xrccmap"),
                                     [this] (const juce::File& chosen) {
                                         desktop.choose (chosen);
                                         click (page.getSaveButton());
                                     },
                                     [this] { return page.getRecentlyUsedFolder(); } });
}
