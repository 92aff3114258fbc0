#include "FrameworkPagesTestKit.h"

#include "editor/pages/HostParametersComponent.h"
#include "editor/pages/HostParametersListComponent.h"

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
    Parameter* slot (int index) { return product->getHostParameterMap().getParameter (index); }
    int idOf (const char* name) { return product->getParameterManager().getIndexOfName (name); }

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
    EXPECT_EQ (row (83).getName(), "HPComboBox84");
    EXPECT_EQ (list.getNumColumns(), 9);
    EXPECT_EQ (list.getHeight(), 10 * 22 + 20);
    EXPECT_EQ (row (13).getY(), row (3).getY());
    EXPECT_EQ (row (13).getX() - row (3).getX(), list.getWidth() / 9);
    EXPECT_EQ (row (0).getText(), "---");

    // The menu offers the automatable parameters, by id.
    int automatable = 0;
    for (int i = 0; i < product->getParameterManager().getNumParameters(); ++i)
        automatable += product->getParameterManager().getParameterAt (i)->isAutomatable() ? 1 : 0;
    EXPECT_EQ (row (0).getMenu().getNumItems(), automatable);
    EXPECT_EQ (row (0).getMenu().getItem (0)->id, 0);
    EXPECT_FALSE (desktop.snapshot().isNull());
}

TEST_F (HostParametersPageTest, ChoosingAParameterForAnotherRowMovesIt)
{
    const int level = idOf ("Bass Drum Level");
    row (0).setSelectedId (level, true);
    EXPECT_EQ (slot (0)->getId(), level);
    EXPECT_EQ (row (0).getText(), "Bass Drum Level");

    row (1).setSelectedId (level, true);
    EXPECT_EQ (slot (1)->getId(), level);
    EXPECT_EQ (slot (0), nullptr);
    EXPECT_EQ (row (0).getSelectedId(), level);
    testing_support::runPendingMessages();
    EXPECT_EQ (row (0).getSelectedId(), -1);

    // An id that names no parameter frees the slot.
    row (1).setSelectedId (999999, true);
    EXPECT_EQ (slot (1), nullptr);
}

TEST_F (HostParametersPageTest, ClearAllAsksFirst)
{
    for (const auto* reply : { "Cancel", "Yes" })
    {
        SCOPED_TRACE (reply);
        product->assignHostParameter (5, product->getParameterManager().getParameter (idOf ("Ride Level")));
        testing_support::runPendingMessages();

        click (page->getClearAllButton());
        auto& alert = toolkit_test::ref (findShownAlert());
        EXPECT_EQ (alert.getTitle(), "Collector");
        EXPECT_EQ (alert.getMessage(), "Do you really want to clear all assignations?");
        answer (reply);

        EXPECT_EQ (findShownAlert(), nullptr);
        const bool cleared = juce::String (reply) == "Yes";
        EXPECT_EQ (slot (5) == nullptr, cleared);
        EXPECT_EQ (row (5).getSelectedId(), cleared ? -1 : idOf ("Ride Level"));
    }
}

// The map's extension takes the place of another one; when that makes a
// name the dialog did not ask about, an existing file of it is asked about.
TEST_F (HostParametersPageTest, SavingPutsTheMapExtensionInPlaceOfAnother)
{
    struct Case
    {
        const char* chosen;
        bool mapExists;               // "x.xrhpmap" holds "old"
        const char* overwriteAnswer;  // null: no question
        bool written;                 // "x.xrhpmap" holds the map afterwards
    };
    const Case cases[] = {
        { "x.xrprsb", false, nullptr, true },
        { "x.xrprsb", true, "Yes", true },
        { "x.xrprsb", true, "Cancel", false },
        { "x", true, "Yes", true },
        { "x.xrhpmap", true, nullptr, true }, // the dialog itself asked
    };

    product->assignHostParameter (2, product->getParameterManager().getParameter (idOf ("Snare Drum Level")));

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.chosen) + (c.mapExists ? " over x.xrhpmap" : ""));
        const auto map = file ("x.xrhpmap");
        map.deleteFile();
        if (c.mapExists)
            map.replaceWithText ("old");
        desktop.choose (file (c.chosen));

        click (page->getSaveMapButton());
        EXPECT_EQ (desktop.requests.back().title, "Save Host Parameters Map file as");
        EXPECT_EQ (desktop.requests.back().filter, "*.xrhpmap");
        if (c.overwriteAnswer != nullptr)
        {
            EXPECT_EQ (toolkit_test::ref (findShownAlert()).getMessage(), "Do you want to overwrite 'x.xrhpmap' ?");
            answer (c.overwriteAnswer);
        }

        EXPECT_EQ (findShownAlert(), nullptr);
        EXPECT_FALSE (file ("x.xrprsb").exists());
        EXPECT_EQ (map.loadFileAsString().contains ("Snare Drum Level"), c.written);
        EXPECT_EQ (map.loadFileAsString() == "old", c.mapExists && ! c.written);
    }

    // What was saved loads back.
    product->clearHostParameters();
    desktop.choose (file ("x.xrhpmap"));
    click (page->getLoadMapButton());
    EXPECT_EQ (desktop.requests.back().title, "Load Host Parameters Map file");
    EXPECT_EQ (slot (2)->getId(), idOf ("Snare Drum Level"));
    EXPECT_EQ (row (2).getSelectedId(), idOf ("Snare Drum Level"));
}

TEST_F (HostParametersPageTest, AFailedSaveIsToldAndTheOldFileKept)
{
    const auto blocker = file ("not-a-folder");
    blocker.replaceWithText ("old");
    desktop.choose (blocker.getChildFile ("x.xrhpmap"));

    click (page->getSaveMapButton());
    EXPECT_EQ (toolkit_test::ref (findShownAlert()).getMessage(),
               "Could not write '" + blocker.getChildFile ("x.xrhpmap").getFullPathName() + "'.");
    answer ("OK");
    EXPECT_EQ (blocker.loadFileAsString(), "old");
}

TEST_F (HostParametersPageTest, AFileThatHoldsNoMapOfOursChangesNothing)
{
    product->assignHostParameter (0, product->getParameterManager().getParameter (idOf ("Crash Level")));
    const auto foreign = file ("foreign.xrhpmap");
    foreign.replaceWithText ("<HostParametersMap name=\"Other\"><assign hostParam=\"1\" pluginParam=\"Ride Level\"/></HostParametersMap>");
    const auto preset = file ("preset.xrhpmap");
    preset.replaceWithText ("<Preset/>");

    for (const auto& chosen : { std::optional<juce::File> (foreign), std::optional<juce::File> (preset), std::optional<juce::File>() })
    {
        if (chosen)
            desktop.choose (*chosen);
        else
            desktop.cancel();
        click (page->getLoadMapButton());
        EXPECT_EQ (slot (0)->getId(), idOf ("Crash Level"));
    }
}

TEST_F (HostParametersPageTest, TheDefaultMapBoxSetsTheStartUpMapForTheSession)
{
    auto& box = page->getDefaultMapCheckBox();
    const auto defaultMap = file ("Kyxworks/Collector/default.xrhpmap");
    page->setDefaultMapFile (defaultMap);
    EXPECT_FALSE (product->isHostParametersMapFileUsed());

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
