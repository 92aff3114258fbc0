#include "PresetTestSupport.h"
#include "support/MessageLoop.h"

#include "framework/presets/PresetCollection.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

namespace
{
struct ScanCounter : PresetCollection::Listener
{
    void presetCollectionChanged (PresetCollection&) override { ++scans; }
    int scans = 0;
};

// A collection over a temporary tree, on this thread as the message thread.
class PresetCollectionTest : public ::testing::Test
{
protected:
    juce::File write (const juce::String& path, const juce::String& text = "<Preset/>")
    {
        const auto file = temp.file (path);
        file.create();
        file.replaceWithText (text);
        return file;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    TemporaryFolder temp;
    PresetCollection presets { "Presets", temp.folder, ".xxprs" };
};

TEST_F (PresetCollectionTest, ScanListsTheTreeInNaturalOrderEachNameOnce)
{
    for (auto* path : { "Kit 10.xxprs", "Kit 2.xxprs", "kit 2.xxprs", "A.XXPRS", "notes.txt", ".hidden.xxprs",
                        "Sub/B.xxprs", "Sub/Deeper/C.xxprs" })
        write (path);
    temp.file ("Empty").createDirectory();
    temp.folder.createSymbolicLink (temp.file ("Sub/Loop"), true); // a link back up is not followed round

    presets.scan();

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
    EXPECT_EQ (presets.getDisplayPath (-1), "");
    EXPECT_EQ (presets.indexOf (temp.file ("notes.txt")), -1);

    juce::StringArray folders;
    for (int i = 0; i < presets.getNumFolders(); ++i)
        folders.add (presets.getFolderPath (i));
    EXPECT_EQ (folders, juce::StringArray ({ "Empty", "Sub", "Sub/Deeper", "Sub/Loop" }));
    EXPECT_EQ (presets.getRootFolder().folders.at (1)->presetFileNames, juce::StringArray ({ "B.xxprs" }));
}

TEST_F (PresetCollectionTest, ListenersHearOfAScanFromTheMessageLoop)
{
    ScanCounter first, second;
    presets.addListener (&first);
    presets.addListener (&first);
    presets.addListener (nullptr);
    presets.addListener (&second);

    presets.scan();
    presets.scan();
    EXPECT_EQ (first.scans, 0);
    testing_support::runPendingMessages();
    EXPECT_EQ (first.scans, 1);
    EXPECT_EQ (second.scans, 1);

    presets.removeListener (&second);
    presets.scan();
    testing_support::runPendingMessages();
    EXPECT_EQ (first.scans, 2);
    EXPECT_EQ (second.scans, 1);
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
    EXPECT_EQ (preset->getFile(), kick);

    kick.replaceWithText ("<Preset author=\"B\"/>");
    EXPECT_EQ (presets.getPreset (1, productParameters()), preset);
    EXPECT_EQ (presets.getPreset (0, productParameters()), nullptr); // holds no preset
    EXPECT_EQ (presets.getPreset (2, productParameters()), nullptr);

    presets.scan();
    EXPECT_EQ (presets.getPreset (1, productParameters())->getAuthor(), "B");
}

TEST_F (PresetCollectionTest, StepsWrapRoundAtEitherEnd)
{
    PresetCollection empty { "Empty", temp.file ("none"), ".xxprs" };
    empty.scan();
    EXPECT_EQ (empty.getAdjacentPresetFile ({}, 1), juce::File());

    for (auto* path : { "1.xxprs", "2.xxprs", "3.xxprs" })
        write (path);
    presets.scan();

    const struct
    {
        const char* from; // empty: a file not in the list
        int direction;
        const char* to;
    } steps[] = { { "1.xxprs", 1, "2.xxprs" }, { "3.xxprs", 1, "1.xxprs" }, { "1.xxprs", -1, "3.xxprs" },
                  { "", 1, "1.xxprs" },        { "", -1, "3.xxprs" } };

    for (const auto& step : steps)
        EXPECT_EQ (presets.getAdjacentPresetFile (*step.from != 0 ? temp.file (step.from) : juce::File(), step.direction),
                   temp.file (step.to))
            << step.from << " " << step.direction;
}
} // namespace
