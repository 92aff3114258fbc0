// The drum machine's editor on the product: its pages, how the skin follows
// the sequencer's state parameters, the activity lamps and the playing step.
// (What each control does, the pattern name's edit among them, is the built-in
// skin's acceptance test.)
#include "DrumMachineEditorTestSupport.h"

#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/NumericDisplay.h"
#include "toolkit/skin/PatternNumberDisplay.h"

#include <functional>

namespace
{
const char* const filledHint = "Tune the amount of randomised tracks with Level knobs. You may random once again with "
                               "Prev/Next or Accept/Undo the result.";
const char* const emptyHint = "Choose tracks to be randomised. Then you can random a sequence using Prev/Next buttons.";
} // namespace

using DrumMachineEditorPanel = DrumMachineEditorTest;

// The drum machine's pages come first, the bank's "Presets" page among them;
// the base adds "Midi Control" alone.
TEST_F (DrumMachineEditorPanel, AddsItsPagesAmongTheOthersAndFindsItsControls)
{
    auto& e = editor();
    EXPECT_EQ (e.getOptionsWindow().getTabs().getTabNames(),
               juce::StringArray ({ "Outputs", "Sequencer", "Presets", "Patterns", "Drum map", "Midi Control" }));

    // Every track's knobs and lamp; the accent has no activity lamp nor select button.
    for (int t = 0; t < DrumMachine::numTracks; ++t)
    {
        const auto& track = e.getTrackControls (t);
        EXPECT_EQ (track.activityLed != nullptr && track.selectButton != nullptr, t != DrumMachine::accentTrack) << t;
        EXPECT_TRUE (track.levelKnob != nullptr && track.randThresholdKnob != nullptr && track.levelModeLed != nullptr) << t;
    }
}

// Each state parameter's value, once its deferred notification is
// delivered, shows on the controls it drives.
TEST_F (DrumMachineEditorPanel, TheSkinFollowsEveryStateParameterItWatches)
{
    auto& e = editor();
    auto& status = e.getStatusBar();
    auto& bassDrum = e.getTrackControls (0);
    auto& accent = e.getTrackControls (DrumMachine::accentTrack);
    auto blinking = [] (GUIController* c) { return c != nullptr && c->isBlinking(); };
    auto enabled = [] (juce::Component* c) { return c != nullptr && c->isEnabled(); };
    auto takesClicks = [] (juce::Component* c) {
        bool self = false, children = false;
        c->getInterceptsMouseClicks (self, children);
        return self;
    };
    auto stepBlinks = [&] (int step) { return blinking (e.getStepButton (step)); };

    struct Row
    {
        int id;
        bool value;
        std::function<void()> before; // may be empty
        std::function<bool()> shows;
    };
    const Row rows[] = {
        { 3000, false, {}, [&] { return ! enabled (e.getPatternNumberDisplay()) && ! enabled (e.getPatternNameDisplay()); } },
        { 3000, true, {}, [&] { return enabled (e.getPatternNumberDisplay()) && enabled (e.getPatternNameDisplay()); } },
        { 3001, false, {}, [&] { return ! enabled (e.getTempoDisplay()); } },
        { 3001, true, {}, [&] { return enabled (e.getTempoDisplay()); } },
        { 3002, true, {}, [&] { return e.getPatternNumberDisplay()->getMode() == PatternNumberDisplay::noteMode; } },
        { 3002, false, {}, [&] { return e.getPatternNumberDisplay()->getMode() == PatternNumberDisplay::bankAndSlotMode; } },
        { 3005, true, {}, [&] { return enabled (e.getShuffleKnob()) && enabled (e.getFlamKnob()); } },
        { 3005, false, {}, [&] { return ! enabled (e.getShuffleKnob()) && ! enabled (e.getFlamKnob()); } },
        { 3008, true, {}, [&] { return blinking (e.getRandomModeButton()); } },
        { 3008, false, [&] { status.showMessage ("hint", 4); }, [&] { return ! blinking (e.getRandomModeButton()) && status.getMessage().isEmpty(); } },
        { 3008, false, [&] { status.showMessage ("learning", 7); }, [&] { return status.getMessage() == "learning"; } },
        { 3009, true, {}, [&] { return status.getMessage() == filledHint && status.getPriority() == 4; } },
        { 3010, true, {}, [&] { return status.getMessage() == emptyHint && status.getPriority() == 4; } },
        { 3011, true, {}, [&] { return blinking (e.getLengthButton()) && status.getMessage() == "Set pattern length using step buttons."; } },
        { 3011, false, {}, [&] { return ! blinking (e.getLengthButton()); } },
        { 3014, true, {}, [&] { return blinking (e.getPatternNameDisplay()) && e.getPatternNameDisplay()->getBlinkPeriod() == 200; } },
        { 3014, false, {}, [&] { return ! blinking (e.getPatternNameDisplay()); } },
        { 3017, true, {}, [&] { return status.getMessage() == "Tracks have been copied to clipboard."; } },
        { 3018, true, {}, [&] { return status.getMessage() == "Pattern has been copied to clipboard."; } },
        { 3025, true, {}, [&] { return takesClicks (e.getPatternNameDisplay()); } },
        { 3025, false, {}, [&] { return ! takesClicks (e.getPatternNameDisplay()); } },
        { 3026, true, {}, [&] { return e.isTempoDisplayDraggable() && enabled (e.getTempoKnob()); } },
        { 3026, false, {}, [&] { return ! e.isTempoDisplayDraggable() && ! enabled (e.getTempoKnob()); } },
        { 107, true, {}, [&] { return ! bassDrum.levelKnob->isVisible() && bassDrum.randThresholdKnob->isVisible() && blinking (bassDrum.levelModeLed); } },
        { 107, false, {}, [&] { return bassDrum.levelKnob->isVisible() && ! bassDrum.randThresholdKnob->isVisible() && ! blinking (bassDrum.levelModeLed); } },
        { 118, true, {}, [&] { return ! accent.levelKnob->isVisible() && accent.randThresholdKnob->isVisible() && blinking (accent.levelModeLed); } },
        { 131, true, {}, [&] { return blinking (bassDrum.selectButton); } },
        { 131, false, {}, [&] { return ! blinking (bassDrum.selectButton); } },
        { 142, true, {}, [] { return true; } }, // the accent has no select button
        { 3078, true, {}, [&] { return stepBlinks (0) && ! stepBlinks (15); } },
        { 3093, true, {}, [&] { return stepBlinks (15); } },
        { 3078, false, {}, [&] { return ! stepBlinks (0) && stepBlinks (15); } },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (juce::String (row.id) + (row.value ? " on" : " off"));
        status.clearMessage (-1);
        if (row.before)
            row.before();
        auto& parameter = toolkit_test::ref (parameters().getParameter (row.id));
        parameter.setBool (! row.value, false); // so that the value is told even when it stays
        parameter.setBool (row.value, true);
        flush();
        EXPECT_TRUE (row.shows());
    }
}

// Notifications coalesce per parameter, so a host-mode pattern number can
// arrive while the display still counts banks and slots; the mode change
// then shows the number itself, not what the old range cut it to.
TEST_F (DrumMachineEditorPanel, APatternNumberThatCameBeforeItsModeIsShownWhole)
{
    auto& display = toolkit_test::ref (editor().getPatternNumberDisplay());
    parameters().setBool (3002, false);
    flush();
    ASSERT_EQ (display.getMode(), PatternNumberDisplay::bankAndSlotMode);

    parameters().setInt (3023, 107); // the highest note of host mode, told first
    flush();
    ASSERT_EQ (display.getValue(), 96) << "the bank-and-slot range ends at 96";
    parameters().setBool (3002, true);
    flush();
    EXPECT_EQ (display.getMode(), PatternNumberDisplay::noteMode);
    EXPECT_EQ (display.getValue(), 107);
}

TEST_F (DrumMachineEditorPanel, AHitLightsItsVoicesLampForItsTime)
{
    prepare (*product, head, 256);
    auto& bassDrumLamp = toolkit_test::ref (editor().getTrackControls (0).activityLed);
    auto& snareLamp = toolkit_test::ref (editor().getTrackControls (1).activityLed);

    product->queuePadTrigger (0, 1.0f);
    run (*product, head, 256, 256);
    editor().timerUpdate();
    EXPECT_EQ (bassDrumLamp.getButtonStateIndex(), 1);
    EXPECT_EQ (snareLamp.getButtonStateIndex(), 0);
    EXPECT_EQ (editor_testing::flashTimerOf (bassDrumLamp).getTimerInterval(), 175);

    editor_testing::flashTimerOf (bassDrumLamp).timerCallback(); // 175 ms later
    EXPECT_EQ (bassDrumLamp.getButtonStateIndex(), 0);
    editor().timerUpdate();
    EXPECT_EQ (bassDrumLamp.getButtonStateIndex(), 0) << "the flag was taken once";
}

// While the sequencer plays, the button of the step that sounded last is
// marked, and no other; stopped, none is.
TEST_F (DrumMachineEditorPanel, TheStepThatSoundsIsMarked)
{
    prepare (*product, head, 256);
    product->handleEvent (3004); // write mode
    auto& sequencer = *product->getSequencer();
    sequencer.clearEditedPattern();
    for (int step = 0; step < 16; ++step)
        sequencer.setStep (0, step, sequencer.getStepOnValue()); // the bass drum on every step
    auto marked = [this] {
        std::vector<int> steps;
        for (int s = 0; s < PulsettaEditor::numStepButtons; ++s)
            if (editor().getStepButton (s)->isHighlighted())
                steps.push_back (s);
        return steps;
    };

    product->handleEvent (3010); // start
    int hits = 0;
    for (int stretch = 0; stretch < 60; ++stretch) // 1000 samples each
    {
        for (const auto& note : run (*product, head, 1000, 256).midi)
            hits += note.status == 0x90 && note.key == keyOf (*product, 0) ? 1 : 0;
        product->pollAudioFlags();
        if (hits > 0)
        {
            ASSERT_EQ (marked(), std::vector<int> { (hits - 1) % sequencer.getEditedPatternLength() }) << "after " << hits << " steps";
        }
    }
    EXPECT_GT (hits, 4);

    product->handleEvent (3010); // stop
    run (*product, head, 256, 256);
    product->pollAudioFlags();
    EXPECT_TRUE (marked().empty());
}
