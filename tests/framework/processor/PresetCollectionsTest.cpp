// The processor base's preset collections (select, save, the current
// preset's marks; stepping is seen through the editor's preset events) and
// its switches for products that keep presets as files: the state dump and
// debug mode.
#include "CollectionProduct.h"
#include "ProcessorTestSupport.h"

#include "framework/presets/XmlFiles.h"

namespace
{
class PresetCollectionsTest : public ProcessorTest, public BasePlugin::Listener
{
protected:
    juce::File writePreset (const juce::String& name, float level, const juce::String& extra = {})
    {
        const auto file = folder.getChildFile ("presets/" + name + ".xrprs");
        file.create();
        file.replaceWithText ("<Preset><param name=\"Bass Drum Level\" value=\"" + juce::String (level) + "\"/>" + extra + "</Preset>");
        return file;
    }

    void start (CollectionProduct::Switches switches = {})
    {
        product = CollectionProduct::create (folder.getChildFile ("presets"), switches);
        product->BasePlugin::addListener (this);
    }

    void currentPresetChanged (BasePlugin&) override { ++presetChanges; }
    float level() const { return product->getParameterManager().getValue (0); }

    std::unique_ptr<CollectionProduct> product;
    int presetChanges = 0;
};

TEST_F (PresetCollectionsTest, SelectingAFileAppliesItAndMakesItTheUnmodifiedCurrentPreset)
{
    const auto kick = writePreset ("Kick", 0.25f, "<ExtraData><Mine/></ExtraData>");
    writePreset ("Broken", 0.0f).replaceWithText ("<Pattern/>");
    start();
    auto& presets = product->getPresets();
    EXPECT_EQ (product->getPresetCollection ("Presets"), &presets);
    EXPECT_EQ (product->getPresetCollection ("Patterns"), nullptr);

    product->setPresetFlag (presets, true);
    product->setPresetModified (presets, true);
    ASSERT_TRUE (product->selectPresetFile (presets, kick));
    EXPECT_FLOAT_EQ (level(), 0.25f);
    EXPECT_EQ (product->loadedNames, juce::StringArray ({ "Kick" }));
    EXPECT_EQ (product->lastExtraData, "Mine");
    EXPECT_FALSE (product->getPresetFlag (presets));
    EXPECT_FALSE (product->isPresetModified (presets));
    EXPECT_EQ (product->getCurrentPresetFile (presets), kick);
    EXPECT_EQ (presetChanges, 1);

    // The current file again, a file holding no preset, nothing: no change.
    for (const auto& file : { kick, kick.getSiblingFile ("Broken.xrprs"), kick.getSiblingFile ("Gone.xrprs"), kick.getParentDirectory() })
        EXPECT_FALSE (product->selectPresetFile (presets, file)) << file.getFullPathName();
    EXPECT_EQ (presetChanges, 1);

    // Once changed, the current preset takes back what its file holds.
    product->getParameterManager().setValue (0, 0.5f);
    product->setPresetModified (presets, true);
    ASSERT_TRUE (product->selectPresetFile (presets, kick));
    EXPECT_FLOAT_EQ (level(), 0.25f);
}

TEST_F (PresetCollectionsTest, SavingWritesTheUsersOwnPresetAndMakesItCurrent)
{
    writePreset ("Kick", 0.25f);
    start();
    auto& presets = product->getPresets();
    product->setAuthorName ("Me");
    product->getParameterManager().setValue (0, 0.5f);
    product->setPresetModified (presets, true);

    const auto file = folder.getChildFile ("presets/Mine/Heavy.xrprs");
    ASSERT_TRUE (product->savePresetToFile (presets, file));
    EXPECT_EQ (product->getCurrentPresetFile (presets), file);
    EXPECT_FALSE (product->isPresetModified (presets));
    EXPECT_EQ (presets.indexOf (file), 1); // scanned again
    EXPECT_EQ (presetChanges, 1);

    const auto saved = xmlfiles::readDocument (file);
    EXPECT_EQ (saved->getStringAttribute ("author"), "Me");
    EXPECT_EQ (saved->getStringAttribute ("application"), "Collector");
    EXPECT_FALSE (saved->hasAttribute ("name") || saved->hasAttribute ("id"));
    EXPECT_EQ (saved->getChildByAttribute ("name", "Bass Drum Level")->getStringAttribute ("value"), "0.500000000");

    juce::MemoryOutputStream written;
    product->writePreset (presets, written);
    EXPECT_EQ (written.toString(), file.loadFileAsString());

    // A write that cannot happen keeps the current preset.
    EXPECT_FALSE (product->savePresetToFile (presets, folder.getChildFile ("presets/Kick.xrprs/Under.xrprs")));
    EXPECT_EQ (product->getCurrentPresetFile (presets), file);

    deliverMessages();
    EXPECT_EQ (product->scansHeard, 1); // the processor listens to its collections
}

TEST_F (PresetCollectionsTest, TheStateDumpKeepsTheLastStateGivenToTheHost)
{
    start ({ false, true });
    EXPECT_EQ (product->getStateDumpFile(), folder.getChildFile ("Kyxworks/Collector/Collector.dump"));
    product->getParameterManager().setValue (0, 0.125f);
    juce::MemoryBlock chunk;
    product->getStateInformation (chunk);

    start ({ false, true });
    EXPECT_FLOAT_EQ (level(), 0.125f);

    start();
    EXPECT_FLOAT_EQ (level(), 0.5f);
    product->getStateDumpFile().deleteFile();
    product->getStateInformation (chunk);
    EXPECT_FALSE (product->getStateDumpFile().exists());
}

TEST_F (PresetCollectionsTest, DebugModeAddsTwelveParametersAndEvents)
{
    for (const bool debug : { false, true })
    {
        start ({ debug, false });
        for (int i : { 0, BasePlugin::numDebugItems - 1 })
        {
            EXPECT_EQ (product->getParameterManager().getName (BasePlugin::firstDebugParameterId + i), debug ? "Debug Parameter " + juce::String (i) : "");
            EXPECT_EQ (product->getEventsMap().getName (BasePlugin::firstDebugEventId + i), debug ? "Debug Event " + juce::String (i) : "");
        }
    }

    // The processor listens to them as to every parameter (adding it again is refused).
    EXPECT_FALSE (product->getParameterManager().getParameter (BasePlugin::firstDebugParameterId)->addListener (product.get()));
}
} // namespace
