#include "PagesTestSupport.h"

#include "editor/drummachine/DrumMapSettingsComponent.h"
#include "tests/editor/SaveSiteChecks.h"

#include <array>

namespace
{
// Counts the processor's "display changed" calls, as the binding hears them.
struct HostDisplaySpy : juce::AudioProcessorListener
{
    explicit HostDisplaySpy (juce::AudioProcessor& watched) : processor (watched) { processor.addListener (this); }
    ~HostDisplaySpy() override { processor.removeListener (this); }
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++changes; }

    juce::AudioProcessor& processor;
    int changes = 0;
};

constexpr const char* remappedMap = R"(<DrumMap ver="1.1" name="Remapped"><assign midiKey="60" instrument="SD"/></DrumMap>)";
} // namespace

class DrumMapPage : public PageTest<DrumMapSettingsComponent>
{
protected:
    DrumMapPage()
    {
        maps.createDirectory();
        product->setRecentlyUsedDirectory (folder);
    }

    void load (const juce::File& file)
    {
        desktop.choose (file);
        click (page->getLoadButton());
    }

    std::array<int, 128> keys()
    {
        std::array<int, 128> instruments {};
        for (int key = 0; key < 128; ++key)
            instruments[(size_t) key] = product->getDrumMap().getInstrumentForKey (key);
        return instruments;
    }

    juce::File maps { folder.getChildFile ("maps") };
    HostDisplaySpy hostDisplay { *product };
};

// A map loaded, saved, replaced and loaded again from the saved file gives
// the block its keys: a note on the remapped key plays the snare.
TEST_F (DrumMapPage, SaveThenLoadRoundTripsTheKeysToTheAudioSide)
{
    prepare (*product);
    product->setInternalSequencer (false);
    auto key60Plays = [this]
    {
        run (*product, 2048, { { 0, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 127) } });
        return ! isSilent (audio, 0);
    };
    const auto remap = maps.getChildFile ("remap.xrdrmap");
    ASSERT_TRUE (remap.replaceWithText (remappedMap));

    load (remap);
    desktop.choose (maps.getChildFile ("saved"));
    click (page->getSaveButton());
    const auto saved = maps.getChildFile ("saved.xrdrmap");
    ASSERT_TRUE (saved.existsAsFile());
    ASSERT_TRUE (product->getDrumMap().loadDrumMapResource ("default.xrdrmap"));
    product->refreshKeyMap();
    EXPECT_FALSE (key60Plays());

    load (saved);
    EXPECT_TRUE (key60Plays());
    EXPECT_EQ (product->getDrumMap().getName(), "Remapped");
    EXPECT_EQ (hostDisplay.changes, 2);
    EXPECT_EQ (product->getRecentlyUsedDirectory(), maps);

    EXPECT_EQ (desktop.requests[0].title, "Load drum map");
    EXPECT_EQ (desktop.requests[0].filter, "*.xrdrmap");
    EXPECT_EQ (desktop.requests[1].title, "Save drum map");
}

TEST_F (DrumMapPage, ABadFileChangesNothingAndTellsTheUser)
{
    struct Case
    {
        const char* name;
        const char* text; // null: no such file
    };
    const Case cases[] = {
        { "cut.xrdrmap", R"(<DrumMap ver="1.1"><assign midiKey="60" instr)" },
        { "pattern.xrdrmap", R"(<Pattern name="x"/>)" },
        { "future.xrdrmap", R"(<DrumMap ver="2.0"><assign midiKey="60" instrument="SD"/></DrumMap>)" },
        { "missing.xrdrmap", nullptr },
    };
    const auto keysBefore = keys();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto file = maps.getChildFile (c.name);
        if (c.text != nullptr)
        {
            ASSERT_TRUE (file.replaceWithText (c.text));
        }

        load (file);
        EXPECT_EQ (keys(), keysBefore);
        EXPECT_EQ (hostDisplay.changes, 0);
        EXPECT_EQ (product->getRecentlyUsedDirectory(), folder);
        ASSERT_NE (shownAlert(), nullptr);
        EXPECT_TRUE (shownAlert()->getMessage().contains (file.getFullPathName()));
        answer ("OK");
        EXPECT_EQ (shownAlert(), nullptr);
    }
}

TEST_F (DrumMapPage, SavingAsksBeforeOverwritingTheSettledNameAndTellsAFailedWrite)
{
    const auto existing = maps.getChildFile ("map.xrdrmap");
    editor_testing::checkSaveSite ({ desktop, existing,
                                     [this] (const juce::File& chosen) {
                                         desktop.choose (chosen);
                                         click (page->getSaveButton());
                                     },
                                     [this] { return product->getRecentlyUsedDirectory(); } });
    EXPECT_TRUE (DrumMap::isDrumMapXml (*juce::parseXML (existing)));
    EXPECT_EQ (desktop.requests.back().start.getFileName(), "General MIDI Drums.xrdrmap") << "the map's name is proposed";
}

TEST_F (DrumMapPage, TheDefaultMapChoiceAndItsFileReachTheSettings)
{
    auto& group = page->getDefaultMapGroup();
    const auto mine = maps.getChildFile ("mine.xrdrmap").getFullPathName();

    group.getPathComponent().setPath (mine, true);
    EXPECT_EQ (product->getDrumMap().getChoice(), DrumMap::userDefinedDrumMap);
    EXPECT_EQ (product->getDrumMap().getUserDrumMapFile(), mine);
    EXPECT_EQ (group.getSelectedIndex(), 1);

    group.setSelectedIndex (0, true);
    EXPECT_EQ (product->getDrumMap().getChoice(), DrumMap::factoryMapping);
}
