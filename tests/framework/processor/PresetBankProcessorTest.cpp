#include "ProcessorTestSupport.h"

#include <algorithm>
#include <functional>
#include <thread>

namespace
{
using PresetBankProcessor = ProcessorTest;

void runBlock (TestProduct& product, juce::MidiBuffer midi = {})
{
    juce::AudioBuffer<float> buffer (12, 64);
    product.processBlock (buffer, midi);
}

TEST_F (PresetBankProcessor, StartsWithTheFactoryBankAndItsFirstPreset)
{
    auto product = makeProduct();
    EXPECT_EQ (product->getCurrentPreset(), 0);
    EXPECT_EQ (product->getPresetFileExtension(), ".xrprs");
    EXPECT_EQ (product->getPresetBankFileWildcards(), "*.xrprsb");

    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    EXPECT_EQ (product->getGroupSize (0), factory->getGroupSize (0));
    for (int i = 0; i < PresetBank::numPresets; ++i)
    {
        EXPECT_EQ (product->getPresetName (i), factory->getPresetName (i));
        for (int v = 0; v < 49; ++v)
            ASSERT_FLOAT_EQ (product->getPreset (i)->getValue (v), factory->getPreset (i)->getValue (v)) << i << " " << v;
    }
    for (int v = 0; v < 49; ++v)
        EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (v), factory->getPreset (0)->getValue (v)) << v;
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), factory->getPresetName (0));
}

TEST_F (PresetBankProcessor, ProgramChangeFromMidiAppliesOnTheNextBlock)
{
    auto product = makeProduct();
    product->getPreset (5)->setValue (15, 0.9f);
    product->setPresetName (5, "Five");
    product->prepareToPlay (44100.0, 64);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::programChange (10, 5), 10);
    runBlock (*product, midi);
    EXPECT_EQ (product->getCurrentPreset(), 0);

    runBlock (*product);
    EXPECT_EQ (product->getCurrentPreset(), 5);
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (15), 0.9f);
    EXPECT_EQ (product->getParameterManager().getValue (BasePluginOldStyle::currentPresetNumberId), 5.0f);
    deliverMessages(); // the name follows on the message thread
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "Five");

    product->handleProgramChange (128);
    product->handleProgramChange (-1);
    runBlock (*product);
    EXPECT_EQ (product->getCurrentPreset(), 5);
}

TEST_F (PresetBankProcessor, SelectingPresetsRenamesNoneAndStopsAtTheEnds)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    auto product = makeProduct();
    product->setCurrentPreset (5, true);
    EXPECT_EQ (product->getPresetName (0), factory->getPresetName (0));
    EXPECT_EQ (product->getPresetName (5), factory->getPresetName (5));
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), factory->getPresetName (5));
    product->setCurrentPreset (-1, true);
    product->setCurrentPreset (128, true);
    EXPECT_EQ (product->getCurrentPreset(), 5);

    product->setCurrentPreset (0, true);
    product->selectPreviousPreset();
    EXPECT_EQ (product->getCurrentPreset(), 0);
    product->setCurrentPreset (127, true);
    product->selectNextPreset();
    EXPECT_EQ (product->getCurrentPreset(), 127);
    product->selectPreviousPreset();
    EXPECT_EQ (product->getCurrentPreset(), 126);

    // The host's program name is the current preset's, and renames it.
    product->changeProgramName (0, "By Host");
    EXPECT_EQ (product->getPresetName (126), "By Host");
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "By Host");
}

TEST_F (PresetBankProcessor, StoringModesCopyPasteAndMainVolume)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    auto product = makeProduct();
    auto& manager = product->getParameterManager();
    const int decay = manager.getIndexOfName ("Bass Drum Decay");
    const float stored = product->getPreset (0)->getValue (decay);

    manager.setNormalised (decay, 0.8f);
    EXPECT_FLOAT_EQ (product->getPreset (0)->getValue (decay), stored);
    product->storeParametersInPreset (0);
    EXPECT_FLOAT_EQ (product->getPreset (0)->getValue (decay), 0.8f);
    product->setStoringMode (BasePluginOldStyle::automaticStoring);
    manager.setNormalised (decay, 0.3f);
    EXPECT_FLOAT_EQ (product->getPreset (0)->getValue (decay), 0.3f);

    // "Main Volume" is no preset value.
    manager.setNormalised (49, 0.95f);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ (product->getPreset (i)->getNumValues(), 49);

    product->pasteCopiedPreset();
    EXPECT_FALSE (product->isClipboardFilled());
    EXPECT_EQ (product->getPresetName (0), factory->getPresetName (0));
    product->copyCurrentPreset();
    product->setCurrentPreset (9, true);
    product->pasteCopiedPreset();
    EXPECT_EQ (product->getPresetName (9), factory->getPresetName (0) + "_copy");
    EXPECT_FLOAT_EQ (product->getPreset (9)->getValue (decay), 0.3f);
    EXPECT_FLOAT_EQ (manager.getNormalised (decay), 0.3f);
}

TEST_F (PresetBankProcessor, TheCurrentPresetFollowsItsRecordThroughMoves)
{
    auto product = makeProduct();
    product->setCurrentPreset (3, true);
    auto* current = product->getPreset (3);

    EXPECT_TRUE (product->movePreset (3, 10, 0, 0));
    EXPECT_EQ (product->getCurrentPreset(), 10);
    EXPECT_EQ (product->getPreset (10), current);

    EXPECT_TRUE (product->moveGroup (1, 0));
    EXPECT_EQ (product->getCurrentPreset(), 123);

    EXPECT_TRUE (product->movePresetsToGroup (0, 1, { 10 }));
    EXPECT_EQ (product->getPreset (product->getCurrentPreset()), current);
    EXPECT_EQ (product->getGroupOfPreset (product->getCurrentPreset()), 0);

    // A move that names the wrong group is refused and moves nothing.
    EXPECT_FALSE (product->movePreset (0, 1, 1, 1));
    EXPECT_EQ (product->getPreset (product->getCurrentPreset()), current);
}

TEST_F (PresetBankProcessor, PresetAndBankFilesRoundTrip)
{
    auto product = makeProduct();
    product->getPreset (4)->setValue (30, 0.123456f);
    product->setPresetName (4, "Four");
    product->setGroupName (0, "Kits");

    const auto presetFile = folder.getChildFile ("four.xrprs");
    const auto bankFile = folder.getChildFile ("bank.xrprsb");
    ASSERT_TRUE (product->savePresetFile (presetFile, 4));
    ASSERT_TRUE (product->savePresetBankFile (bankFile));

    auto other = makeProduct();
    ASSERT_TRUE (other->loadPresetFile (presetFile, 0));
    EXPECT_EQ (other->getPresetName (0), "Four");
    EXPECT_FLOAT_EQ (other->getParameterManager().getNormalised (30), 0.123456f); // the current preset is applied

    auto third = makeProduct();
    ASSERT_TRUE (third->loadPresetBankFile (bankFile));
    EXPECT_EQ (third->getGroupName (0), "Kits");
    EXPECT_EQ (third->getPresetName (4), "Four");
    EXPECT_FLOAT_EQ (third->getPreset (4)->getValue (30), 0.123456f);
    EXPECT_EQ (third->getRecentlyUsedDirectory(), folder);
}

TEST_F (PresetBankProcessor, ABankOfAnotherApplicationChangesNothingFromFileOrState)
{
    auto product = makeProduct();
    product->setPresetName (4, "Mine");
    product->getPreset (4)->setValue (30, 0.25f);
    const auto bankBefore = product->createPresetBankXml()->toString();

    const juce::String foreignBank ("<PresetBank name=\"Theirs\"><PresetGroup name=\"A\">"
                                    "<Preset application=\"Other\" name=\"X\"><param name=\"Bass Drum Level\" value=\"1\"/></Preset>"
                                    "</PresetGroup></PresetBank>");
    const auto foreign = folder.getChildFile ("foreign.xrprsb");
    ASSERT_TRUE (foreign.replaceWithText (foreignBank));
    EXPECT_FALSE (product->loadPresetBankFile (foreign));
    EXPECT_EQ (product->createPresetBankXml()->toString(), bankBefore);

    // The same bank inside a restored state leaves the bank as it was.
    const juce::String stateText ("<PluginState application=\"Pulsetta\"><PresetsState currentPreset=\"4\">" + foreignBank
                                  + "</PresetsState></PluginState>");
    juce::MemoryBlock chunk (stateText.toRawUTF8(), stateText.getNumBytesAsUTF8());
    product->setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_EQ (product->createPresetBankXml()->toString(), bankBefore);
    EXPECT_EQ (product->getPresetName (4), "Mine");

    // A bank holding one preset of ours still replaces the whole bank.
    const auto ours = folder.getChildFile ("ours.xrprsb");
    ASSERT_TRUE (ours.replaceWithText ("<PresetBank name=\"Ours\"><PresetGroup name=\"A\">"
                                       "<Preset application=\"Other\" name=\"X\"/>"
                                       "<Preset application=\"Pulsetta\" name=\"One\"><param name=\"Bass Drum Level\" value=\"0.75\"/></Preset>"
                                       "</PresetGroup></PresetBank>"));
    ASSERT_TRUE (product->loadPresetBankFile (ours));
    EXPECT_EQ (product->getPresetName (0), "One");
    EXPECT_FLOAT_EQ (product->getPreset (0)->getValue (0), 0.75f);
    EXPECT_EQ (product->getPresetName (4), "Preset 4");
    EXPECT_EQ (product->getGroupSize (0), 1);
}

// The bank's views learn that the whole bank was replaced (by a state chunk
// or a bank file), once, on the message thread; a refused bank or a single
// preset replaces nothing.
TEST_F (PresetBankProcessor, AReplacedBankIsToldOnceOnTheMessageThread)
{
    struct Counter : BasePlugin::Listener
    {
        void presetBankReplaced (BasePlugin&) override { ++told; }
        int told = 0;
    };

    auto product = makeProduct();
    const auto bankFile = folder.getChildFile ("bank.xrprsb"), presetFile = folder.getChildFile ("three.xrprs");
    const auto foreign = folder.getChildFile ("foreign.xrprsb");
    ASSERT_TRUE (product->savePresetBankFile (bankFile));
    ASSERT_TRUE (product->savePresetFile (presetFile, 3));
    ASSERT_TRUE (foreign.replaceWithText ("<PresetBank name=\"Theirs\"><PresetGroup name=\"A\"><Preset application=\"Other\" name=\"X\"/>"
                                          "</PresetGroup></PresetBank>"));
    juce::MemoryBlock chunk;
    product->getStateInformation (chunk);
    deliverMessages();
    Counter counter;
    product->addListener (&counter);

    const struct
    {
        const char* what;
        std::function<void()> replace;
        int told;
    } cases[] = {
        { "a state chunk", [&] { product->setStateInformation (chunk.getData(), (int) chunk.getSize()); }, 1 },
        { "a bank file", [&] { product->loadPresetBankFile (bankFile); }, 1 },
        { "another application's bank file", [&] { product->loadPresetBankFile (foreign); }, 0 },
        { "a preset file", [&] { product->loadPresetFile (presetFile, 3); }, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        counter.told = 0;
        c.replace();
        EXPECT_EQ (counter.told, 0) << "before the message thread's turn";
        deliverMessages();
        EXPECT_EQ (counter.told, c.told);
    }
    product->removeListener (&counter);
}

TEST_F (PresetBankProcessor, BadFilesChangeNothing)
{
    auto product = makeProduct();
    const auto bankBefore = product->createPresetBankXml()->toString();

    const auto broken = folder.getChildFile ("broken.xrprsb");
    broken.replaceWithText ("<PresetBank><PresetGroup name=\"A\"><Preset application=\"Pulsetta\"");
    const auto foreign = folder.getChildFile ("foreign.xrprs");
    foreign.replaceWithText ("<Preset application=\"Other\" name=\"X\"><param name=\"Bass Drum Level\" value=\"1\"/></Preset>");
    const auto pattern = folder.getChildFile ("pattern.xrprsb");
    pattern.replaceWithText ("<Pattern/>");

    EXPECT_FALSE (product->loadPresetBankFile (broken));
    EXPECT_FALSE (product->loadPresetBankFile (pattern));
    EXPECT_FALSE (product->loadPresetBankFile (folder.getChildFile ("missing.xrprsb")));
    EXPECT_FALSE (product->loadPresetFile (foreign, 0));
    EXPECT_FALSE (product->loadPresetFile (broken, 0));
    EXPECT_FALSE (product->loadPresetFile (foreign, -1));
    EXPECT_FALSE (product->savePresetFile (folder.getChildFile ("x.xrprs"), 128));

    EXPECT_EQ (product->createPresetBankXml()->toString(), bankBefore);
    EXPECT_EQ (product->getRecentlyUsedDirectory(), folder); // a bank file still updates it
}

// Every preset's name and values, to compare before and after a race.
struct BankSnapshot
{
    explicit BankSnapshot (const TestProduct& product)
    {
        for (int i = 0; i < PresetBank::numPresets; ++i)
        {
            names.add (product.getPresetName (i));
            for (int v = 0; v < product.getNumPresetParameters(); ++v)
                values.push_back (product.getPreset (i)->getValue (v));
        }
    }

    bool presetEquals (const BankSnapshot& other, int index, int from) const
    {
        const auto count = values.size() / (size_t) names.size();
        return names[index] == other.names[from]
               && std::equal (values.begin() + (std::ptrdiff_t) (count * (size_t) index), values.begin() + (std::ptrdiff_t) (count * (size_t) (index + 1)),
                              other.values.begin() + (std::ptrdiff_t) (count * (size_t) from));
    }

    // Puts preset `index` back as it was here.
    void restore (TestProduct& product, int index) const
    {
        const auto count = values.size() / (size_t) names.size();
        for (size_t v = 0; v < count; ++v)
            product.getPreset (index)->setValue ((int) v, values[count * (size_t) index + v]);
        product.setPresetName (index, names[index]);
    }

    juce::StringArray names;
    std::vector<float> values;
};

// The audio thread's program change at the worst moment: once armed, the next
// time the editor side publishes a preset's name (a program change's, or a
// paste's), it waits there for the audio thread to switch to the other preset
// and render a block.
class WorstMoment : public Parameter::Listener
{
public:
    WorstMoment (TestProduct& product, std::atomic<bool>& changeRequested)
        : changeNow (changeRequested), name (product.getParameterManager().getParameter (BasePluginOldStyle::currentPresetNameId))
    {
        name->addListener (this);
    }

    ~WorstMoment() override { name->removeListener (this); }

    void arm() { armed = true; }

    void parameterChanged (Parameter*) override
    {
        if (std::this_thread::get_id() != editorThread || ! armed)
            return;
        armed = false;
        changeNow = true;
        while (changeNow.load())
            std::this_thread::yield();
    }

private:
    std::atomic<bool>& changeNow;
    Parameter* const name;
    bool armed = false; // editor thread
    const std::thread::id editorThread = std::this_thread::get_id();
};

// Editor-side work, round after round on this thread, while an audio thread
// switches between presets 1 and 2 by program change: freely, and at the worst
// moment when the work arms it, so the two meet however the threads are
// scheduled. Until both have done their share: `blocks` blocks and `rounds` rounds.
template <typename EditorWork>
void raceProgramChanges (TestProduct& product, int blocks, int rounds, EditorWork&& work)
{
    product.prepareToPlay (44100.0, 64);
    std::atomic<bool> editing { true }, changeNow { false };
    std::atomic<int> blocksDone { 0 };
    WorstMoment worstMoment (product, changeNow);

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (12, 64);
        juce::MidiBuffer midi;

        for (int i = 0; editing.load(); ++i)
        {
            const bool now = changeNow.load();
            product.handleProgramChange (now ? (product.getCurrentPreset() == 1 ? 2 : 1) : 1 + i % 2);
            product.processBlock (buffer, midi);
            if (now)
                changeNow = false;
            blocksDone.store (i + 1);
        }
    });

    for (int round = 0; round < rounds || blocksDone.load() < blocks; ++round)
        work (worstMoment);

    editing = false;
    audio.join();
}

// The name published after a program change must rename nothing, and the
// values applied with a preset must not be stored into the preset that is
// current by the time they arrive.
TEST_F (PresetBankProcessor, ProgramChangesDuringEditorWorkLeaveEveryPresetAsItWas)
{
    auto product = makeProduct();
    product->setStoringMode (BasePluginOldStyle::automaticStoring);
    const BankSnapshot before (*product);
    int changedRounds = 0;

    raceProgramChanges (*product, 20000, 2000, [&] (WorstMoment& worstMoment)
    {
        worstMoment.arm();
        product->pollAudioFlags();
        product->handleAsyncUpdate(); // publishes the name of the preset just changed to
        product->applyCurrentPreset();
        // Checked after every round, since a later round may swap two names back.
        const BankSnapshot now (*product);
        for (int i : { 1, 2 })
            if (! now.presetEquals (before, i, i))
                ++changedRounds;
    });

    EXPECT_EQ (changedRounds, 0) << "rounds after which preset 1 or 2 was no longer itself";
    const BankSnapshot after (*product);
    for (int i = 0; i < PresetBank::numPresets; ++i)
        EXPECT_TRUE (after.presetEquals (before, i, i)) << "preset " << i << " now \"" << after.names[i] << "\"";
}

// A paste writes the clipboard, whole, into one preset; the other keeps its
// own. Checked after every paste, since a later paste would hide a mix, and
// both put back for the next.
TEST_F (PresetBankProcessor, APasteDuringProgramChangesWritesOnlyTheClipboard)
{
    auto product = makeProduct();
    product->setStoringMode (BasePluginOldStyle::automaticStoring);
    product->setCurrentPreset (3, true);
    product->applyCurrentPreset();
    product->copyCurrentPreset();
    product->setPresetName (3, product->getPresetName (3) + "_copy"); // the clipboard's name, to compare with
    const BankSnapshot before (*product);
    int mixedPastes = 0;

    raceProgramChanges (*product, 20000, 2000, [&] (WorstMoment& worstMoment)
    {
        worstMoment.arm();
        product->pasteCopiedPreset();
        const BankSnapshot now (*product);
        for (int i : { 1, 2 })
        {
            if (! now.presetEquals (before, i, i) && ! now.presetEquals (before, i, 3))
                ++mixedPastes;
            before.restore (*product, i); // so the next paste shows a mix again
        }
    });

    EXPECT_EQ (mixedPastes, 0) << "a preset neither itself nor the clipboard";
    const BankSnapshot after (*product);
    for (int i = 3; i < PresetBank::numPresets; ++i)
        EXPECT_TRUE (after.presetEquals (before, i, i)) << "preset " << i;
    EXPECT_TRUE (after.presetEquals (before, 0, 0));
}

TEST_F (PresetBankProcessor, NotPresetableValuesTravelApartFromPresets)
{
    auto product = makeProduct();
    auto& manager = product->getParameterManager();
    manager.setNormalised (49, 0.3f);
    manager.setNormalised (83, 0.9f);

    const auto element = product->createNotPresetableParamsXml();
    ASSERT_EQ (element->getNumChildElements(), 35);
    EXPECT_EQ (element->getChildElement (0)->getStringAttribute ("name"), "Main Volume");

    auto other = makeProduct();
    auto renamed = std::make_unique<juce::XmlElement> (*element);
    renamed->setTagName ("NotPresetParams");
    ASSERT_TRUE (other->isNotPresetableParamsXml (renamed.get()));

    // A sound parameter named in the element is not taken from it.
    renamed->createNewChildElement ("param")->setAttribute ("name", "Bass Drum Level");
    renamed->getChildElement (35)->setAttribute ("value", "0.01");
    const float bassDrumLevel = other->getParameterManager().getNormalised (0);
    other->readNotPresetableParams (*renamed);

    EXPECT_FLOAT_EQ (other->getParameterManager().getNormalised (49), 0.3f);
    EXPECT_FLOAT_EQ (other->getParameterManager().getNormalised (83), 0.9f);
    EXPECT_FLOAT_EQ (other->getParameterManager().getNormalised (0), bassDrumLevel);
}
} // namespace
