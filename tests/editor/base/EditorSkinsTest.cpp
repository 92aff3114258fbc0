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
            writePackage (skinsFolder, name, makeSkin (width, height));
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

TEST_F (SkinSelection, TheFirstStartTakesThePagesPreferredSkin)
{
    install ({ { "Small", 300, 200 }, { "Wide", 320, 240 }, { "Wider", 5000, 10 } });
    const auto processor = start();
    auto& editor = processor->editor();

    EXPECT_EQ (editor.getDefaultSkinName(), "Wide") << "the last skin that fits the screen";
    EXPECT_EQ (editor.getCurrentSkinName(), "Wide");
    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (0, 0, 320, 240 + 16));
    EXPECT_NE (editor.getMidiLearnButton(), nullptr);
    EXPECT_EQ (toolkit_test::ref (editor.getGUIPage()).getCurrentSkinChoice(), "Wide");
}

TEST_F (SkinSelection, TwoRequestsBeforeATickLoadOnlyTheLast)
{
    install ({ { "A", 300, 200 }, { "B", 310, 210 }, { "C", 330, 250 } });
    const auto processor = start();
    auto& editor = processor->editor();
    editor.skinsLoaded = 0;

    editor.requestSkinChange ("A");
    editor.requestSkinChange ("C");
    EXPECT_FALSE (toolkit_test::ref (editor.getMainPanel()).isVisible());
    EXPECT_EQ (editor.getStatusBar().getMessage(), "Loading skin...");

    editor.timerUpdate();
    EXPECT_EQ (editor.skinsLoaded, 1);
    EXPECT_EQ (editor.getCurrentSkinName(), "C");
    EXPECT_TRUE (toolkit_test::ref (editor.getMainPanel()).isVisible());
    EXPECT_EQ (editor.getHeight(), 250 + 16);
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
    writePackage (skinsFolder, "Foreign", makeSkin (310, 210, "Another Plug-in"));
    const auto broken = makeSkin (320, 220);
    const auto archive = skin_testing::zipOf ({ { "Broken.md5", skin_testing::bytesOf ("0123456789abcdef0123456789abcdef") },
                                                { "Broken.skin", broken } });
    skinsFolder.getChildFile ("Broken.kyxskin").replaceWithData (archive.getData(), archive.getSize());

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
    writePackage (skinsFolder.getParentDirectory(), "Outside", makeSkin (310, 210));
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
    EXPECT_EQ (controls[0]->getBounds(), juce::Rectangle<int> (5, 30, 50, 80));
    EXPECT_EQ (controls[1]->getBounds(), juce::Rectangle<int> (69, 30, 50, 80));
    EXPECT_EQ (controls[2]->getBounds(), juce::Rectangle<int> (5, 150, 50, 80)) << "a new row after the second";
    EXPECT_EQ (dynamic_cast<GUIController&> (*controls[1]).getBoundParameter()->getId(), StubProcessor::switchId);

    // A control moved by the user shows its parameter like a skin's.
    dynamic_cast<GFXToggleButton&> (*controls[1]).triggerClick();
    testing_support::runPendingMessages();
    EXPECT_EQ (editor.getStatusBar().getMessage(), "Test Switch: " + processor->getParameterTextById (StubProcessor::switchId));
}
