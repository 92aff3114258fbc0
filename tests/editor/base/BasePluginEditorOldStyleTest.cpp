// The preset-bank editor on the product: the skin's preset events, the
// preset name display, the bank's "Presets" page and what it tells.
#include "EditorTestSupport.h"

#include "drummachine/product/Pulsetta.h"
#include "editor/base/BasePluginEditorOldStyle.h"
#include "editor/presets/OldStylePresetBrowserWindow.h"
#include "toolkit/skin/GFXPanel.h"

using namespace editor_testing;

namespace
{
using BankPulsetta = WithPersistentEditor<Pulsetta, BasePluginEditorOldStyle>;

struct PresetBankEditor : FolderTest
{
    PresetBankEditor()
    {
        product.reset (static_cast<BankPulsetta*> (BasePlugin::startUp (std::make_unique<BankPulsetta>())));
        stage.add (editor());
        testing_support::runPendingMessages();
    }

    BasePluginEditorOldStyle& editor() { return product->editor(); }
    ParameterManager& parameters() { return product->getParameterManager(); }

    void fire (int eventId)
    {
        editor().controllerEventFired (nullptr, eventId);
        testing_support::runPendingMessages();
    }

    // The current preset as stored, parameter 0 (the bass drum's level).
    float storedLevel() { return toolkit_test::ref (product->getPreset (product->getCurrentPreset())).getValue (0); }

    widget_testing::Stage stage;
    std::unique_ptr<BankPulsetta> product;
};
} // namespace

TEST_F (PresetBankEditor, NextAndPreviousStopAtTheEndsOfTheBank)
{
    struct Case
    {
        int from, event, to;
    };
    const Case cases[] = {
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
}

TEST_F (PresetBankEditor, SwitchingToAutomaticStoringStoresTheSoundAtOnce)
{
    auto& storing = editor().getPresetsPage().getStoringGroup();
    ASSERT_EQ (storing.getSelectedIndex(), BasePluginOldStyle::storingOnDemand);
    parameters().setNormalised (0, 0.75f);
    ASSERT_NE (storedLevel(), 0.75f);

    storing.buttonClicked (storing.getButton (BasePluginOldStyle::automaticStoring));
    EXPECT_EQ (product->getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ (storedLevel(), 0.75f);
}

TEST_F (PresetBankEditor, AnEditOfTheNameDisplayRenamesTheCurrentPreset)
{
    auto& display = toolkit_test::ref (editor().getPresetNameDisplay());
    product->setCurrentPreset (3, true);
    editor().getPresetBrowser().getBrowser().showPreset (0, 7); // the browser elsewhere

    display.setText ("Dry kit");
    editor().displayTextEdited (&display); // as the display tells it when the edit ends
    testing_support::runPendingMessages();
    EXPECT_EQ (product->getPresetName (3), "Dry kit");
    EXPECT_EQ (parameters().toString (BasePluginOldStyle::currentPresetNameId), "Dry kit");
    EXPECT_NE (product->getPresetName (7), "Dry kit");
}

TEST_F (PresetBankEditor, ThePresetsPageHasNoChangingTypeHereAndLearningIsOffered)
{
    auto& page = editor().getPresetsPage();
    page.setSize (600, 400);
    EXPECT_FALSE (page.getChangingGroup().isVisible());
    EXPECT_EQ (page.getStoringGroup().getBounds(), juce::Rectangle<int> (0, 0, 600, page.getStoringGroup().getHeight()))
        << "\"Preset storing\" spans the page";
    EXPECT_EQ (page.getDefaultPresetsGroup().getY(), page.getStoringGroup().getBottom() + 10);
    auto& tabs = editor().getOptionsWindow().getTabs();
    tabs.setCurrentTabIndex (tabs.getTabNames().indexOf ("Midi Control")); // the page shown, in the editor's look
    auto& learn = editor().getMidiControlPage().getLearnButton();
    EXPECT_TRUE (learn.isVisible());
    const int shownWidth = learn.getWidth();
    learn.changeWidthToFitText (learn.getHeight());
    EXPECT_EQ (learn.getWidth(), shownWidth) << "its whole text, in the look the editor shows it with";
    EXPECT_TRUE (editor().getOptionsWindow().getTabs().getTabNames().contains ("Presets"));
}

TEST_F (PresetBankEditor, DefaultPresetsReachTheSettingsAndTheStatusBarSaysWhen)
{
    auto& group = editor().getPresetsPage().getDefaultPresetsGroup();
    const auto bankFile = folder.getChildFile ("mine.xrprsb");

    group.setSelectedIndex (BasePluginOldStyle::userDefinedPresets, true);
    group.getPathComponent().setPath (bankFile.getFullPathName(), true);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::userDefinedPresets);
    EXPECT_EQ (product->getUserPresetsFile(), bankFile);
    EXPECT_EQ (editor().getStatusBar().getMessage(), "Default Presets settings will be affected when plugin is loaded.");
    EXPECT_EQ (editor().getStatusBar().getPriority(), 4);

    group.setSelectedIndex (BasePluginOldStyle::clearPresets, true);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::clearPresets);
}
