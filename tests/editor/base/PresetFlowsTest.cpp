// The editor's preset events on a product that keeps its presets in a
// collection: stepping, the save-changes and overwrite questions, save as
// through the (scripted) dialog, failures told; and the framework's pages.
#include "editor/base/BasePluginEditor.h"
#include "editor/pages/FrameworkPagesTestKit.h"
#include "framework/presets/XmlFiles.h"
#include "support/ReadOnlyFolder.h"

namespace
{
// The test product with the framework's editor, and a collection that can
// go away while a question is open.
class EditedProduct : public CollectionProduct
{
public:
    using CollectionProduct::CollectionProduct;

    std::unique_ptr<juce::Component> createEditorComponent() override { return std::make_unique<BasePluginEditor> (*this); }

    int getNumPresetCollections() const override { return collectionGone ? 0 : CollectionProduct::getNumPresetCollections(); }
    PresetCollection* getPresetCollection (int index) const override
    {
        return collectionGone ? nullptr : CollectionProduct::getPresetCollection (index);
    }
    using BasePlugin::getPresetCollection;

    BasePluginEditor& editor() { return toolkit_test::ref (dynamic_cast<BasePluginEditor*> (getPersistentEditor())); }

    bool collectionGone = false;
};

class PresetFlowsTest : public pages_test::FrameworkPageTest
{
protected:
    PresetFlowsTest() { start(); }

    // The presets A, B and C, then the product that scans them at start-up.
    void start (CollectionProduct::Switches switches = {})
    {
        for (const auto& [name, level] : { std::pair ("A", 0.2f), { "B", 0.4f }, { "C", 0.6f } })
            writePreset (name, level);
        product.reset (static_cast<CollectionProduct*> (BasePlugin::startUp (std::make_unique<EditedProduct> (presetsFolder(), switches))));
        desktop.addAndMakeVisible (editor());
        testing_support::runPendingMessages();
    }

    EditedProduct& edited() { return static_cast<EditedProduct&> (*product); }
    BasePluginEditor& editor() { return edited().editor(); }
    PresetCollection& presets() { return product->getPresets(); }
    juce::File preset (const juce::String& name) const { return presetsFolder().getChildFile (name + ".xrprs"); }
    juce::File current() { return product->getCurrentPresetFile (presets()); }

    void fire (int eventId)
    {
        editor().controllerEventFired (nullptr, eventId);
        testing_support::runPendingMessages();
    }

    // The level (first parameter) as a preset stores it.
    juce::String levelText (float normalised)
    {
        auto& parameters = product->getParameterManager();
        const auto before = parameters.getNormalised (0);
        parameters.setNormalised (0, normalised);
        const auto text = parameters.toString (0);
        parameters.setNormalised (0, before);
        return text;
    }

    void writePreset (const juce::String& name, float level)
    {
        presetsFolder().createDirectory();
        preset (name).replaceWithText ("<Preset><param name=\"Bass Drum Level\" value=\"" + levelText (level) + "\"/></Preset>");
    }

    juce::String storedLevel (const juce::File& file)
    {
        const auto document = xmlfiles::readDocument (file);
        auto* param = document != nullptr ? document->getChildByName ("param") : nullptr;
        return param != nullptr ? param->getStringAttribute ("value") : juce::String();
    }

    // Starts at B and changes the level, so that the preset is modified.
    void changeB (float level)
    {
        product->selectPresetFile (presets(), preset ("B"));
        product->getParameterManager().setNormalised (0, level);
        product->setPresetModified (presets(), true);
    }

    juce::String shownMessage()
    {
        auto* alert = findShownAlert();
        return alert != nullptr ? alert->getMessage() : juce::String();
    }
};

TEST_F (PresetFlowsTest, NextAndPreviousStepAnUnchangedPresetRoundTheCollection)
{
    const struct
    {
        int eventId;
        const char* from;
        const char* to;
    } cases[] = { { BasePlugin::selectNextPresetCommand, "B", "C" },
                  { BasePlugin::selectNextPresetCommand, "C", "A" },
                  { BasePlugin::selectPreviousPresetCommand, "B", "A" },
                  { BasePlugin::selectPreviousPresetCommand, "A", "C" } };

    for (const auto& c : cases)
    {
        product->selectPresetFile (presets(), preset (c.from));
        fire (c.eventId);
        EXPECT_EQ (current(), preset (c.to)) << c.from << " " << c.eventId;
        EXPECT_EQ (product->getParameterManager().toString (0), storedLevel (preset (c.to)));
        EXPECT_EQ (findShownAlert(), nullptr);
    }
}

TEST_F (PresetFlowsTest, AChangedPresetAsksFirstAndEachAnswerDoesWhatItSays)
{
    const struct
    {
        const char* answer;
        const char* currentAfter;
        bool bKeepsItsLevel;
    } cases[] = { { "Discard", "C", true }, { "Overwrite", "B", false }, { "Save as", "Mine", true } };

    for (const auto& c : cases)
    {
        writePreset ("B", 0.4f);
        const auto storedB = storedLevel (preset ("B"));
        changeB (0.9f);
        if (juce::String (c.answer) == "Save as")
            desktop.choose (presetsFolder().getChildFile ("Mine"));

        fire (BasePlugin::selectNextPresetCommand);
        auto& alert = toolkit_test::ref (findShownAlert());
        EXPECT_EQ (alert.getTitle(), "Collector");
        EXPECT_EQ (alert.getMessage(), "Changes have been made to current preset. Do you want to save them or discard?");
        EXPECT_EQ (current(), preset ("B")) << "nothing before the answer";

        answer (c.answer);
        EXPECT_EQ (current(), preset (c.currentAfter)) << c.answer;
        EXPECT_FALSE (product->isPresetModified (presets())) << c.answer;
        EXPECT_EQ (storedLevel (preset ("B")) == storedB, c.bKeepsItsLevel) << c.answer;
        EXPECT_EQ (findShownAlert(), nullptr) << c.answer;
    }

    EXPECT_EQ (storedLevel (preset ("Mine")), levelText (0.9f));
    EXPECT_GE (presets().indexOf (preset ("Mine")), 0) << "the collection was read again";
    EXPECT_EQ (desktop.requests.size(), 1u) << "only Save as asks for a file";
}

TEST_F (PresetFlowsTest, SavingOverTheCurrentFileAsksFirst)
{
    for (const auto* answerGiven : { "Cancel", "Yes" })
    {
        changeB (0.9f);
        fire (BasePlugin::savePresetCommand);
        EXPECT_EQ (shownMessage(), "Do you want to overwrite preset 'B.xrprs' ?");

        answer (answerGiven);
        const bool yes = juce::String (answerGiven) == "Yes";
        EXPECT_EQ (storedLevel (preset ("B")) == levelText (0.9f), yes) << answerGiven;
        EXPECT_EQ (product->isPresetModified (presets()), ! yes) << answerGiven;
    }
    EXPECT_TRUE (desktop.requests.empty());
}

// "Save preset as", and "Save preset" while no file is current, ask for a
// file in the collection's folder and give it the collection's extension.
TEST_F (PresetFlowsTest, SaveAsWritesTheChosenNameAsTheCurrentPreset)
{
    for (const int eventId : { BasePlugin::savePresetAsCommand, BasePlugin::savePresetCommand })
    {
        product->setCurrentPresetFile (presets(), {});
        const auto name = "Fresh" + juce::String (eventId);
        desktop.choose (presetsFolder().getChildFile (name));
        fire (eventId);

        EXPECT_EQ (current(), preset (name)) << eventId;
        EXPECT_EQ (storedLevel (preset (name)), product->getParameterManager().toString (0));
        EXPECT_GE (presets().indexOf (preset (name)), 0);
    }

    const auto& request = desktop.requests.front();
    EXPECT_EQ (request.title, "Save current preset");
    EXPECT_EQ (request.start, presetsFolder());
    EXPECT_EQ (request.filter, "*.xrprs");

    fire (BasePlugin::savePresetAsCommand); // cancelled
    EXPECT_EQ (current(), preset ("Fresh" + juce::String (BasePlugin::savePresetCommand)));
}

TEST_F (PresetFlowsTest, AFailedWriteIsToldAndLeavesTheFileAsItWas)
{
    changeB (0.9f);
    const auto storedB = storedLevel (preset ("B"));
    {
        const testing_support::ScopedReadOnlyFolder locked (presetsFolder());
        fire (BasePlugin::savePresetCommand);
        answer ("Yes");
    }
    EXPECT_EQ (shownMessage(), "Could not write '" + preset ("B").getFullPathName() + "'.");
    EXPECT_EQ (storedLevel (preset ("B")), storedB);
    EXPECT_TRUE (product->isPresetModified (presets()));
    answer ("OK");

    // Save as into a folder that is not there: told by the saver.
    const auto nowhere = file ("missing/Mine.xrprs");
    desktop.choose (nowhere);
    fire (BasePlugin::savePresetAsCommand);
    EXPECT_EQ (shownMessage(), "Could not write '" + nowhere.getFullPathName() + "'.");
    EXPECT_EQ (current(), preset ("B"));
    EXPECT_FALSE (nowhere.exists());
}

TEST_F (PresetFlowsTest, WithoutACollectionTheEventsDoNothing)
{
    start ({ false, false, true });
    for (int eventId = BasePlugin::selectNextPresetCommand; eventId <= BasePlugin::savePresetAsCommand; ++eventId)
        fire (eventId);

    EXPECT_EQ (findShownAlert(), nullptr);
    EXPECT_TRUE (desktop.requests.empty());
}

TEST_F (PresetFlowsTest, AnAnswerAfterTheCollectionHasGoneDoesNothing)
{
    const struct
    {
        int eventId;
        const char* answer;
    } cases[] = { { BasePlugin::selectNextPresetCommand, "Discard" },
                  { BasePlugin::selectNextPresetCommand, "Overwrite" },
                  { BasePlugin::savePresetCommand, "Yes" } };

    for (const auto& c : cases)
    {
        edited().collectionGone = false;
        changeB (0.9f);
        const auto storedB = storedLevel (preset ("B"));
        fire (c.eventId);
        edited().collectionGone = true;
        answer (c.answer);

        EXPECT_EQ (presets().getCurrentFile(), preset ("B")) << c.answer;
        EXPECT_EQ (storedLevel (preset ("B")), storedB) << c.answer;
        EXPECT_EQ (findShownAlert(), nullptr) << c.answer;
    }
}

// The "Parameters" and "Presets" pages are built in every editor (the
// product's: see the editor's own tests); a product that is not a drum
// machine shows them after its "Processing" page.
TEST_F (PresetFlowsTest, TheFrameworkPagesAreTabsOfAProductThatIsNotADrumMachine)
{
    auto& tabs = editor().getOptionsWindow().getTabs();
    EXPECT_EQ (tabs.getTabNames(), juce::StringArray ({ "Processing", "Presets", "Parameters", "Midi Control" }));
    EXPECT_EQ (tabs.getTabContentComponent (1), &editor().getPresetsSettingsPage());
    EXPECT_EQ (tabs.getTabContentComponent (2), &editor().getHostParametersPage());
    EXPECT_EQ (tabs.getTabBackgroundColour (2), juce::Colour (BasePluginEditor::tabColour));
    EXPECT_EQ (editor().getHostParametersPage().getDefaultMapCheckBox().getPathComponent().getPath(),
               product->getUserDataFolder().getChildFile ("default.xrhpmap").getFullPathName());
}
} // namespace
