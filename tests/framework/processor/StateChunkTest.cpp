#include "ProcessorTestSupport.h"

#include "framework/processor/StateChunk.h"

namespace
{
using StateChunk = ProcessorTest;

// Everything a chunk can change, as text, to compare two moments.
juce::String stateOf (TestProduct& product)
{
    juce::String text;
    for (int i = 0; i < 84; ++i)
        text << product.getParameterManager().getValue (i) << ";";

    text << "current " << product.getCurrentPreset() << "; ";
    text << product.createPresetBankXml()->toString();
    text << product.getMidiControl().createXml()->toString();
    return text;
}

juce::MemoryBlock chunkOf (TestProduct& product)
{
    juce::MemoryBlock chunk;
    product.getStateInformation (chunk);
    return chunk;
}

juce::MemoryBlock chunkOfText (const juce::String& xml)
{
    juce::MemoryBlock chunk;
    statechunk::write (*juce::XmlDocument::parse (xml), chunk);
    return chunk;
}

TEST_F (StateChunk, EveryValueAndTheCurrentPresetComeBackInANewInstance)
{
    juce::MemoryBlock chunk;
    juce::String saved;

    {
        auto product = makeProduct();
        product->getPreset (7)->setValue (15, 0.875f);
        product->setPresetName (7, "Seven");
        product->setCurrentPreset (7, true);
        product->applyCurrentPreset();

        // Edits after the preset, through the host and through the manager,
        // with values that need every digit.
        product->setParameter (0, 0.123456789f);
        product->setParameter (83, 1.0f / 3.0f);
        product->getParameterManager().setNormalised (49, 0.7071f);
        product->getParameterManager().setNormalised (60, 1.0f);
        product->getMidiControl().assign (7, product->getParameterManager().getParameter (49), true);

        chunk = chunkOf (*product);
        saved = stateOf (*product);
    }

    auto restored = makeProduct();
    restored->setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_EQ (stateOf (*restored), saved);
    EXPECT_EQ (restored->getParameterManager().getNormalised (0), 0.123456789f);
    EXPECT_EQ (restored->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "Seven");
}

TEST_F (StateChunk, BadChunksLeaveTheStateAsItWas)
{
    auto product = makeProduct();
    product->setParameter (2, 0.9f);
    product->setCurrentPreset (4, true);
    const auto before = stateOf (*product);

    juce::MemoryBlock good;
    {
        auto other = makeProduct();
        other->setParameter (2, 0.1f);
        other->setCurrentPreset (9, true);
        good = chunkOf (*other);
    }

    std::vector<juce::MemoryBlock> bad;
    juce::MemoryBlock noise (4096);
    juce::Random (42).fillBitsRandomly (noise.getData(), noise.getSize());
    bad.push_back (noise);
    bad.emplace_back (good.getData(), good.getSize() / 2); // truncated
    bad.emplace_back (good.getData(), (size_t) 6);         // shorter than the header

    // A wrong magic, then a stored length too long, zero and too short.
    const std::pair<int, juce::uint32> damage[] = { { 0, 0x55u }, { 1, (juce::uint32) good.getSize() * 2 }, { 1, 0u }, { 1, 100u } };
    for (auto& [word, value] : damage)
    {
        auto damaged = good;
        auto* words = static_cast<juce::uint32*> (damaged.getData());
        words[word] = word == 0 ? words[0] ^ value : value;
        bad.push_back (damaged);
    }

    bad.push_back (chunkOfText ("<PresetBank name=\"x\"/>"));
    bad.push_back (chunkOfText ("<PluginState application=\"Other\"><ParametersState><param name=\"Low Tom Level\" value=\"0.1\"/></ParametersState></PluginState>"));

    for (size_t i = 0; i < bad.size(); ++i)
    {
        product->setStateInformation (bad[i].getData(), (int) bad[i].getSize());
        EXPECT_EQ (stateOf (*product), before) << "bad chunk " << i;
    }

    product->setStateInformation (nullptr, 0);
    EXPECT_EQ (stateOf (*product), before);
}

TEST_F (StateChunk, OnlyValidlyNamedValuesAreTaken)
{
    auto product = makeProduct();
    product->setCurrentPreset (4, true);

    const auto chunk = chunkOfText (
        "<PluginState application=\"PULSETTA\"><ParametersState>"
        "<param name=\"Bass Drum Level\" value=\"nan\"/>"
        "<param name=\"Snare Drum Level\" value=\"inf\"/>"
        "<param name=\"Low Tom Level\" value=\"0.25\"/>"
        "<param name=\"Mid Tom Level\" value=\"7\"/>"
        "<param name=\"Bass Drum Output Number\" value=\"0.9\"/>"
        "<param name=\"Current Preset Number\" value=\"0.9\"/>"
        "<param name=\"Nobody\" value=\"0.9\"/>"
        "</ParametersState><PresetsState currentPreset=\"-1\"/></PluginState>");

    auto& manager = product->getParameterManager();
    const float bassDrumLevel = manager.getNormalised (0), snareDrumLevel = manager.getNormalised (1);
    product->setStateInformation (chunk.getData(), (int) chunk.getSize());
    const float expected[] = { bassDrumLevel, snareDrumLevel, 0.25f, 1.0f }; // nan and inf never enter, 7 is clamped
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ (manager.getNormalised (i), expected[i]) << i;
    EXPECT_FLOAT_EQ (manager.getValue (84), 1.0f);
    EXPECT_EQ (product->getCurrentPreset(), 4);

    const auto beyond = chunkOfText ("<PluginState application=\"Pulsetta\"><PresetsState currentPreset=\"128\"/></PluginState>");
    product->setStateInformation (beyond.getData(), (int) beyond.getSize());
    EXPECT_EQ (product->getCurrentPreset(), 4);
}

TEST_F (StateChunk, TheChunkHoldsTheSectionsInOrderAndTellsTheListeners)
{
    auto product = makeProduct();

    struct Counter : BasePlugin::Listener
    {
        void pluginStateRestored (BasePlugin&) override { ++restored; }
        void pluginStateSaved (BasePlugin&) override { ++saved; }
        int restored = 0, saved = 0;
    } counter;

    product->BasePlugin::addListener (&counter);
    const auto chunk = chunkOf (*product);
    const auto state = statechunk::read (chunk.getData(), (int) chunk.getSize());
    ASSERT_NE (state, nullptr);
    EXPECT_EQ (state->getStringAttribute ("application"), "Pulsetta");
    ASSERT_EQ (state->getNumChildElements(), 3);
    EXPECT_EQ (state->getChildElement (0)->getTagName(), "ParametersState");
    EXPECT_EQ (state->getChildElement (0)->getNumChildElements(), 84);
    EXPECT_EQ (state->getChildElement (1)->getTagName(), "PresetsState");
    EXPECT_EQ (state->getChildElement (2)->getTagName(), "MidiControlMap");

    // The library's own reader reads our frame.
    EXPECT_NE (juce::AudioProcessor::getXmlFromBinary (chunk.getData(), (int) chunk.getSize()), nullptr);

    const char garbage[] = "garbage";
    product->setStateInformation (garbage, (int) sizeof (garbage));
    deliverMessages();
    EXPECT_EQ (counter.saved, 1);
    EXPECT_EQ (counter.restored, 1);
    product->BasePlugin::removeListener (&counter);
}

TEST_F (StateChunk, TheProgramChunkIsTheCurrentPreset)
{
    auto product = makeProduct();
    product->setCurrentPreset (2, true);
    product->getParameterManager().setNormalised (20, 0.125f);
    product->storeParametersInPreset (2);

    juce::MemoryBlock chunk;
    product->getCurrentProgramStateInformation (chunk);
    const auto preset = statechunk::read (chunk.getData(), (int) chunk.getSize());
    ASSERT_NE (preset, nullptr);
    EXPECT_EQ (preset->getTagName(), "Preset");

    auto other = makeProduct();
    other->setCurrentPreset (5, true);
    other->setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_FLOAT_EQ (other->getPreset (5)->getValue (20), 0.125f);
    EXPECT_FLOAT_EQ (other->getParameterManager().getNormalised (20), 0.125f);
    EXPECT_EQ (other->getPresetName (5), product->getPresetName (2));
}

TEST_F (StateChunk, APendingProgramChangeDoesNotOverrideARestoredChunk)
{
    juce::MemoryBlock chunk;
    {
        auto product = makeProduct();
        product->getParameterManager().setNormalised (30, 0.01f);
        chunk = chunkOf (*product);
    }

    auto product = makeProduct();
    product->prepareToPlay (44100.0, 64);
    product->handleProgramChange (3);
    product->setStateInformation (chunk.getData(), (int) chunk.getSize());

    juce::AudioBuffer<float> buffer (12, 64);
    juce::MidiBuffer midi;
    product->processBlock (buffer, midi);

    EXPECT_EQ (product->getCurrentPreset(), 0);
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (30), 0.01f);
}
} // namespace
