#include "ProcessorTestSupport.h"

#include "framework/presets/XmlFiles.h"
#include "framework/processor/SettingsMigration.h"

namespace
{
using UserSettings = ProcessorTest;

TEST_F (UserSettings, RoundTripThroughANewInstance)
{
    const auto bankFile = folder.getChildFile ("mine.xrprsb");
    const auto mapFile = folder.getChildFile ("mine.xrccmap");

    {
        auto product = makeProduct();
        EXPECT_EQ (product->getUserSettingsFile(), settingsFile());
        product->setPresetName (0, "From My Bank");
        ASSERT_TRUE (product->savePresetBankFile (bankFile));
        ASSERT_TRUE (product->getMidiControl().saveToFile (mapFile));

        product->setStoringMode (BasePluginOldStyle::automaticStoring);
        product->setPresetsResourceSetting (BasePluginOldStyle::userDefinedPresets);
        product->setUserPresetsFile (bankFile);
        product->setRecentlyUsedDirectory (folder);
        product->getMidiControl().setUseUserMap (true);
        product->getMidiControl().setUserMapFile (mapFile);
        ASSERT_TRUE (product->saveUserSettings());
    }

    const auto written = xmlfiles::readDocument (settingsFile());
    ASSERT_NE (written, nullptr);
    EXPECT_EQ (written->getTagName(), "UserSettings");
    EXPECT_EQ (written->getStringAttribute ("application"), "Pulsetta");
    const auto* presetSettings = written->getChildByName ("PresetSettings");
    ASSERT_NE (presetSettings, nullptr);
    EXPECT_EQ (presetSettings->getStringAttribute ("storing"), "automatic");
    EXPECT_FALSE (presetSettings->hasAttribute ("changing"));

    auto product = makeProduct();
    EXPECT_EQ (product->getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::userDefinedPresets);
    EXPECT_EQ (product->getUserPresetsFile(), bankFile);
    EXPECT_EQ (product->getRecentlyUsedDirectory(), folder);
    EXPECT_TRUE (product->getMidiControl().getUseUserMap());
    EXPECT_EQ (product->getMidiControl().getUserMapFile(), mapFile);
    EXPECT_EQ (product->getPresetName (0), "From My Bank");
}

TEST_F (UserSettings, AMissingUserBankFallsBackToTheFactoryBankAndClearPresetsToACleanOne)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    settingsFile().create();
    settingsFile().replaceWithText ("<UserSettings application=\"Pulsetta\"><ResourcesSettings><Presets default=\"userDefinedPresets\" file=\""
                                    + folder.getChildFile ("gone.xrprsb").getFullPathName() + "\"/></ResourcesSettings></UserSettings>");
    {
        auto product = makeProduct();
        EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::userDefinedPresets);
        EXPECT_EQ (product->getPresetName (14), factory->getPresetName (14));
        EXPECT_EQ (product->getGroupSize (0), 15);
    }

    settingsFile().replaceWithText ("<UserSettings application=\"Pulsetta\"><ResourcesSettings><Presets default=\"CLEARPRESETS\"/>"
                                    "</ResourcesSettings></UserSettings>");
    auto product = makeProduct();
    EXPECT_EQ (product->getPresetName (0), "Preset 0");
    EXPECT_EQ (product->getNumGroups(), 1);
}

TEST_F (UserSettings, ForeignAndUnknownSettingsAreIgnored)
{
    settingsFile().create();
    settingsFile().replaceWithText ("<UserSettings application=\"Other\"><PresetSettings storing=\"automatic\"/></UserSettings>");
    EXPECT_EQ (makeProduct()->getStoringMode(), BasePluginOldStyle::storingOnDemand);

    settingsFile().replaceWithText ("<UserSettings application=\"Pulsetta\"><PresetSettings storing=\"Automatic\"/>"
                                    "<ResourcesSettings><Presets default=\"somethingElse\"/></ResourcesSettings>"
                                    "<PluginDirectories><RecentlyUsed dir=\"relative/path\"/></PluginDirectories></UserSettings>");
    auto product = makeProduct();
    EXPECT_EQ (product->getStoringMode(), BasePluginOldStyle::storingOnDemand);
    EXPECT_EQ (product->getPresetsResourceSetting(), BasePluginOldStyle::factoryPresets);
    EXPECT_EQ (product->getRecentlyUsedDirectory(), juce::File::getSpecialLocation (juce::File::userHomeDirectory));
}

TEST_F (UserSettings, AnUnreadableFileIsKeptAsideNeverReplacedSilently)
{
    const juce::String truncated = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<UserSettings application=\"Pulsetta\"><Presets><Author name=\"Jane\"/></Presets>"
                                   "<MidiControlMap default=\"yes\" file=\"/home/jane/my.xrcc";
    const auto firstCopy = settingsFile().getSiblingFile ("Pulsetta.ini.unreadable");
    const auto secondCopy = settingsFile().getSiblingFile ("Pulsetta.ini.unreadable-2");

    settingsFile().create();
    settingsFile().replaceWithText (truncated);
    const auto original = settingsFile().loadFileAsString();
    {
        auto product = makeProduct();
        EXPECT_EQ (product->getAuthorName(), "") << "nothing read from a broken file";
        EXPECT_TRUE (product->saveUserSettings());
        EXPECT_EQ (product->getUnreadableSettingsCopy(), firstCopy);
    }

    EXPECT_EQ (firstCopy.loadFileAsString(), original) << "the user's file, byte for byte";
    const auto written = xmlfiles::readDocument (settingsFile());
    ASSERT_NE (written, nullptr);
    EXPECT_TRUE (written->hasTagName ("UserSettings"));

    // A good file written since is read and rewritten in place, with no copy.
    {
        auto product = makeProduct();
        EXPECT_TRUE (product->saveUserSettings());
        EXPECT_EQ (product->getUnreadableSettingsCopy(), juce::File());
    }
    EXPECT_FALSE (secondCopy.exists());

    // Another program's document, then closing without an explicit save: the
    // destructor's save keeps it too, and the first copy stays as it was.
    const juce::String foreign = "<UserSettings application=\"Other\"><Presets><Author name=\"Ann\"/></Presets></UserSettings>";
    settingsFile().replaceWithText (foreign);
    const auto originalForeign = settingsFile().loadFileAsString();
    makeProduct().reset();
    EXPECT_EQ (secondCopy.loadFileAsString(), originalForeign);
    EXPECT_EQ (firstCopy.loadFileAsString(), original);
    EXPECT_NE (xmlfiles::readDocument (settingsFile()), nullptr);
}

TEST_F (UserSettings, AFileRepairedBeforeClosingIsRewrittenWithoutACopy)
{
    settingsFile().create();
    settingsFile().replaceWithText ("<UserSettings application=\"Pulsetta\"><Pres");
    {
        auto product = makeProduct();
        // Another instance writes a good file meanwhile.
        settingsFile().replaceWithText ("<UserSettings application=\"Pulsetta\"/>");
    }
    EXPECT_FALSE (settingsFile().getSiblingFile ("Pulsetta.ini.unreadable").exists());
    EXPECT_NE (xmlfiles::readDocument (settingsFile()), nullptr);
}

TEST_F (UserSettings, AnInstanceClosedLaterWithoutChangesKeepsAnotherInstancesChange)
{
    const auto otherFolder = folder.getChildFile ("elsewhere");
    ASSERT_TRUE (otherFolder.createDirectory());

    for (const bool fileAtStart : { false, true })
    {
        settingsFile().deleteFile();
        if (fileAtStart)
        {
            auto first = makeProduct();
            first->setRecentlyUsedDirectory (folder);
        }
        ASSERT_EQ (settingsFile().exists(), fileAtStart);

        auto a = makeProduct();
        auto b = makeProduct();
        a->setRecentlyUsedDirectory (otherFolder);
        a.reset(); // closes, writing its change
        const auto writtenByA = settingsFile().loadFileAsString();
        b.reset(); // unchanged: writes nothing
        EXPECT_EQ (settingsFile().loadFileAsString(), writtenByA) << fileAtStart;
        EXPECT_EQ (makeProduct()->getRecentlyUsedDirectory(), otherFolder) << fileAtStart;
    }

    // A change made after the instance's own last save is still written.
    auto c = makeProduct();
    ASSERT_TRUE (c->saveUserSettings());
    c->setRecentlyUsedDirectory (folder);
    c.reset();
    EXPECT_EQ (makeProduct()->getRecentlyUsedDirectory(), folder);
}

TEST_F (UserSettings, MigrationCopiesOnlyWhenNoCurrentFileExists)
{
    const auto oldFile = folder.getChildFile ("module/Pulsetta.ini");
    const auto newFile = folder.getChildFile ("user/Kyxworks/Pulsetta/Pulsetta.ini");
    oldFile.create();
    oldFile.replaceWithText ("old settings");

    EXPECT_TRUE (migrateSettingsFile (oldFile, newFile));
    EXPECT_EQ (newFile.loadFileAsString(), "old settings");
    EXPECT_FALSE (oldFile.exists());

    // An old file that could not be deleted never again replaces newer settings.
    oldFile.replaceWithText ("stale settings");
    newFile.replaceWithText ("newer settings");
    EXPECT_FALSE (migrateSettingsFile (oldFile, newFile));
    EXPECT_EQ (newFile.loadFileAsString(), "newer settings");
    EXPECT_TRUE (oldFile.exists());

    EXPECT_FALSE (migrateSettingsFile (newFile, newFile));
    EXPECT_FALSE (migrateSettingsFile (folder.getChildFile ("nothing.ini"), folder.getChildFile ("fresh.ini")));
    EXPECT_FALSE (folder.getChildFile ("fresh.ini").exists());
}

TEST_F (UserSettings, AFailedWriteIsReported)
{
    folder.getChildFile ("Kyxworks").replaceWithText ("a file where the folder should be");
    auto product = makeProduct();
    product->setRecentlyUsedDirectory (folder); // something to write
    EXPECT_FALSE (product->saveUserSettings());
}
} // namespace
