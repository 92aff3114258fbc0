#include "ProductTestSupport.h"

#include "voices/InstrumentSlots.h"
#include "voices/PulsettaCore.h"

#include <atomic>
#include <thread>

namespace
{
juce::MidiMessage on (int key, int velocity = 100) { return juce::MidiMessage::noteOn (1, key, (juce::uint8) velocity); }
juce::MidiMessage off (int key) { return juce::MidiMessage::noteOff (1, key); }

void expectChain (const Pulsetta& product, int first, int last, int bank)
{
    const auto chain = product.getChain();
    EXPECT_EQ ((int) chain.first, first);
    EXPECT_EQ ((int) chain.last, last);
    EXPECT_EQ ((int) chain.bank, bank);
}
} // namespace

TEST_F (ProductTest, PadPlaysItsVoiceInTheNextBlockThroughTheHandOver)
{
    // The open hi-hat pad against the same voice played by a MIDI note of
    // velocity 48: the pad is heard from the next block's first sample, at 48/127.
    auto padded = makeProduct();
    prepare (*padded);
    padded->setInternalSequencer (false);
    run (*padded, 512);
    padded->takeHitFlag (instrument::openHiHat);
    padded->handleEvent (3043);
    EXPECT_FALSE (padded->takeHitFlag (instrument::openHiHat)) << "nothing sounds on the message thread";
    run (*padded, 2048);
    EXPECT_TRUE (padded->takeHitFlag (instrument::openHiHat));
    const auto fromPad = audio;

    head.samplePosition = 0;
    auto played = makeProduct();
    prepare (*played);
    played->setInternalSequencer (false);
    run (*played, 512);
    run (*played, 2048, { { 0, on (keyOf (*played, instrument::openHiHat), 48) } });

    EXPECT_GT (fromPad.getMagnitude (0, 0, 2048), 1.0e-3f);
    for (int i = 0; i < 2048; ++i)
        ASSERT_NEAR (fromPad.getSample (0, i), audio.getSample (0, i), 1.0e-6f) << "sample " << i;

    // The accented twin of the kick pad: 48/127 + 0.377, as a note of that
    // velocity (the note rounds it to 96/127, 0.3% off, squared by the kick).
    padded->handleEvent (3031);
    run (*padded, 1024);
    const auto kickFromPad = audio;
    run (*played, 1024, { { 0, juce::MidiMessage::noteOn (1, keyOf (*played, instrument::bassDrum), 48.0f / 127.0f + 0.377f) } });
    const float padPeak = kickFromPad.getMagnitude (0, 0, 1024);
    EXPECT_GT (padPeak, 1.0e-2f);
    EXPECT_NEAR (padPeak / audio.getMagnitude (0, 0, 1024), 1.0f, 0.01f);
}

TEST_F (ProductTest, BankButtonsGiveTheLowerThenTheUpperBank)
{
    auto product = makeProduct();
    product->setInternalSequencer (true);
    product->setPatternWriteMode (false);
    product->setHostMode (false);

    product->handleEvent (3043); // bank button 14: bank 1
    EXPECT_EQ (product->getChain().pendingBank, 1);
    product->handleEvent (3042); // bank button 13
    EXPECT_EQ (product->getChain().pendingBank, 0);
    product->handleEvent (3042);
    EXPECT_EQ (product->getChain().pendingBank, 4);
    product->handleEvent (3042);
    EXPECT_EQ (product->getChain().pendingBank, 0);
}

TEST_F (ProductTest, StepButtonsPickAChainAndCtrlExtendsIt)
{
    auto product = makeProduct();
    product->setInternalSequencer (true);
    product->handleEvent (3032); // slot 2
    expectChain (*product, 2, 2, 0);
    product->handleEvent (3046 + 6); // Ctrl + step 7
    expectChain (*product, 2, 6, 0);
    product->handleEvent (3046); // Ctrl + step 1: before the start, so the two swap
    expectChain (*product, 0, 2, 0);

    // In another pending bank, Ctrl picks a one-pattern chain there.
    product->handleEvent (3044); // bank 2
    product->handleEvent (3046 + 4);
    expectChain (*product, 4, 4, 2);
    EXPECT_GT (product->patternRefreshes, 0);
}

TEST_F (ProductTest, MidiNotesPickChainsFromHeldKeysAndOnlyFlagTheRefresh)
{
    auto product = makeProduct();
    prepare (*product);
    product->setInternalSequencer (true);
    run (*product, 256);
    product->patternRefreshes = 0;

    // Hold 14 (slot 1), press 19 (slot 4): the range between them.
    run (*product, 512, { { 10, on (14) }, { 300, on (19) } });
    expectChain (*product, 1, 4, 0);
    EXPECT_EQ (product->patternRefreshes, 0) << "the audio thread does not refresh";
    product->pollAudioFlags();
    EXPECT_EQ (product->patternRefreshes, 1);
    product->pollAudioFlags();
    EXPECT_EQ (product->patternRefreshes, 1);

    // Releasing 14 makes 19 the held start: 23 (slot 6) gives 4..6.
    run (*product, 512, { { 0, off (14) }, { 100, on (23) } });
    expectChain (*product, 4, 6, 0);

    // Releasing both, a single key picks one pattern; a bank note then another slot.
    run (*product, 512, { { 0, off (19) }, { 1, off (23) }, { 2, on (31) }, { 3, off (31) } });
    expectChain (*product, 11, 11, 0);
    run (*product, 512, { { 0, on (36) }, { 1, off (36) }, { 2, on (16) }, { 3, off (16) } });
    expectChain (*product, 2, 2, 2);
    run (*product, 256, { { 0, on (36) } });
    EXPECT_EQ (product->getChain().pendingBank, 6) << "a repeated bank note gives the upper bank";

    // Black keys and other notes are not selection notes.
    run (*product, 256, { { 0, on (13) }, { 1, on (40) } });
    expectChain (*product, 2, 2, 2);
}

TEST_F (ProductTest, MidiSelectionIsIgnoredInWriteAndHostModeAndWithTheSequencerOff)
{
    auto product = makeProduct();
    prepare (*product);
    product->setPatternWriteMode (true);
    run (*product, 256, { { 0, on (16) } });
    expectChain (*product, 0, 0, 0);
    product->setPatternWriteMode (false);
    product->setHostMode (true);
    run (*product, 256, { { 0, on (17) } });
    expectChain (*product, 0, 0, 0);
    product->setHostMode (false);
    product->setInternalSequencer (false);
    run (*product, 256, { { 0, on (19) } });
    expectChain (*product, 0, 0, 0);
}

TEST_F (ProductTest, AChainPickedWhilePlayingStartsAtTheNextPatternBoundary)
{
    auto product = makeProduct();
    prepare (*product);
    product->setInternalSequencer (true);
    product->setInternalSync (true);
    head.playing = true;
    head.bpm = 120.0;
    const auto* seq = product->getPulsettaSeq();
    run (*product, 4800);
    EXPECT_EQ (seq->getNativePattern(), 0);

    run (*product, 256, { { 0, on (19) } }); // slot 4
    expectChain (*product, 4, 4, 0);
    EXPECT_EQ (seq->getNativePattern(), 0) << "the playing pattern plays to its end";

    // One pattern of 16 sixteenths at 120 bpm lasts 2 s: 96000 samples at 48 kHz.
    run (*product, 96000 - 4800 - 256 + 2400);
    EXPECT_EQ (seq->getNativePattern(), 4);
}

TEST_F (ProductTest, ChainTravelsInTheStateAndComesBackInANewInstance)
{
    auto product = makeProduct();
    product->getPulsettaSeq()->setChain (3, 5, 2);
    auto state = product->createPluginStateXml();
    ASSERT_NE (state, nullptr);
    auto* first = state->getFirstChildElement();
    ASSERT_NE (first, nullptr);
    EXPECT_EQ (first->getTagName(), "XRState");
    auto* chain = first->getChildByName ("ChainPatterns");
    ASSERT_NE (chain, nullptr);

    auto other = makeProduct();
    other->restorePluginState (*state);
    expectChain (*other, 3, 5, 2);
    EXPECT_EQ (other->createPluginStateXml()->toString(), state->toString());

    // Out of range values are held to the sequencer's ranges.
    chain->setAttribute ("first", 40);
    chain->setAttribute ("last", -3);
    chain->setAttribute ("bank", 99);
    other->restorePluginState (*state);
    const auto held = other->getChain();
    EXPECT_TRUE (held.first >= 0 && held.first <= held.last && held.last < 12);
    EXPECT_TRUE (held.bank >= 0 && held.bank < 8);
}

TEST_F (ProductTest, APatternBankRootReplacesThePatternsAndNothingElse)
{
    auto source = makeProduct();
    auto* sourceSeq = source->getPulsettaSeq();
    sourceSeq->setChain (7, 7, 0);
    sourceSeq->clearEditedPattern(); // pattern 7 emptied
    auto bank = std::make_unique<juce::XmlElement> ("PulsettaBank");
    // As the product writes its own bank: no type attribute.
    auto written = sourceSeq->createBankXml (DrumMachineSeq::singleBank);
    ASSERT_FALSE (written->hasAttribute ("type"));
    bank->addChildElement (written.release());

    auto product = makeProduct();
    product->getParameterManager().setBool (DrumMachine::muteParameter + 2, true);
    product->getPulsettaSeq()->setChain (1, 2, 0);
    EXPECT_NE (product->getPulsettaSeq()->getPatternName (7), juce::String());
    Pattern before;
    ASSERT_TRUE (product->getPulsettaSeq()->copyPattern (7, before));

    product->restorePluginState (*bank);
    Pattern after;
    ASSERT_TRUE (product->getPulsettaSeq()->copyPattern (7, after));
    Pattern expected;
    ASSERT_TRUE (sourceSeq->copyPattern (7, expected));
    for (int track = 0; track < 12; ++track)
        for (int step = 0; step < 16; ++step)
            EXPECT_EQ (after.getStep (track, step), expected.getStep (track, step));
    expectChain (*product, 1, 2, 0);
    EXPECT_TRUE (product->isMuted (2));
    EXPECT_TRUE (product->getParameterManager().getBool (DrumMachine::muteParameter + 2));
}

TEST_F (ProductTest, SoundParametersChangedFromAnotherThreadWhileBlocksRun)
{
    auto product = makeProduct();
    prepare (*product, 64);
    auto& parameters = product->getParameterManager();
    std::atomic<bool> done { false };
    std::thread automation ([&] {
        for (int round = 0; round < 2000; ++round)
            for (int index = 0; index < 49; ++index)
                parameters.setValue (index, (float) ((round + index) % 17) / 16.0f);
        done = true;
    });
    while (! done.load())
        run (*product, 64);
    automation.join();
    run (*product, 64);

    // The last value of every level reached its voice.
    auto& core = *dynamic_cast<PulsettaCore*> (product->getCore());
    for (int voice = 0; voice < instrument::numVoices; ++voice)
        EXPECT_NEAR (core.getVoice (voice).getLevelTarget(), (double) ((1999 + voice) % 17) / 16.0, 1.0e-6) << voice;
}
