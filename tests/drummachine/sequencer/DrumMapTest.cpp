#include <gtest/gtest.h>

#include "drummachine/sequencer/DrumMap.h"
#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

namespace
{
struct DrumMapTest : ::testing::Test
{
    DrumMap map { "Pulsetta", "XR" };
};
} // namespace

TEST_F (DrumMapTest, DefaultMapHasTheSeventeenGeneralMidiKeys)
{
    ASSERT_TRUE (map.loadDrumMapResource ("default.xrdrmap"));
    const struct { int key, instrument; } expected[] = {
        { 35, 0 }, { 36, 0 }, { 38, 1 }, { 40, 1 }, { 41, 2 }, { 43, 2 }, { 45, 3 }, { 47, 3 }, { 48, 4 },
        { 50, 4 }, { 37, 5 }, { 39, 6 }, { 42, 7 }, { 44, 7 }, { 46, 8 }, { 49, 9 }, { 51, 10 },
    };
    int mapped = 0;
    for (int key = 0; key < 128; ++key)
        mapped += map.getInstrumentForKey (key) >= 0 ? 1 : 0;
    EXPECT_EQ (mapped, 17);
    for (const auto& e : expected)
        EXPECT_EQ (map.getInstrumentForKey (e.key), e.instrument) << e.key;
    EXPECT_FALSE (map.getName().isEmpty());
}

TEST_F (DrumMapTest, BothVersionsAreReadWithTheirOwnKeyAttribute)
{
    const struct { const char* text; int key36, key37; const char* name; } cases[] = {
        { "<DrumMap ver=\"1.1\" name=\"New\"><assign midiKey=\"36\" instrument=\"BD\"/><assign note=\"37\" instrument=\"RS\"/></DrumMap>", 0, -1, "New" },
        { "<DrumMap ver=\"1.0\" name=\"Old\"><assign midiKey=\"36\" instrument=\"BD\"/><assign note=\"37\" instrument=\"RS\"/></DrumMap>", -1, 5, "" },
        { "<drummap name=\"Old\"><ASSIGN midiKey=\"36\" instrument=\"BD\"/><Assign note=\"37\" instrument=\"rs\"/></drummap>", -1, 5, "" },
        // Keys after white space.
        { "<DrumMap ver=\"1.1\"><assign midiKey=\" 36\" instrument=\"BD\"/><assign midiKey=\"\t 37\" instrument=\"RS\"/></DrumMap>", 0, 5, "" },
        { "<DrumMap><assign note=\"  36\" instrument=\"BD\"/><assign note=\" C1\" instrument=\"RS\"/></DrumMap>", 0, -1, "" },
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE (map.readDrumMapXml (*xml (c.text))) << c.text;
        EXPECT_EQ (map.getInstrumentForKey (36), c.key36) << c.text;
        EXPECT_EQ (map.getInstrumentForKey (37), c.key37) << c.text;
        EXPECT_EQ (map.getName(), c.name) << c.text;
    }
}

TEST_F (DrumMapTest, AnUnknownVersionChangesNothingAndFails)
{
    ASSERT_TRUE (map.readDrumMapXml (*xml ("<DrumMap ver=\"1.1\" name=\"Mine\"><assign midiKey=\"36\" instrument=\"BD\"/></DrumMap>")));
    const char* newer = "<DrumMap ver=\"2.0\" name=\"Newer\"><assign midiKey=\"37\" instrument=\"RS\"/><assign note=\"38\" instrument=\"SD\"/></DrumMap>";
    EXPECT_FALSE (map.readDrumMapXml (*xml (newer)));
    EXPECT_FALSE (map.readDrumMapXml (*xml ("<DrumMap ver=\"\"><assign midiKey=\"37\" instrument=\"RS\"/></DrumMap>")));

    auto folder = juce::File::createTempFile ("drum-maps");
    ASSERT_TRUE (folder.createDirectory());
    const auto file = folder.getChildFile ("newer.xrdrmap");
    ASSERT_TRUE (file.replaceWithText (newer));
    EXPECT_FALSE (map.loadDrumMapFile (file));
    folder.deleteRecursively();

    EXPECT_EQ (map.getInstrumentForKey (36), 0);
    EXPECT_EQ (map.getInstrumentForKey (37), -1);
    EXPECT_EQ (map.getInstrumentForKey (38), -1);
    EXPECT_EQ (map.getName(), "Mine");
}

TEST_F (DrumMapTest, AnEmbeddedFileThatIsNotADrumMapIsRefused)
{
    ASSERT_TRUE (map.loadDrumMapResource ("default.xrdrmap"));
    EXPECT_FALSE (map.loadDrumMapResource ("parameters.xml"));
    EXPECT_FALSE (map.loadDrumMapResource ("no-such-resource.xrdrmap"));
    EXPECT_EQ (map.getInstrumentForKey (36), 0);
}

TEST_F (DrumMapTest, BadEntriesAreSkippedOneByOne)
{
    ASSERT_TRUE (map.readDrumMapXml (*xml ("<DrumMap ver=\"1.1\">"
                                           "<assign midiKey=\"60\" instrument=\"AC\"/>"
                                           "<assign midiKey=\"61\" instrument=\"ac\"/>"
                                           "<assign midiKey=\"62\" instrument=\"XX\"/>"
                                           "<assign midiKey=\"128\" instrument=\"BD\"/>"
                                           "<assign midiKey=\"-1\" instrument=\"BD\"/>"
                                           "<assign midiKey=\"4294967332\" instrument=\"BD\"/>"
                                           "<assign instrument=\"BD\"/>"
                                           "<assign midiKey=\"abc\" instrument=\"sd\"/>"
                                           "<assign midiKey=\"63xyz\" instrument=\"bd\"/>"
                                           "<assign midiKey=\"36\" instrument=\"BD\"/>"
                                           "<assign midiKey=\"36\" instrument=\"SD\"/>"
                                           "<other midiKey=\"70\" instrument=\"BD\"/>"
                                           "</DrumMap>")));
    EXPECT_EQ (map.getInstrumentForKey (60), -1);
    EXPECT_EQ (map.getInstrumentForKey (61), -1);
    EXPECT_EQ (map.getInstrumentForKey (62), -1);
    EXPECT_EQ (map.getInstrumentForKey (0), 1);  // text without digits reads as key 0
    EXPECT_EQ (map.getInstrumentForKey (63), 0); // leading digits count
    EXPECT_EQ (map.getInstrumentForKey (36), 1); // the later assignment wins
    EXPECT_EQ (map.getInstrumentForKey (70), -1);
    EXPECT_EQ (map.getInstrumentForKey (32), -1); // a huge key does not wrap into range
    for (int key : { -1, 128, 1 << 30, -(1 << 30) })
        EXPECT_EQ (map.getInstrumentForKey (key), -1) << key;
}

TEST_F (DrumMapTest, FilesThatAreNotDrumMapsLeaveTheMapAlone)
{
    ASSERT_TRUE (map.loadDrumMapResource ("default.xrdrmap"));
    auto folder = juce::File::createTempFile ("drum-maps");
    ASSERT_TRUE (folder.createDirectory());
    const auto garbage = folder.getChildFile ("garbage.xrdrmap");
    garbage.replaceWithText ("<DrumMap ver=\"1.1\"><assign midiKey=");
    const auto foreign = folder.getChildFile ("foreign.xrdrmap");
    foreign.replaceWithText ("<PatternBank/>");
    const auto good = folder.getChildFile ("good.xrdrmap");
    good.replaceWithText ("<DrumMap ver=\"1.1\"><assign midiKey=\"60\" instrument=\"CR\"/></DrumMap>");

    EXPECT_FALSE (map.loadDrumMapFile (garbage));
    EXPECT_FALSE (map.loadDrumMapFile (foreign));
    EXPECT_FALSE (map.loadDrumMapFile (folder.getChildFile ("missing.xrdrmap")));
    EXPECT_EQ (map.getInstrumentForKey (36), 0);

    // A user file that reads replaces the default entirely at start-up.
    map.setUserDrumMapFile (good.getFullPathName());
    EXPECT_EQ (map.getChoice(), DrumMap::userDefinedDrumMap);
    map.loadStartUpDrumMap();
    EXPECT_EQ (map.getInstrumentForKey (36), -1);
    EXPECT_EQ (map.getInstrumentForKey (60), 9);

    map.setUserDrumMapFile (foreign.getFullPathName());
    map.loadStartUpDrumMap();
    EXPECT_EQ (map.getInstrumentForKey (36), 0);
    map.setUserDrumMapFile ("relative/path.xrdrmap");
    map.loadStartUpDrumMap();
    EXPECT_EQ (map.getInstrumentForKey (36), 0);
    folder.deleteRecursively();
}

TEST_F (DrumMapTest, KeyNamesFollowTheModeAndRefuseKeysOutsideMidi)
{
    ASSERT_TRUE (map.loadDrumMapResource ("default.xrdrmap"));
    RecordingOwner owner;
    PulsettaSeq seq (owner, "Pulsetta", "XR");
    seq.setPatternName (48, "Forty-nine", 2);

    using Mode = DrumMap::KeyNameMode;
    EXPECT_EQ (map.getNoteKeyName (36, Mode::instruments, &seq), "Bass Drum");
    EXPECT_EQ (map.getNoteKeyName (51, Mode::instruments, &seq), "Ride");
    EXPECT_EQ (map.getNoteKeyName (60, Mode::instruments, &seq), "---");
    EXPECT_EQ (map.getNoteKeyName (60, Mode::hostPatterns, &seq), "Forty-nine");
    EXPECT_EQ (map.getNoteKeyName (12, Mode::hostPatterns, &seq), "Empty");
    EXPECT_EQ (map.getNoteKeyName (11, Mode::hostPatterns, &seq), "---");
    EXPECT_EQ (map.getNoteKeyName (108, Mode::hostPatterns, &seq), "---");
    EXPECT_EQ (map.getNoteKeyName (36, Mode::nothing, &seq), "");
    for (int key : { -1, 128, 255, 1 << 20, -(1 << 20) })
    {
        EXPECT_EQ (map.getNoteKeyName (key, Mode::instruments, &seq), "---") << key;
        EXPECT_EQ (map.getNoteKeyName (key, Mode::hostPatterns, &seq), "---") << key;
    }
}
