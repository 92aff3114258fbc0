#include "PresetBrowserTestSupport.h"

#include "tests/editor/SaveSiteChecks.h"

namespace
{
class PresetBrowserFiles : public PresetBrowserTest
{
protected:
    PresetBrowserFiles()
    {
        files.createDirectory();
        elsewhere.createDirectory();
        product->setRecentlyUsedDirectory (elsewhere);
    }

    juce::File file (const juce::String& name) const { return files.getChildFile (name); }

    const juce::File files = folder.getChildFile ("files");
    const juce::File elsewhere = folder.getChildFile ("elsewhere");
};
} // namespace

// Preset and bank alike go through the saver with their own extension; what
// was written reads back as the current preset, or the bank.
TEST_F (PresetBrowserFiles, SavingSettlesTheExtensionAsksBeforeOverwritingAndTellsFailures)
{
    for (const auto action : { Action::savePreset, Action::saveBank })
    {
        const bool bank = action == Action::saveBank;
        SCOPED_TRACE (bank ? "bank" : "preset");
        const auto target = file (bank ? "mine.xrprsb" : "mine.xrprs");
        open();
        editor_testing::checkSaveSite ({ desktop, target,
                                         [this, action] (const juce::File& chosen) {
                                             desktop.choose (chosen);
                                             click (action);
                                         },
                                         [this] { return product->getRecentlyUsedDirectory(); } });

        EXPECT_EQ (desktop.requests.back().title, bank ? "Save preset bank" : "Save current settings as preset");
        EXPECT_EQ (desktop.requests.back().filter, bank ? "*.xrprsb" : "*.xrprs");
        EXPECT_EQ (desktop.requests.back().start.getFileName(),
                   bank ? product->getPresetBank().getBankName() + ".xrprsb" : product->getPresetName (product->getCurrentPreset()) + ".xrprs")
            << "the bank's or the current preset's name is proposed";
        EXPECT_TRUE (target.loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        const auto written = juce::parseXML (target);
        ASSERT_NE (written, nullptr);
        EXPECT_EQ (written->getTagName(), bank ? "PresetBank" : "Preset");
        if (! bank)
        {
            EXPECT_EQ (written->getStringAttribute ("name"), product->getPresetName (product->getCurrentPreset()));
        }
    }
}

// A preset file goes into the current preset's slot and nowhere else; a file
// that cannot be read changes nothing and is told.
TEST_F (PresetBrowserFiles, LoadingAPresetReplacesOnlyTheCurrentSlot)
{
    auto preset = product->createPresetXmlAt (9);
    preset->setAttribute ("name", "Loaded");
    ASSERT_TRUE (preset->writeTo (file ("loaded.xrprs")));
    ASSERT_TRUE (file ("broken.xrprs").replaceWithText ("<Preset application=\"Pulsetta\""));

    product->setCurrentPreset (2, true);
    open();
    auto expected = bankOrder (*product);
    expected[(size_t) product->getNumGroups() + 2] = "Loaded";

    desktop.choose (file ("broken.xrprs"));
    click (Action::loadPreset);
    EXPECT_EQ (toolkit_test::ref (shownAlert()).getMessage(), "Could not read '" + file ("broken.xrprs").getFullPathName() + "'.");
    answer ("OK");
    EXPECT_EQ (product->getRecentlyUsedDirectory(), elsewhere);

    desktop.choose (file ("loaded.xrprs"));
    click (Action::loadPreset);
    EXPECT_EQ (desktop.requests.back().title, "Load single preset");
    EXPECT_EQ (bankOrder (*product), expected);
    for (int v = 0; v < product->getNumPresetParameters(); ++v)
        ASSERT_FLOAT_EQ (product->getPreset (2)->getValue (v), product->getPreset (9)->getValue (v)) << v;
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "Loaded");
    EXPECT_EQ (presets().getItemText (2), "Loaded");
    EXPECT_EQ (product->getRecentlyUsedDirectory(), files);
}

// A bank written by a fresh instance is loaded, presets and a group are
// moved with the mouse, the bank is saved; the saved file and the state
// chunk both give back the same order.
TEST_F (PresetBrowserFiles, MovesSurviveTheSavedBankAndTheStateChunk)
{
    ASSERT_TRUE (makeProduct()->savePresetBankFile (file ("fresh.xrprsb")));
    product->resetPresetBank();
    open();

    desktop.choose (file ("fresh.xrprsb"));
    click (Action::loadBank);
    EXPECT_EQ (desktop.requests.back().title, "Load preset bank");
    EXPECT_EQ (desktop.requests.back().filter, "*.xrprsb");
    EXPECT_EQ (product->getGroupName (1), "Not used");

    // Presets 4 to 6 onto "Not used", then "Not used" before the first group.
    juce::SparseSet<int> rows;
    rows.addRange ({ 4, 7 });
    presets().getList().setSelectedRows (rows, juce::dontSendNotification);
    drop (presets(), groups(), 1, 10);
    groups().showRow (1);
    drop (groups(), groups(), 0, 2);
    ASSERT_EQ (product->getGroupName (0), "Not used");
    ASSERT_EQ (product->getGroupSize (0), 116);
    const auto moved = bankOrder (*product);

    desktop.choose (file ("moved"));
    click (Action::saveBank);
    auto reloaded = makeProduct();
    ASSERT_TRUE (reloaded->loadPresetBankFile (file ("moved.xrprsb")));
    EXPECT_EQ (bankOrder (*reloaded), moved);

    juce::MemoryBlock chunk;
    product->getStateInformation (chunk);
    auto restored = makeProduct();
    restored->setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_EQ (bankOrder (*restored), moved);
    EXPECT_EQ (restored->getCurrentPreset(), product->getCurrentPreset());
}
