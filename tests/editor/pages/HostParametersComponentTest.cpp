#include "FrameworkPagesTestKit.h"

#include "editor/pages/HostParametersComponent.h"
#include "editor/pages/HostParametersListComponent.h"
#include "tests/editor/SaveSiteChecks.h"

namespace
{
class HostParametersPageTest : public pages_test::FrameworkPageTest
{
protected:
    HostParametersPageTest()
    {
        desktop.addAndMakeVisible (*page);
        page->setBounds (0, 0, 780, 540);
    }

    ComboBoxEx& row (int index) { return page->getList().getComboBox (index); }
    int slotId (int index) { return product->getHostParameterMap().getParameter (index) != nullptr ? product->getHostParameterMap().getParameter (index)->getId() : -1; }
    int idOf (const char* name) { return product->getParameterManager().getIndexOfName (name); }
    void bind (int slot, const char* name) { product->assignHostParameter (slot, product->getParameterManager().getParameterByName (name)); }

    void click (juce::Button& button)
    {
        page->buttonClicked (&button);
        testing_support::runPendingMessages();
    }

    std::unique_ptr<HostParametersComponent> page = std::make_unique<HostParametersComponent> (*product);
};

TEST_F (HostParametersPageTest, OneRowPerHostSlotInColumnsOfTen)
{
    auto& list = page->getList();
    ASSERT_EQ (list.getNumRows(), 84);
    EXPECT_EQ (list.getNumColumns(), 9);
    EXPECT_EQ (row (13).getY(), row (3).getY());
    EXPECT_GT (row (13).getX(), row (3).getX());
    EXPECT_EQ (row (0).getText(), "---");
    EXPECT_EQ (row (0).getMenu().getItem (0)->id, 0); // parameter 0 is offered too
}

TEST_F (HostParametersPageTest, ChoosingAParameterForAnotherRowMovesIt)
{
    const int level = idOf ("Bass Drum Level");
    row (0).setSelectedId (level, true);
    row (1).setSelectedId (level, true);
    EXPECT_EQ (slotId (1), level);
    EXPECT_EQ (slotId (0), -1);
    EXPECT_EQ (row (0).getSelectedId(), level);
    testing_support::runPendingMessages();
    EXPECT_EQ (row (0).getSelectedId(), -1);

    row (1).setSelectedId (999999, true); // names no parameter: frees the slot
    EXPECT_EQ (slotId (1), -1);
}

TEST_F (HostParametersPageTest, ClearAllAsksFirst)
{
    for (const juce::String reply : { "Cancel", "Yes" })
    {
        bind (5, "Ride Level");
        testing_support::runPendingMessages();
        click (page->getClearAllButton());
        EXPECT_EQ (toolkit_test::ref (shownAlert()).getMessage(), "Do you really want to clear all assignations?");
        answer (reply);

        const int expected = reply == "Yes" ? -1 : idOf ("Ride Level");
        EXPECT_EQ (slotId (5), expected) << reply;
        EXPECT_EQ (row (5).getSelectedId(), expected) << reply;
    }
}

// The map's extension takes the place of another one; when that makes a
// name the dialog did not ask about, an existing file of it is asked about.
TEST_F (HostParametersPageTest, SavingPutsTheMapExtensionInPlaceOfAnother)
{
    const struct { const char* chosen; bool mapExists; const char* overwriteAnswer; bool written; } cases[] = {
        { "x.xrprsb", false, nullptr, true },
        { "x.xrprsb", true, "Cancel", false },
        { "x.xrhpmap", true, nullptr, true }, // the dialog itself asked
    };
    bind (2, "Snare Drum Level");
    const auto map = file ("x.xrhpmap");
    const auto save = [this] (const juce::File& chosen) {
        desktop.choose (chosen);
        click (page->getSaveMapButton());
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.chosen) + (c.mapExists ? " over x.xrhpmap" : ""));
        map.deleteFile();
        if (c.mapExists)
            map.replaceWithText ("old");
        save (file (c.chosen));
        EXPECT_EQ (desktop.requests.back().filter, "*.xrhpmap");
        if (c.overwriteAnswer != nullptr)
        {
            EXPECT_EQ (toolkit_test::ref (shownAlert()).getMessage(), "Do you want to overwrite 'x.xrhpmap' ?");
            answer (c.overwriteAnswer);
        }
        EXPECT_EQ (shownAlert(), nullptr);
        EXPECT_FALSE (file ("x.xrprsb").exists());
        EXPECT_EQ (map.loadFileAsString().contains ("Snare Drum Level"), c.written);
    }

    editor_testing::checkSaveSite ({ desktop, map, save });
}

TEST_F (HostParametersPageTest, LoadingTakesOnlyAMapOfOurs)
{
    bind (0, "Crash Level");
    file ("ours.xrhpmap").replaceWithText ("<HostParametersMap name=\"collector\"><assign hostParam=\"1\" pluginParam=\"Ride Level\"/></HostParametersMap>");
    file ("foreign.xrhpmap").replaceWithText ("<HostParametersMap name=\"Other\"><assign hostParam=\"1\" pluginParam=\"Ride Level\"/></HostParametersMap>");
    file ("preset.xrhpmap").replaceWithText ("<Preset/>");

    for (auto* chosen : { "foreign.xrhpmap", "preset.xrhpmap", "", "ours.xrhpmap" })
    {
        if (*chosen != 0)
            desktop.choose (file (chosen));
        click (page->getLoadMapButton()); // no answer left: cancelled
        EXPECT_EQ (slotId (0), juce::String (chosen) == "ours.xrhpmap" ? idOf ("Ride Level") : idOf ("Crash Level")) << chosen;
    }
    EXPECT_EQ (desktop.requests.back().title, "Load Host Parameters Map file");
    EXPECT_EQ (row (0).getSelectedId(), idOf ("Ride Level"));
}

TEST_F (HostParametersPageTest, TheDefaultMapBoxSetsTheStartUpMapForTheSession)
{
    auto& box = page->getDefaultMapCheckBox();
    const auto defaultMap = file ("Kyxworks/Collector/default.xrhpmap");
    page->setDefaultMapFile (defaultMap);

    box.getCheckBox().setToggleState (true, juce::sendNotificationSync);
    EXPECT_TRUE (product->isHostParametersMapFileUsed());
    EXPECT_EQ (product->getHostParametersMapFile(), defaultMap);
    box.getPathComponent().setPath (file ("mine.xrhpmap").getFullPathName(), true);
    EXPECT_EQ (product->getHostParametersMapFile(), file ("mine.xrhpmap"));
    box.getCheckBox().setToggleState (false, juce::sendNotificationSync);
    EXPECT_FALSE (product->isHostParametersMapFileUsed());

    // A new page shows what the processor holds.
    product->setHostParametersMapFile (true, defaultMap);
    HostParametersComponent another (*product);
    EXPECT_TRUE (another.getDefaultMapCheckBox().getCheckBox().getToggleState());
    EXPECT_EQ (another.getDefaultMapCheckBox().getPathComponent().getPath(), defaultMap.getFullPathName());
}
} // namespace
