// The editor's preset events on a product that keeps its presets in a
// collection: stepping, the save-changes and overwrite questions, save as
// through the (scripted) dialog, failures told; and the framework's pages.
#include "EditorTestSupport.h"

#include "editor/base/BasePluginEditor.h"
#include "editor/pages/FrameworkPagesTestKit.h"
#include "framework/presets/XmlFiles.h"
#include "support/ReadOnlyFolder.h"

namespace
{
constexpr int next = BasePlugin::selectNextPresetCommand, previous = BasePlugin::selectPreviousPresetCommand;
constexpr int save = BasePlugin::savePresetCommand, saveAs = BasePlugin::savePresetAsCommand;

// The test product with the framework's editor.
class EditedProduct : public editor_testing::WithPersistentEditor<CollectionProduct, BasePluginEditor>
{
public:
    using WithPersistentEditor::WithPersistentEditor;
    std::unique_ptr<juce::Component> createEditorComponent() override { return std::make_unique<BasePluginEditor> (*this); }
};

class PresetFlowsTest : public pages_test::FrameworkPageTest
{
protected:
    // The presets A, B and C, each with its own level (the first parameter),
    // then the product that scans them at start-up.
    PresetFlowsTest()
    {
        for (const auto& [name, level] : { std::pair ("A", 0.2f), { "B", 0.4f }, { "C", 0.6f } })
        {
            product->getParameterManager().setNormalised (0, level);
            product->savePresetToFile (presets(), preset (name));
        }
        product.reset (static_cast<CollectionProduct*> (BasePlugin::startUp (std::make_unique<EditedProduct> (presetsFolder()))));
        desktop.addAndMakeVisible (editor());
    }

    BasePluginEditor& editor() { return static_cast<EditedProduct&> (*product).editor(); }
    PresetCollection& presets() { return product->getPresets(); }
    juce::File preset (const juce::String& name) const { return presetsFolder().getChildFile (name + ".xrprs"); }
    juce::File current() { return presets().getCurrentFile(); }
    juce::String level() { return product->getParameterManager().toString (0); }

    static juce::String storedLevel (const juce::File& file)
    {
        const auto document = xmlfiles::readDocument (file);
        auto* param = document != nullptr ? document->getChildByName ("param") : nullptr;
        return param != nullptr ? param->getStringAttribute ("value") : juce::String();
    }

    void fire (int eventId)
    {
        editor().controllerEventFired (nullptr, eventId);
        testing_support::runPendingMessages();
    }

    // B, freshly loaded, then changed.
    void changeB()
    {
        product->selectPresetFile (presets(), preset ("A"));
        product->selectPresetFile (presets(), preset ("B"));
        product->getParameterManager().setNormalised (0, 0.9f);
        product->setPresetModified (presets(), true);
    }

    juce::String shownMessage()
    {
        auto* alert = shownAlert();
        return alert != nullptr ? alert->getMessage() : juce::String();
    }
};

TEST_F (PresetFlowsTest, NextAndPreviousStepAnUnchangedPresetRoundTheCollection)
{
    const struct
    {
        int eventId;
        const char *from, *to;
    } cases[] = { { next, "B", "C" }, { next, "C", "A" }, { previous, "B", "A" }, { previous, "A", "C" } };

    for (const auto& c : cases)
    {
        product->selectPresetFile (presets(), preset (c.from));
        fire (c.eventId);
        EXPECT_EQ (current(), preset (c.to)) << c.from << " " << c.eventId;
        EXPECT_EQ (level(), storedLevel (preset (c.to)));
    }
    EXPECT_EQ (shownAlert(), nullptr);
}

TEST_F (PresetFlowsTest, AChangedPresetAsksFirstAndEachAnswerDoesWhatItSays)
{
    const struct
    {
        const char* answer;
        const char* currentAfter;
        bool changesWrittenToB;
    } cases[] = { { "Discard", "C", false }, { "Overwrite", "B", true }, { "Save as", "Mine", false } };
    const auto originalB = preset ("B").loadFileAsString();

    for (const auto& c : cases)
    {
        preset ("B").replaceWithText (originalB);
        changeB();
        desktop.choose (presetsFolder().getChildFile ("Mine")); // the answer to Save as's dialog; the others leave it

        fire (next);
        auto& alert = toolkit_test::ref (shownAlert());
        EXPECT_EQ (alert.getTitle(), "Collector");
        EXPECT_EQ (alert.getMessage(), "Changes have been made to current preset. Do you want to save them or discard?");
        EXPECT_EQ (current(), preset ("B")) << "nothing before the answer";

        const auto changed = level();
        answer (c.answer);
        EXPECT_EQ (current(), preset (c.currentAfter)) << c.answer;
        EXPECT_FALSE (product->isPresetModified (presets())) << c.answer;
        EXPECT_EQ (storedLevel (preset ("B")) == changed, c.changesWrittenToB) << c.answer;
        EXPECT_EQ (storedLevel (preset (c.currentAfter)), level()) << c.answer;
        EXPECT_EQ (shownAlert(), nullptr) << c.answer;
    }
    EXPECT_GE (presets().indexOf (preset ("Mine")), 0) << "the collection was read again";
}

TEST_F (PresetFlowsTest, SavingOverTheCurrentFileAsksFirst)
{
    for (const juce::String answerGiven : { "Cancel", "Yes" })
    {
        changeB();
        fire (save);
        EXPECT_EQ (shownMessage(), "Do you want to overwrite preset 'B.xrprs' ?");

        answer (answerGiven);
        EXPECT_EQ (storedLevel (preset ("B")) == level(), answerGiven == "Yes") << answerGiven;
        EXPECT_EQ (product->isPresetModified (presets()), answerGiven != "Yes") << answerGiven;
    }
    EXPECT_TRUE (desktop.requests.empty());
}

// "Save preset as", and "Save preset" while no file is current, ask for a
// file in the collection's folder and give it the collection's extension.
TEST_F (PresetFlowsTest, SaveAsWritesTheChosenNameAsTheCurrentPreset)
{
    for (const juce::String name : { "Fresh", "Fresher" })
    {
        product->setCurrentPresetFile (presets(), {});
        desktop.choose (presetsFolder().getChildFile (name));
        fire (name == "Fresh" ? saveAs : save);

        EXPECT_EQ (current(), preset (name));
        EXPECT_EQ (storedLevel (preset (name)), level());
        EXPECT_GE (presets().indexOf (preset (name)), 0);
    }

    const auto& request = desktop.requests.front();
    EXPECT_EQ (request.title, "Save current preset");
    EXPECT_EQ (request.start, presetsFolder());
    EXPECT_EQ (request.filter, "*.xrprs");

    fire (saveAs); // cancelled
    EXPECT_EQ (current(), preset ("Fresher"));
    EXPECT_EQ (desktop.requests.back().start, preset ("Fresher")) << "the current preset's name is proposed";
}

// Overwriting the current file, and saving as a name that the collection's
// extension turns into that file (asked about first), in a folder that
// cannot be written.
TEST_F (PresetFlowsTest, AFailedWriteIsToldAndLeavesTheFileAsItWas)
{
    changeB();
    const auto storedB = storedLevel (preset ("B"));
    const auto told = "Could not write '" + preset ("B").getFullPathName() + "'.";
    const testing_support::ScopedReadOnlyFolder locked (presetsFolder());

    fire (save);
    answer ("Yes");
    EXPECT_EQ (shownMessage(), told);
    answer ("OK");

    desktop.choose (presetsFolder().getChildFile ("B"));
    fire (saveAs);
    EXPECT_EQ (shownMessage(), "Do you want to overwrite 'B.xrprs' ?");
    answer ("Yes");
    EXPECT_EQ (shownMessage(), told);

    EXPECT_EQ (storedLevel (preset ("B")), storedB);
    EXPECT_TRUE (product->isPresetModified (presets()));
    EXPECT_EQ (current(), preset ("B"));
}

// Questions asked while the collection was there and answered after it went,
// then every preset event without it.
TEST_F (PresetFlowsTest, WithoutTheCollectionEventsAndAnswersDoNothing)
{
    const auto storedB = storedLevel (preset ("B"));

    for (const auto& [eventId, answerGiven] : { std::pair (next, "Discard"), { next, "Overwrite" }, { save, "Yes" } })
    {
        product->switches.noCollection = false;
        changeB();
        fire (eventId);
        product->switches.noCollection = true;
        answer (answerGiven);

        EXPECT_EQ (current(), preset ("B")) << answerGiven;
        EXPECT_EQ (storedLevel (preset ("B")), storedB) << answerGiven;
    }

    for (int eventId = next; eventId <= saveAs; ++eventId)
        fire (eventId);
    EXPECT_EQ (shownAlert(), nullptr);
    EXPECT_TRUE (desktop.requests.empty());
}

// Built in every editor (the product's own: see its editor's tests), the
// "Presets" and "Parameters" pages are tabs of a product that is not a drum
// machine (their order: see the skin selection tests).
TEST_F (PresetFlowsTest, TheFrameworkPagesAreTabsOfAProductThatIsNotADrumMachine)
{
    auto& tabs = editor().getOptionsWindow().getTabs();
    EXPECT_EQ (tabs.getTabContentComponent (tabs.getTabNames().indexOf ("Presets")), &editor().getPresetsSettingsPage());
    EXPECT_EQ (tabs.getTabContentComponent (tabs.getTabNames().indexOf ("Parameters")), &editor().getHostParametersPage());
    EXPECT_EQ (editor().getHostParametersPage().getDefaultMapCheckBox().getPathComponent().getPath(),
               product->getUserDataFolder().getChildFile ("default.xrhpmap").getFullPathName());
}
} // namespace
