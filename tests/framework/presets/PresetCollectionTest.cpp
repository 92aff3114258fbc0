#include "PresetTestSupport.h"
#include "support/MessageLoop.h"

#include "framework/presets/PresetCollection.h"

#include <gtest/gtest.h>

namespace
{
// A collection over a temporary tree, on this thread as the message thread.
class PresetCollectionTest : public ::testing::Test, public PresetCollection::Listener
{
protected:
    juce::File write (const juce::String& path, const juce::String& text = "<Preset/>")
    {
        temp.file (path).create();
        temp.file (path).replaceWithText (text);
        return temp.file (path);
    }

    void presetCollectionChanged (PresetCollection&) override { ++scansHeard; }

    juce::ScopedJuceInitialiser_GUI juce;
    TemporaryFolder temp;
    PresetCollection presets { "Presets", temp.folder, ".xxprs" };
    int scansHeard = 0;
};

TEST_F (PresetCollectionTest, ScanListsTheTreeInNaturalOrderEachNameOnce)
{
    for (auto* path : { "Kit 10.xxprs", "Kit 2.xxprs", "kit 2.xxprs", "A.XXPRS", "notes.txt", ".hidden.xxprs", "Sub/B.xxprs", "Sub/Deeper/C.xxprs" })
        write (path);
    temp.file ("Empty").createDirectory();
    temp.folder.createSymbolicLink (temp.file ("Sub/Loop"), true); // a link back up is not followed round
    presets.addListener (this);

    presets.scan();
    EXPECT_EQ (scansHeard, 0);
    testing_support::runPendingMessages();
    EXPECT_EQ (scansHeard, 1);

    const juce::StringArray expected { "A.XXPRS", "Kit 2.xxprs", "Kit 10.xxprs", "Sub/B.xxprs", "Sub/Deeper/C.xxprs" };
    ASSERT_EQ (presets.getNumPresets(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (presets.getPresetPath (i), expected[i]);
        EXPECT_EQ (presets.indexOf (temp.file (expected[i])), i);
    }
    EXPECT_EQ (presets.getPresetFile (3), temp.file ("Sub/B.xxprs"));
    EXPECT_EQ (presets.getDisplayPath (3), "Presets/Sub/B.xxprs");
    EXPECT_EQ (presets.getPresetFile (5), juce::File());

    juce::StringArray folders;
    for (int i = 0; i < presets.getNumFolders(); ++i)
        folders.add (presets.getFolderPath (i));
    EXPECT_EQ (folders, juce::StringArray ({ "Empty", "Sub", "Sub/Deeper", "Sub/Loop" }));
    presets.removeListener (this);
}

TEST_F (PresetCollectionTest, GetPresetLoadsOnceUntilTheNextScan)
{
    const auto kick = write ("Kick.xxprs", "<Preset author=\"A\"><param name=\"Bass Drum Level\" value=\"0.25\"/></Preset>");
    write ("Broken.xxprs", "<Pattern/>");
    presets.scan();

    const auto* preset = presets.getPreset (1, productParameters());
    ASSERT_NE (preset, nullptr);
    EXPECT_EQ (preset->getName(), "Kick");
    EXPECT_EQ (preset->getNumEntries(), 1);

    kick.replaceWithText ("<Preset author=\"B\"/>");
    EXPECT_EQ (presets.getPreset (1, productParameters()), preset);
    EXPECT_EQ (presets.getPreset (0, productParameters()), nullptr); // holds no preset
    EXPECT_EQ (presets.getPreset (2, productParameters()), nullptr);
    presets.scan();
    EXPECT_EQ (presets.getPreset (1, productParameters())->getAuthor(), "B");
}

TEST_F (PresetCollectionTest, StepsWrapRoundAtEitherEnd)
{
    EXPECT_EQ (presets.getAdjacentPresetFile ({}, 1), juce::File()); // nothing scanned

    for (auto* path : { "1.xxprs", "2.xxprs", "3.xxprs" })
        write (path);
    presets.scan();

    const struct { const char* from; int direction; const char* to; } steps[] = {
        { "1.xxprs", 1, "2.xxprs" }, { "3.xxprs", 1, "1.xxprs" }, { "1.xxprs", -1, "3.xxprs" },
        { "", 1, "1.xxprs" },        { "", -1, "3.xxprs" } // from a file not in the list
    };
    for (const auto& step : steps)
        EXPECT_EQ (presets.getAdjacentPresetFile (*step.from != 0 ? temp.file (step.from) : juce::File(), step.direction),
                   temp.file (step.to)) << step.from << " " << step.direction;
}
} // namespace
