// The drum machine's sections of the state chunk and the user settings:
// round trips through real XML, and bad sections skipped or clamped.
#include "DrumMachineTestSupport.h"

#include "framework/core/XmlTags.h"

#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int bassDrum = 0, snareDrum = 1, ride = 10;

std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    return juce::parseXML (text);
}

juce::String stateWithSections (const juce::String& sections)
{
    return "<PluginState application=\"Pulsetta\">" + sections + "</PluginState>";
}
} // namespace

using DrumMachineState = DrumMachineTest;

TEST_F (DrumMachineState, StateWrittenReadIntoANewInstanceAndWrittenAgainIsTheSame)
{
    auto first = makeDrumMachine();
    first->setInternalSync (false);
    first->setHostMode (true);
    first->setNoteOffMode (true);
    first->setPatternWriteMode (true);
    first->setAutoFollow (true);
    first->getParameterManager().setInt (DrumMachine::outputNumberParameter + snareDrum, 7);
    first->setTriggerOut (true, ride, 9);
    Pattern pattern;
    pattern.setName ("Round trip");
    pattern.setStep (bassDrum, 3, Pattern::stepFlam);
    first->seq().storePattern (17, pattern);

    const auto written = first->createPluginStateXml();
    auto second = makeDrumMachine();
    second->restorePluginState (*written);
    const auto rewritten = second->createPluginStateXml();
    EXPECT_EQ (rewritten->toString(), written->toString());

    EXPECT_FALSE (second->isInternalSyncOn());
    EXPECT_TRUE (second->isHostMode());
    EXPECT_EQ (second->getOutputNumber (snareDrum), 7);
    EXPECT_EQ (second->getParameterManager().getValue (DrumMachine::outputNumberParameter + snareDrum), 7.0f);
    EXPECT_TRUE (second->isTriggerOutEnabled());
    EXPECT_EQ (second->getTriggerOutInstrument(), ride);
    EXPECT_EQ (second->getTriggerOutOutput(), 9);
    Pattern read;
    second->seq().copyPattern (17, read);
    EXPECT_EQ (read.getStep (bassDrum, 3), Pattern::stepFlam);
}

TEST_F (DrumMachineState, BadOutputAssignmentsAreSkippedAndTheRestLoads)
{
    auto dm = makeDrumMachine();
    const auto state = parse (stateWithSections (
        "<AudioOutputSettings>"
        "  <OutAssignations><SD out=\"13\"/><AC out=\"2\"/><XX out=\"3\"/><sd out=\"2\"/><BD out=\"-4\"/><RD/><CH out=\"garbage\"/><OH out=\"5\"/></OutAssignations>"
        "  <TriggerOut state=\"ON\" instrument=\"zz\" output=\"0\"/>"
        "  <Nonsense/>"
        "</AudioOutputSettings>"));
    dm->restorePluginState (*state);

    EXPECT_EQ (dm->getOutputNumber (snareDrum), 2); // lower case accepted, 13 skipped
    EXPECT_EQ (dm->getOutputNumber (bassDrum), 1);
    EXPECT_EQ (dm->getOutputNumber (ride), 1);
    EXPECT_EQ (dm->getOutputNumber (8), 5);
    EXPECT_TRUE (dm->isTriggerOutEnabled());
    EXPECT_EQ (dm->getTriggerOutInstrument(), 0); // unchanged
    EXPECT_EQ (dm->getTriggerOutOutput(), 1);     // 0 gives 1

    dm->restorePluginState (*parse (stateWithSections ("<AudioOutputSettings><TriggerOut state=\"yes\" instrument=\"AC\"/></AudioOutputSettings>")));
    EXPECT_FALSE (dm->isTriggerOutEnabled());
    EXPECT_EQ (dm->getTriggerOutInstrument(), 11);
    EXPECT_EQ (dm->getTriggerOutOutput(), 12); // missing gives the highest
}

TEST_F (DrumMachineState, OnOffChildrenReadOnWithoutCaseAndMissingOnesLeaveTheValue)
{
    auto dm = makeDrumMachine();
    dm->setNoteOffMode (true);
    dm->restorePluginState (*parse (stateWithSections (
        "<InternalSequencer><IntSeq state=\"ON\"/><IntSync state=\"yes\"/><HostMode/></InternalSequencer>")));
    EXPECT_TRUE (dm->isInternalSequencerOn());
    EXPECT_FALSE (dm->isInternalSyncOn());
    EXPECT_FALSE (dm->isHostMode());
    EXPECT_TRUE (dm->isNoteOffMode()); // no NoteOff child
}

TEST_F (DrumMachineState, ForeignOrGarbageStateChangesNothingAndBadEntriesAreSkipped)
{
    auto dm = makeDrumMachine();
    dm->setOutputNumber (snareDrum, 4);
    Pattern before;
    dm->seq().copyPattern (0, before);

    dm->restorePluginState (*parse ("<PluginState application=\"Other\"><AudioOutputSettings><OutAssignations><SD out=\"2\"/></OutAssignations></AudioOutputSettings></PluginState>"));
    const char garbage[] = "not a chunk at all";
    dm->setStateInformation (garbage, (int) sizeof (garbage));
    EXPECT_EQ (dm->getOutputNumber (snareDrum), 4);
    EXPECT_EQ (keyOf (*dm, bassDrum), 35);

    // A drum map with an entry out of range and one good one; a bank holding no pattern.
    dm->restorePluginState (*parse (stateWithSections (
        "<DrumMap application=\"Pulsetta\" ver=\"1.1\"><assign midiKey=\"999\" instrument=\"BD\"/><assign midiKey=\"60\" instrument=\"SD\"/></DrumMap>"
        "<PatternsState><PatternBank><Garbage/></PatternBank><Garbage/></PatternsState>")));
    EXPECT_EQ (dm->getDrumMap().getInstrumentForKey (60), snareDrum);
    EXPECT_EQ (dm->getOutputNumber (snareDrum), 4);
    Pattern after;
    dm->seq().copyPattern (0, after);
    for (int track = 0; track < Pattern::numTracks; ++track)
        for (int step = 0; step < Pattern::numSteps; ++step)
            EXPECT_EQ (after.getStep (track, step), before.getStep (track, step));
}

TEST_F (DrumMachineState, ADrumMapOfAnUnknownVersionLeavesTheMapInPlace)
{
    auto dm = makeDrumMachine();
    dm->restorePluginState (*parse (stateWithSections (
        "<DrumMap application=\"Pulsetta\" ver=\"1.1\" name=\"One key\"><assign midiKey=\"60\" instrument=\"SD\"/></DrumMap>")));
    ASSERT_EQ (dm->getDrumMap().getInstrumentForKey (60), snareDrum);

    dm->restorePluginState (*parse (stateWithSections (
        "<DrumMap application=\"Pulsetta\" ver=\"3.0\" name=\"Later\"><assign midiKey=\"61\" instrument=\"BD\"/></DrumMap>")));
    EXPECT_EQ (dm->getDrumMap().getInstrumentForKey (60), snareDrum);
    EXPECT_EQ (dm->getDrumMap().getInstrumentForKey (61), -1);
    EXPECT_EQ (dm->getDrumMap().getName(), "One key");
}

TEST_F (DrumMachineState, ARestoredDrumMapReachesTheAudioSide)
{
    auto dm = makeDrumMachine();
    dm->setInternalSequencer (false);
    dm->restorePluginState (*parse (stateWithSections (
        "<DrumMap application=\"Pulsetta\" ver=\"1.1\" name=\"One key\"><assign midiKey=\"60\" instrument=\"SD\"/></DrumMap>")));
    EXPECT_EQ (dm->getDrumMap().getInstrumentForKey (60), snareDrum);

    FakePlayHead head;
    prepare (*dm, head, 256);
    dm->setOutputNumber (snareDrum, 2);
    const auto result = run (*dm, head, 512, 256, { { 10, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100) } });
    EXPECT_FALSE (isSilent (result.audio, 2));
}

TEST_F (DrumMachineState, UserSettingsRoundTripAndBecomeTheNextInstancesValues)
{
    auto first = makeDrumMachine();
    first->setDefaultOutputCharacteristics (DrumMachine::monoOutputs);
    first->setDefaultOutputNumber (snareDrum, 3);
    first->setSequencerDefaults ({ false, false, true, true });
    first->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    DrumMachine::PatternSourceSetting patterns;
    patterns.source = DrumMachineSeq::PatternSource::userDefinedPatterns;
    patterns.file = folder.getChildFile ("mine.xrptrb").getFullPathName();
    first->setPatternSource (0, patterns);
    first->getDrumMap().setChoice (DrumMap::userDefinedDrumMap);
    first->getDrumMap().setUserDrumMapFile ("");
    ASSERT_TRUE (first->saveUserSettings());
    const auto written = first->createUserSettingsXml()->toString();
    // Only what the drum machine has: it has no preset changing mode.
    EXPECT_FALSE (first->createUserSettingsXml()->getChildByName ("PresetSettings")->hasAttribute ("changing"));

    auto second = makeDrumMachine();
    EXPECT_EQ (second->createUserSettingsXml()->toString(), written);
    EXPECT_EQ (second->getOutputCharacteristics(), DrumMachine::monoOutputs);
    EXPECT_EQ (second->getNumHostOutputChannels(), 12);
    EXPECT_EQ (second->getOutputNumber (snareDrum), 3);
    EXPECT_FALSE (second->isInternalSequencerOn());
    EXPECT_TRUE (second->isHostMode());
    EXPECT_EQ (second->getHostPlayDetection(), DrumMachine::byLowestCNoteOn);
    EXPECT_EQ (second->getPatternSource (0).source, DrumMachineSeq::PatternSource::userDefinedPatterns);
    EXPECT_EQ (second->getDrumMap().getChoice(), DrumMap::userDefinedDrumMap);
    EXPECT_EQ (keyOf (*second, bassDrum), 35); // the empty path fails, the built-in map stays
}

// A settings file may name any path: a device never ends, a FIFO blocks, a
// huge file would be read whole. Each is refused and the built-in content stays.
TEST_F (DrumMachineState, SettingsNamingADeviceAFifoOrAHugeFileStartWithTheBuiltInContent)
{
    const auto builtInBank = makeDrumMachine()->createPresetBankXml()->toString();
    const auto fifo = folder.getChildFile ("fifo.xrprsb");
    ASSERT_EQ (::mkfifo (fifo.getFullPathName().toRawUTF8(), 0600), 0);
    const auto huge = folder.getChildFile ("huge.xrprsb");
    ASSERT_TRUE (huge.create());
    ASSERT_EQ (::truncate (huge.getFullPathName().toRawUTF8(), 17 * 1024 * 1024), 0);

    for (const auto& path : { juce::String ("/dev/zero"), fifo.getFullPathName(), huge.getFullPathName() })
    {
        {
            auto first = makeDrumMachine();
            first->setPresetsResourceSetting (BasePluginOldStyle::userDefinedPresets);
            first->setUserPresetsFile (juce::File (path));
            first->getMidiControl().setUseUserMap (true);
            first->getMidiControl().setUserMapFile (juce::File (path));
            first->getDrumMap().setChoice (DrumMap::userDefinedDrumMap);
            first->getDrumMap().setUserDrumMapFile (path);
            first->setPatternSource (0, { DrumMachineSeq::PatternSource::userDefinedPatterns, path });
            first->setHostParametersMapFile (true, juce::File (path));
            ASSERT_TRUE (first->saveUserSettings());
        }
        auto second = makeDrumMachine();
        EXPECT_EQ (second->createPresetBankXml()->toString(), builtInBank) << path;
        EXPECT_EQ (keyOf (*second, bassDrum), 35) << path;
    }
}

TEST_F (DrumMachineState, UnknownSettingsValuesChangeNothing)
{
    auto dm = makeDrumMachine();
    const auto settings = parse ("<UserSettings application=\"Pulsetta\">"
                                 "<AudioOutputSettings><OutCharacteristics type=\"Mono\"/><OutAssignations><SD out=\"99\"/></OutAssignations></AudioOutputSettings>"
                                 "<InternalSequencer><HostPlayDetection type=\"sometimes\"/></InternalSequencer></UserSettings>");
    dm->readUserSettings (*settings);
    EXPECT_EQ (dm->getDefaultOutputCharacteristics(), DrumMachine::stereoOutputs);
    EXPECT_EQ (dm->getDefaultOutputNumber (snareDrum), 1);
    EXPECT_EQ (dm->getHostPlayDetection(), DrumMachine::byTransportChange);

    const auto resources = parse ("<ResourcesSettings><DMSeqRes><Patterns default=\"other\"/></DMSeqRes><DrumMap default=\"nope\"/></ResourcesSettings>");
    dm->readResourcesSettings (*resources);
    EXPECT_EQ (dm->getPatternSource (0).source, DrumMachineSeq::PatternSource::factoryPatterns);
    EXPECT_EQ (dm->getDrumMap().getChoice(), DrumMap::factoryMapping);
}

TEST_F (DrumMachineState, ATruncatedSettingsFileIsKeptBesideTheNewOne)
{
    const auto settingsFile = folder.getChildFile ("Kyxworks/Pulsetta/Pulsetta.ini");
    settingsFile.create();
    settingsFile.replaceWithText ("<UserSettings application=\"Pulsetta\"><Presets><Author name=\"Jane\"/></Presets>"
                                  "<MidiControlMap default=\"yes\" file=\"/home/jane/mine.xrccmap\"/><AudioOutputSett");
    const auto original = settingsFile.loadFileAsString();

    auto dm = makeDrumMachine();
    EXPECT_EQ (dm->getAuthorName(), "");
    ASSERT_TRUE (dm->saveUserSettings());

    const auto copy = settingsFile.getSiblingFile ("Pulsetta.ini.unreadable");
    EXPECT_EQ (dm->getUnreadableSettingsCopy(), copy);
    EXPECT_EQ (copy.loadFileAsString(), original);
    EXPECT_NE (parse (settingsFile.loadFileAsString()), nullptr);

    // The next save rewrites the now good file and leaves the copy alone.
    ASSERT_TRUE (dm->saveUserSettings());
    EXPECT_EQ (copy.loadFileAsString(), original);
    EXPECT_FALSE (settingsFile.getSiblingFile ("Pulsetta.ini.unreadable-2").exists());
}
