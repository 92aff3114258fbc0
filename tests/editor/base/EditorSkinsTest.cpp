// Skin selection, which no product turns on, through an editor that has it:
// the default skin at start, changes requested from the "GUI" page, skins
// that cannot be built, names that would leave the skins folder, and the
// names the settings and the state keep. And the generic layout of an editor
// without a skin.
#include "EditorTestSupport.h"

#include "framework/core/XmlTags.h"
#include "framework/processor/StateChunk.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"
#include "toolkit/skin/GFXToggleButton.h"

using namespace editor_testing;

namespace
{
struct SkinSelection : FolderTest
{
    SkinSelection()
    {
        const StubProcessor probe ({}); // where a processor looks, before any is started
        skinsFolder = skinfiles::getSkinsFolder (probe);
        settingsFile = probe.getUserSettingsFile();
    }

    std::unique_ptr<StubProcessor> start()
    {
        StubOptions options;
        options.skinSelection = true;
        auto processor = makeStub (options);
        stage.add (processor->editor());
        return processor;
    }

    // Each skin of that name and size, in the skins folder.
    void install (std::initializer_list<std::tuple<const char*, int, int>> skins)
    {
        for (auto [name, width, height] : skins)
            skin_testing::writeValidPackage (skinsFolder, name, makeSkin (width, height));
    }

    // The processor's state with the editor's skin named.
    static void restoreStateNamingSkin (StubProcessor& processor, const juce::String& name)
    {
        auto state = processor.createPluginStateXml();
        toolkit_test::ref (findChildWithTag (findChildWithTag (state.get(), "Editor"), "Skin")).setAttribute ("name", name);
        juce::MemoryBlock chunk;
        statechunk::write (*state, chunk);
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    widget_testing::Stage stage;
    juce::File skinsFolder, settingsFile;
};
} // namespace

TEST_F (SkinSelection, WithoutSkinsTheEditorKeepsTheBuiltInOneAndSaysWhereItLooked)
{
    const auto processor = start();
    auto& editor = processor->editor();
    EXPECT_EQ (editor.getStatusBar().getMessage(),
               "Plugin skins not found in directory: '" + skinsFolder.getFullPathName() + "'. Please reinstall to repair.");
    EXPECT_EQ (editor.getCurrentSkinName(), "");
    EXPECT_NE (editor.getMainPanel(), nullptr);
    EXPECT_EQ (editor.getOptionsWindow().getTabs().getTabNames(), juce::StringArray ({ "Processing", "Presets", "Parameters", "Midi Control", "GUI" }));
}

// The first start takes the page's preferred skin; two requests before a
// tick load only the last.
TEST_F (SkinSelection, StartsOnThePreferredSkinAndLoadsOnlyTheLastOfTwoRequests)
{
    install ({ { "A", 300, 200 }, { "B", 320, 240 }, { "C", 330, 5000 } });
    const auto processor = start();
    auto& editor = processor->editor();
    EXPECT_EQ (editor.getDefaultSkinName(), "B") << "the last skin that fits the screen";
    EXPECT_EQ (editor.getCurrentSkinName(), "B");
    EXPECT_EQ (editor.getHeight(), 240 + 16);
    EXPECT_NE (editor.getMidiLearnButton(), nullptr);
    editor.skinsLoaded = 0;

    editor.requestSkinChange ("C");
    editor.requestSkinChange ("A");
    EXPECT_FALSE (toolkit_test::ref (editor.getMainPanel()).isVisible());
    EXPECT_EQ (editor.getStatusBar().getMessage(), "Loading skin...");

    editor.timerUpdate();
    EXPECT_EQ (editor.skinsLoaded, 1);
    EXPECT_EQ (editor.getCurrentSkinName(), "A");
    EXPECT_TRUE (toolkit_test::ref (editor.getMainPanel()).isVisible());
    EXPECT_EQ (editor.getHeight(), 200 + 16);
    EXPECT_EQ (editor.getStatusBar().getMessage(), "");

    editor.timerUpdate();
    EXPECT_EQ (editor.skinsLoaded, 1) << "a request is taken once";
}

// A change to a skin that cannot be built brings the shown skin back and
// says why nothing changed, whether the package fails its check or passes
// it and its description is not one for this plug-in.
TEST_F (SkinSelection, ASkinThatCannotBeBuiltLeavesTheShownOneAndSaysSo)
{
    install ({ { "Shown", 300, 200 } });
    skin_testing::writeValidPackage (skinsFolder, "Foreign", makeSkin (310, 210, "Another Plug-in"));
    const auto wrongDigest = skin_testing::bytesOf ("0123456789abcdef0123456789abcdef"), broken = makeSkin (320, 220);
    skin_testing::writePackage (skinsFolder, "Broken", &wrongDigest, &broken);

    const auto processor = start();
    auto& editor = processor->editor();
    auto* shownPanel = editor.getMainPanel();

    for (const char* name : { "Broken", "Foreign", "Absent" })
    {
        editor.requestSkinChange (name);
        editor.timerUpdate();
        EXPECT_EQ (editor.getCurrentSkinName(), "Shown") << name;
        EXPECT_EQ (editor.getMainPanel(), shownPanel);
        EXPECT_TRUE (shownPanel->isVisible());
        EXPECT_EQ (editor.getStatusBar().getMessage(), "Skin '" + juce::String (name) + "' could not be loaded.");
    }
}

// A skin name comes from the settings file, a host's chunk or a request;
// one that names a place outside the skins folder never reaches a file,
// even where a valid package lies.
TEST_F (SkinSelection, ANameThatLeavesTheSkinsFolderIsRefusedFromEverySource)
{
    install ({ { "Inside", 300, 200 } });
    skin_testing::writeValidPackage (skinsFolder.getParentDirectory(), "Outside", makeSkin (310, 210));
    const juce::String escapes[] = { "../Outside", "..", "Inside/../../Outside", "~/Outside", skinsFolder.getParentDirectory().getChildFile ("Outside").getFullPathName() };

    for (const auto& name : escapes)
    {
        SCOPED_TRACE (name);
        settingsFile.getParentDirectory().createDirectory();
        ASSERT_TRUE (settingsFile.replaceWithText ("<UserSettings application=\"Pulsetta\"><Editor><Skin name=\"" + name + "\"/></Editor></UserSettings>"));
        const auto processor = start();
        auto& editor = processor->editor();
        EXPECT_EQ (editor.getDefaultSkinName(), "Inside");
        EXPECT_FALSE (editor.isSkinValid (name));

        restoreStateNamingSkin (*processor, name);
        EXPECT_EQ (editor.getCurrentSkinName(), "Inside");

        editor.requestSkinChange (name);
        editor.timerUpdate();
        EXPECT_EQ (editor.getCurrentSkinName(), "Inside");
    }
}

TEST_F (SkinSelection, TheSettingsKeepTheDefaultSkinAndTheStateTheCurrentOne)
{
    install ({ { "A", 300, 200 }, { "B", 310, 210 } });
    const auto processor = start();
    auto& editor = processor->editor();
    auto& page = toolkit_test::ref (editor.getGUIPage());

    page.setDefaultSkin ("a", true); // as the user chooses it: letter case aside
    page.setCurrentSkin ("A", true);
    editor.timerUpdate();

    const auto skinIn = [] (const std::unique_ptr<juce::XmlElement>& root) {
        return findChildWithTag (findChildWithTag (root.get(), "Editor"), "Skin")->getStringAttribute ("name");
    };
    EXPECT_EQ (skinIn (processor->createUserSettingsXml()), "A");
    EXPECT_EQ (skinIn (processor->createPluginStateXml()), "A");

    restoreStateNamingSkin (*processor, "B");
    EXPECT_EQ (editor.getCurrentSkinName(), "B");
    EXPECT_EQ (editor.getDefaultSkinName(), "A");
    EXPECT_EQ (page.getCurrentSkinChoice(), "B");
}

//==============================================================================
TEST_F (FolderTest, WithoutASkinTheGenericLayoutGivesEachHostParameterItsControl)
{
    StubOptions options;
    options.pluginName = "Another Plug-in"; // the built-in skin is not for it
    options.genericControls = true;
    options.qualityParameters = true;
    options.hostSlotIds = { 0, StubProcessor::switchId, StubProcessor::realtimeQualityId };
    options.rowBreakAfter = 1;
    const auto processor = makeStub (options);
    auto& editor = processor->editor();
    widget_testing::Stage stage;
    stage.add (editor);

    ASSERT_EQ (editor.getMainPanel(), nullptr);
    const auto& controls = editor.getGenericControls();
    ASSERT_EQ (controls.size(), 3u);
    EXPECT_NE (dynamic_cast<GFXKnob*> (controls[0].get()), nullptr);
    EXPECT_NE (dynamic_cast<GFXToggleButton*> (controls[1].get()), nullptr);
    EXPECT_NE (dynamic_cast<GFXSwitch*> (controls[2].get()), nullptr);
    EXPECT_EQ (controls[1]->getY(), controls[0]->getY());
    EXPECT_GT (controls[1]->getX(), controls[0]->getRight());
    EXPECT_EQ (controls[2]->getX(), controls[0]->getX()) << "a new row after the second";
    EXPECT_GT (controls[2]->getY(), controls[0]->getBottom());

    // A control moved by the user shows its parameter like a skin's.
    dynamic_cast<GFXToggleButton&> (*controls[1]).triggerClick();
    testing_support::runPendingMessages();
    EXPECT_EQ (editor.getStatusBar().getMessage(), "Test Switch: " + processor->getParameterTextById (StubProcessor::switchId));
}
