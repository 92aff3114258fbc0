// The preset-bank editor on the product: the skin's preset events, the
// preset name display, the bank's "Presets" page and what it tells.
#include "EditorTestSupport.h"

#include "editor/presets/OldStylePresetBrowserWindow.h"

using namespace editor_testing;

namespace
{
struct PresetBankEditor : ProductEditorTest
{
    // The current preset as stored, parameter 0 (the bass drum's level).
    float storedLevel() { return toolkit_test::ref (product->getPreset (product->getCurrentPreset())).getValue (0); }
};
} // namespace

TEST_F (PresetBankEditor, NextAndPreviousStopAtTheEndsOfTheBank)
{
    const struct
    {
        int from, event, to;
    } cases[] = {
        { 127, BasePlugin::selectNextPresetCommand, 127 },
        { 0, BasePlugin::selectPreviousPresetCommand, 0 },
        { 5, BasePlugin::selectNextPresetCommand, 6 },
        { 5, BasePlugin::selectPreviousPresetCommand, 4 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.from) + " " + juce::String (c.event));
        product->setCurrentPreset (c.from, true);
        product->applyCurrentPreset();
        parameters().setNormalised (0, 0.123f); // an edit not stored
        fire (c.event);
        EXPECT_EQ (product->getCurrentPreset(), c.to);
        EXPECT_EQ (parameters().getNormalised (0) == 0.123f, c.from == c.to) << "an end keeps the sound as it is";
    }
}

TEST_F (PresetBankEditor, CopyPasteAndStoreWorkOnTheCurrentPreset)
{
    product->setCurrentPreset (2, true);
    const auto name = product->getPresetName (2);
    fire (BasePlugin::copyCurrentPresetCommand);
    product->setCurrentPreset (9, true);
    fire (BasePlugin::pasteCopiedPresetCommand);
    EXPECT_EQ (product->getPresetName (9), name + "_copy");
    EXPECT_EQ (parameters().toString (BasePluginOldStyle::currentPresetNameId), name + "_copy");

    parameters().setNormalised (0, 0.25f);
    ASSERT_NE (storedLevel(), 0.25f) << "stored on demand only";
    fire (BasePlugin::storeCurrentPresetCommand);
    EXPECT_EQ (storedLevel(), 0.25f);

    // Automatic storing, once chosen, stores the sound at once.
    auto& storing = editor().getPresetsPage().getStoringGroup();
    parameters().setNormalised (0, 0.75f);
    storing.buttonClicked (storing.getButton (BasePluginOldStyle::automaticStoring));
    EXPECT_EQ (product->getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ (storedLevel(), 0.75f);
}

// The edit renames the current preset, not the one the browser shows.
TEST_F (PresetBankEditor, AnEditOfTheNameDisplayRenamesTheCurrentPreset)
{
    auto& display = toolkit_test::ref (editor().getPresetNameDisplay());
    product->setCurrentPreset (3, true);
    editor().getPresetBrowser().getBrowser().showPreset (0, 7);

    display.setText ("Dry kit");
    editor().displayTextEdited (&display); // as the display tells it when the edit ends
    testing_support::runPendingMessages();
    EXPECT_EQ (product->getPresetName (3), "Dry kit");
    EXPECT_NE (product->getPresetName (7), "Dry kit");
}

// The page offers no "Changing type" here; the "Midi Control" page offers
// learning, its button showing its whole text in the editor's look.
TEST_F (PresetBankEditor, ThePresetsPageHasNoChangingTypeAndLearningIsOffered)
{
    EXPECT_FALSE (editor().getPresetsPage().getChangingGroup().isVisible());
    auto& tabs = editor().getOptionsWindow().getTabs();
    tabs.setCurrentTabIndex (tabs.getTabNames().indexOf ("Midi Control"));
    auto& learn = editor().getMidiControlPage().getLearnButton();
    EXPECT_TRUE (learn.isVisible());
    const int shownWidth = learn.getWidth();
    learn.changeWidthToFitText (learn.getHeight());
    EXPECT_EQ (learn.getWidth(), shownWidth);
}

TEST_F (PresetBankEditor, DefaultPresetsReachTheSettingsAndTheStatusBarSaysWhen)
{
    auto& group = editor().getPresetsPage().getDefaultPresetsGroup();
    const auto bankFile = folder.getChildFile ("mine.xrprsb");

    group.setSelectedIndex (BasePluginOldStyle::userDefinedPresets, true);
    group.getPathComponent().setPath (bankFile.getFullPathName(), true);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::userDefinedPresets);
    EXPECT_EQ (product->getUserPresetsFile(), bankFile);
    EXPECT_EQ (status(), "Default Presets settings will be affected when plugin is loaded.");

    group.setSelectedIndex (BasePluginOldStyle::clearPresets, true);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::clearPresets);
}
