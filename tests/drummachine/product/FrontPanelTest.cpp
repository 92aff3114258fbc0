#include "ProductTestSupport.h"

#include <utility>

// The front panel as the editor drives it: events in, state parameters out.
namespace
{
enum
{
    toggleIntSeq = 3000, toggleSync, toggleHost, toggleNoteOff, toggleWrite, toggleFollow, toggleRandomizer,
    toggleLength, toggleTap, toggleFlam, startStop, startEvent, stopEvent, tapEvent, tapAccented,
    shiftLeft, shiftRight, shiftLeftAll, shiftRightAll, prevEvent, nextEvent, acceptEvent, undoEvent,
    copyTracks, copyPattern, pasteEvent, clearEvent, clearAll, pressStep = 3030, pressCtrl = 3046,
    pressShift = 3062, scale6 = 3078, scale3, scale8, scale4
};

constexpr int selectTrackEvent = 44, toggleSelectionEvent = 56;

class FrontPanel : public ProductTest
{
protected:
    FrontPanel() : product (makeProduct()), parameters (product->getParameterManager()) {}

    bool state (int id) const { return parameters.getBool (id); }
    float value (int id) const { return parameters.getValue (id); }
    int step (int track, int s) const { return product->getSequencer()->getStep (track, s); }
    int countSteps (int track, bool (*matches) (int)) const
    {
        int count = 0;
        for (int s = 0; s < 16; ++s)
            count += matches (step (track, s)) ? 1 : 0;
        return count;
    }

    // The modes every check below starts from: sequencer on, write mode on.
    void enterWriteMode()
    {
        if (! product->isInternalSequencerOn())
            product->handleEvent (toggleIntSeq);
        if (! product->isPatternWriteMode())
            product->handleEvent (toggleWrite);
    }

    std::unique_ptr<CountingPulsetta> product;
    ParameterManager& parameters;
};
} // namespace

TEST_F (FrontPanel, ModeTogglesFollowTheirRulesAndTheStateTable)
{
    product->handleEvent (toggleIntSeq);
    product->handleEvent (toggleWrite);
    EXPECT_FALSE (product->isPatternWriteMode()) << "ignored with the sequencer off";
    EXPECT_FALSE (state (3000));

    product->handleEvent (toggleIntSeq);
    EXPECT_TRUE (state (3000));
    EXPECT_TRUE (state (3001)) << "internal sync is on by default";
    EXPECT_TRUE (state (3006));
    EXPECT_FALSE (state (3005));
    EXPECT_TRUE (state (3014)) << "native mode ready";

    product->handleEvent (toggleLength);
    EXPECT_FALSE (product->isLengthMode()) << "length mode needs editing";

    product->handleEvent (toggleWrite);
    EXPECT_TRUE (state (3005));
    EXPECT_TRUE (state (3025));
    EXPECT_FALSE (state (3014));

    product->handleEvent (toggleTap);
    EXPECT_TRUE (state (3012));
    EXPECT_TRUE (state (3007)) << "following or tapping";
    product->handleEvent (toggleLength);
    EXPECT_TRUE (state (3011));
    EXPECT_FALSE (state (3012)) << "length mode switches tap mode off";
    EXPECT_FALSE (state (3007));
    product->handleEvent (toggleRandomizer);
    EXPECT_TRUE (state (3008));
    EXPECT_TRUE (state (3010)) << "on but not filled";
    product->handleEvent (toggleTap);
    EXPECT_FALSE (state (3011));
    EXPECT_FALSE (state (3008)) << "tap mode switches length and randomiser off";

    product->handleEvent (toggleFollow);
    EXPECT_FALSE (product->isAutoFollow()) << "not while tapping";
    product->handleEvent (toggleTap);
    product->handleEvent (toggleFollow);
    EXPECT_TRUE (product->isAutoFollow());
    EXPECT_TRUE (state (3007));

    product->handleEvent (toggleFlam);
    EXPECT_TRUE (state (3013));

    product->handleEvent (toggleHost);
    EXPECT_TRUE (state (3002));
    product->handleEvent (toggleWrite);
    EXPECT_TRUE (product->isPatternWriteMode()) << "write mode does not change in host mode";

    // The sequencer off makes every mode state 0.
    product->handleEvent (toggleIntSeq);
    for (int id : { 3000, 3001, 3002, 3003, 3005, 3006, 3007, 3008, 3011, 3012, 3013, 3014, 3025, 3026 })
        EXPECT_FALSE (state (id)) << id;
    EXPECT_EQ (value (3023), 0.0f);
    EXPECT_EQ (parameters.toString (3024), "");
}

TEST_F (FrontPanel, StartAndStopAreRequestsForTheNextBlock)
{
    prepare (*product);
    product->setInternalSync (false);
    product->handleEvent (startEvent);
    EXPECT_FALSE (product->getNativeClock().isRunning());
    run (*product, 512);
    EXPECT_TRUE (product->getNativeClock().isRunning());
    product->pollAudioFlags();
    EXPECT_TRUE (state (3004));
    product->handleEvent (startStop);
    run (*product, 512);
    EXPECT_FALSE (product->getNativeClock().isRunning());
    product->pollAudioFlags();
    EXPECT_FALSE (state (3004));
}

TEST_F (FrontPanel, StartStopAfterALowestCStartStopsWithOnePress)
{
    prepare (*product);
    product->setInternalSync (false);
    product->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    run (*product, 6000 * 3, { { 10, juce::MidiMessage::noteOn (1, 0, (juce::uint8) 100) } });
    ASSERT_TRUE (product->getNativeClock().isRunning());

    product->handleEvent (startStop);
    run (*product, 256);
    EXPECT_FALSE (product->getNativeClock().isRunning());
    product->handleEvent (startStop);
    run (*product, 256);
    EXPECT_TRUE (product->getNativeClock().isRunning()) << "and the next press starts again";
}

TEST_F (FrontPanel, PatternSelectCopyPasteAndClear)
{
    enterWriteMode();
    EXPECT_EQ (value (3023), 1.0f);
    product->handleEvent (nextEvent);
    product->handleEvent (nextEvent);
    EXPECT_EQ (value (3023), 3.0f);
    EXPECT_EQ (parameters.toString (3024), product->getSequencer()->getPatternName (2));
    product->handleEvent (prevEvent);
    EXPECT_EQ (value (3023), 2.0f);

    // Copy pattern 2, paste it over pattern 4.
    product->handleEvent (copyPattern);
    EXPECT_TRUE (state (3018));
    EXPECT_FALSE (state (3017));
    Pattern copied;
    product->getSequencer()->copyPattern (1, copied);
    product->handleEvent (nextEvent);
    product->handleEvent (nextEvent);
    product->handleEvent (pasteEvent);
    Pattern pasted;
    product->getSequencer()->copyPattern (3, pasted);
    EXPECT_EQ (pasted, copied);

    // Copy the selected rows; Undo forgets the clipboard.
    product->handleEvent (copyTracks);
    EXPECT_TRUE (state (3017));
    EXPECT_FALSE (state (3018));
    product->handleEvent (undoEvent);
    EXPECT_FALSE (state (3017));

    // Clear the selected track, then the whole pattern.
    product->handleEvent (selectTrackEvent + 7); // closed hi-hat
    product->handleEvent (clearEvent);
    EXPECT_EQ (countSteps (7, [] (int v) { return v != 0; }), 0);
    product->handleEvent (clearAll);
    for (int t = 0; t < 12; ++t)
        EXPECT_EQ (countSteps (t, [] (int v) { return v != 0; }), 0) << t;
}

TEST_F (FrontPanel, BrowsingThePatternsInWriteModeChangesNone)
{
    enterWriteMode();
    auto* seq = product->getSequencer();
    auto bank = [&] {
        juce::StringArray patterns;
        for (int i = 0; i < 96; ++i)
            patterns.add (seq->createPatternXml (i, DrumMachineSeq::singleBank)->toString());
        return patterns;
    };
    const auto before = bank();
    for (int i = 0; i < 95; ++i)
        product->handleEvent (nextEvent);
    for (int i = 0; i < 95; ++i)
        product->handleEvent (prevEvent);
    const auto after = bank();
    int changed = 0;
    for (int i = 0; i < 96; ++i)
        changed += after[i] != before[i] ? 1 : 0;
    EXPECT_EQ (changed, 0);

    // Playback's follow may move the edit cursor while the pattern fields are
    // shown; what they show is never written into the pattern it moved to.
    struct CursorMover : Parameter::Listener
    {
        DrumMachineSeq* seq;
        bool armed = true;
        void parameterChanged (Parameter*) override
        {
            if (std::exchange (armed, false))
                seq->editNextPattern();
        }
    } mover;
    mover.seq = seq;
    for (const int field : { 3024, 3028 })
    {
        if (field == 3024)
            seq->setEditedPatternName ("Shown");
        else
            seq->setEditedPatternShuffle (0.4);
        const auto next = seq->createPatternXml (seq->getEditedPatternIndex() + 1, DrumMachineSeq::singleBank)->toString();
        mover.armed = true;
        parameters.getParameter (field)->addListener (&mover); // told before the drum machine
        product->refreshPatternState();
        parameters.getParameter (field)->removeListener (&mover);
        EXPECT_EQ (seq->createPatternXml (seq->getEditedPatternIndex(), DrumMachineSeq::singleBank)->toString(), next) << field;
        product->handleEvent (prevEvent);
    }

    // A change of the user's is written.
    parameters.setValue (3028, 0.25f);
    EXPECT_NEAR (seq->getEditedPatternShuffle(), 0.25, 1.0e-6);
}

TEST_F (FrontPanel, StepPressesToggleOneTrackAndSetSeveralToOneValue)
{
    enterWriteMode();
    product->handleEvent (clearAll);
    product->handleEvent (selectTrackEvent + 0);
    EXPECT_EQ (value (3015), 0.0f);
    EXPECT_EQ (value (3016), 1.0f);
    EXPECT_TRUE (state (119));

    product->handleEvent (pressStep + 2);
    EXPECT_EQ (step (0, 2), 1);
    EXPECT_EQ (value (3046 + 2), 0.5f) << "half lit for an on step";
    product->handleEvent (pressStep + 2);
    EXPECT_EQ (step (0, 2), 2);
    EXPECT_EQ (value (3046 + 2), 1.0f) << "lit for a strong step";

    // Two tracks: their differing values give the off value, so both become on.
    product->handleEvent (toggleSelectionEvent + 1);
    EXPECT_TRUE (state (120));
    product->handleEvent (pressStep + 2);
    EXPECT_EQ (step (0, 2), 1);
    EXPECT_EQ (step (1, 2), 1);

    // Ctrl clears, Shift gives the value after on.
    product->handleEvent (pressCtrl + 2);
    EXPECT_EQ (step (0, 2), 0);
    EXPECT_EQ (step (1, 2), 0);
    product->handleEvent (pressShift + 5);
    EXPECT_EQ (step (0, 5), 2);
    EXPECT_EQ (step (1, 5), 2);

    // The last selected track cannot be deselected.
    product->handleEvent (toggleSelectionEvent + 1);
    product->handleEvent (toggleSelectionEvent + 0);
    EXPECT_TRUE (product->isTrackSelected (0));

    // The accent selection counts first in 3016.
    product->handleEvent (selectTrackEvent + 11);
    EXPECT_EQ (value (3015), 11.0f);
    EXPECT_EQ (value (3016), 0.0f);
}

TEST_F (FrontPanel, LengthModeSetsTheLengthAndLightsEveryStep)
{
    enterWriteMode();
    product->handleEvent (toggleLength);
    for (int s = 0; s < 16; ++s)
    {
        EXPECT_EQ (value (3046 + s), 1.0f);
        EXPECT_TRUE (state (3078 + s)) << "every step blinks in length mode";
    }
    product->handleEvent (pressStep + 9);
    EXPECT_EQ (product->getSequencer()->getEditedPatternLength(), 10);
    EXPECT_TRUE (state (3030 + 9));
    EXPECT_FALSE (state (3030 + 10));
    EXPECT_EQ (product->getDisplayedStep(), -1);
}

TEST_F (FrontPanel, ScaleSelection)
{
    enterWriteMode();
    EXPECT_TRUE (state (3022));
    product->handleEvent (scale3);
    EXPECT_EQ (product->getSequencer()->getEditedPatternScale(), 3);
    EXPECT_TRUE (state (3020));
    EXPECT_FALSE (state (3022));
    product->handleEvent (scale8);
    EXPECT_TRUE (state (3021));
}

TEST_F (FrontPanel, TapsGoThroughTheHandOverOnTheSelectedTracks)
{
    prepare (*product);
    enterWriteMode();
    product->handleEvent (clearAll);
    product->handleEvent (selectTrackEvent + 1);
    product->handleEvent (toggleTap);
    product->setInternalSync (false);
    product->handleEvent (startEvent);
    run (*product, 256);
    product->takeHitFlag (1);

    // A tap on the snare pad (step button 3 in tap mode) is played by the next block.
    product->handleEvent (3032);
    EXPECT_FALSE (product->takeHitFlag (1));
    run (*product, 256);
    EXPECT_TRUE (product->takeHitFlag (1));
    EXPECT_EQ (countSteps (1, [] (int v) { return v == 1; }), 1) << "written once, at the step that plays";

    // "Tap Accented" queues every selected track with the strong value.
    product->handleEvent (tapAccented);
    run (*product, 256);
    EXPECT_EQ (countSteps (1, [] (int v) { return v == 2; }), 1);
}

TEST_F (FrontPanel, TheTapModeLightAndTheDisplayedStepShowTheStepSounding)
{
    prepare (*product);
    enterWriteMode();
    product->handleEvent (toggleTap);
    product->getSequencer()->setEditedPatternShuffle (0.0);
    product->setInternalSync (false);
    product->handleEvent (startEvent);
    // At 120 bpm, 48 kHz a step lasts 6000 samples: after 30100 steps 0 to 5
    // have started, and step 5 sounds.
    run (*product, 6000 * 5 + 100);
    product->refreshStepStates();
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ (value (3046 + s), s == 5 ? 1.0f : 0.0f) << s;
    EXPECT_EQ (product->getDisplayedStep(), 5);

    // Past the pattern's end the first step of the next pass sounds.
    run (*product, 6000 * 11);
    product->refreshStepStates();
    EXPECT_EQ (value (3046), 1.0f);
    EXPECT_EQ (product->getDisplayedStep(), 0);
}

TEST_F (FrontPanel, MuteSoloAndTheirInverses)
{
    product->handleEvent (2); // toggle low tom mute
    EXPECT_TRUE (product->isMuted (2));
    EXPECT_TRUE (parameters.getBool (52));
    product->handleEvent (2);
    EXPECT_FALSE (product->isMuted (2));

    product->handleEvent (11 + 4); // inverse hi tom mute, not muted: the others unmuted, it muted
    EXPECT_TRUE (product->isMuted (4));
    EXPECT_FALSE (product->isMuted (0));
    product->handleEvent (11 + 4); // now muted: the others muted, it unmuted
    EXPECT_FALSE (product->isMuted (4));
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ (product->isMuted (i), i != 4) << i;

    product->handleEvent (22 + 3); // toggle mid tom solo
    EXPECT_TRUE (product->isSoloed (3));
    product->handleEvent (33 + 3); // inverse: it was soloed, so every other soloed, it not
    EXPECT_FALSE (product->isSoloed (3));
    EXPECT_TRUE (product->isSoloed (9));
}

TEST_F (FrontPanel, RandomiserDrawsAcceptsAndUndoes)
{
    enterWriteMode();
    product->handleEvent (clearAll);
    product->handleEvent (selectTrackEvent + 7);
    product->handleEvent (toggleRandomizer);
    EXPECT_TRUE (state (3010));
    product->handleEvent (nextEvent);
    EXPECT_TRUE (state (3009)) << "a result is there";
    EXPECT_EQ (value (3023), 1.0f) << "Next drew a result instead of moving the cursor";
    EXPECT_TRUE (state (107 + 7));
    EXPECT_TRUE (state (131 + 7)) << "the chosen track is the one shown";

    // The default threshold 0.2 lets 4 steps through; the lights show them.
    int lit = 0;
    for (int s = 0; s < 16; ++s)
        lit += value (3046 + s) > 0.0f ? 1 : 0;
    EXPECT_EQ (lit, 4);

    product->handleEvent (undoEvent);
    EXPECT_FALSE (state (3009));
    EXPECT_EQ (countSteps (7, [] (int v) { return v != 0; }), 0) << "undo brings the track back";

    product->handleEvent (nextEvent);
    parameters.setValue (72 + 7, 0.5f); // threshold: 8 steps
    product->handleEvent (acceptEvent);
    EXPECT_EQ (countSteps (7, [] (int v) { return v != 0; }), 8);
}

TEST_F (FrontPanel, TextsOfTheParameters)
{
    parameters.setValue (0, 0.5f);
    EXPECT_EQ (product->getParameterTextById (0), "0.500");
    parameters.setBool (50, true);
    EXPECT_EQ (product->getParameterTextById (50), "On");
    EXPECT_EQ (product->getParameterTextById (61), "Off");
    parameters.setValue (72, 0.125f);
    EXPECT_EQ (product->getParameterTextById (72), "13%");
    EXPECT_EQ (product->getParameterTextById (84), parameters.toString (84));
    enterWriteMode();
    EXPECT_EQ (product->getParameterTextById (3027), juce::String (product->getSequencer()->getEditedPatternTempo(), 1));
    EXPECT_TRUE (product->getParameterTextById (3028).endsWith ("%"));
    EXPECT_EQ (product->getParameterTextById (3000), "");
    EXPECT_EQ (product->getParameterTextById (99999), "");
}
