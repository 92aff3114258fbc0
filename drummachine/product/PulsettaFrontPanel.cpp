// The step buttons, the pattern-selection notes and the step lights.
#include "drummachine/product/Pulsetta.h"

namespace
{
// Step buttons 1..16 as pads: the instrument and whether the button is its
// accented twin.
struct PadButton
{
    int instrument;
    bool strong;
};

constexpr PadButton padButtons[Pulsetta::numStepButtons] = {
    { 0, false }, { 0, true }, { 1, false }, { 1, true }, { 2, false }, { 2, true }, { 3, false }, { 3, true },
    { 4, false }, { 4, true }, { 5, false }, { 6, false }, { 7, false }, { 8, false }, { 9, false }, { 10, false },
};

constexpr int numSlotButtons = 12; // buttons 1..12 pick a slot, 13..16 a bank
constexpr int slotKeys[numSlotButtons] = { 12, 14, 16, 17, 19, 21, 23, 24, 26, 28, 29, 31 };
constexpr int bankKeys[4] = { 33, 35, 36, 38 };

bool isWhiteKey (int key) noexcept
{
    const int pitchClass = key % 12;
    return pitchClass == 0 || pitchClass == 2 || pitchClass == 4 || pitchClass == 5 || pitchClass == 7 || pitchClass == 9
           || pitchClass == 11;
}

int slotOfKey (int key) noexcept
{
    for (int slot = 0; slot < numSlotButtons; ++slot)
        if (slotKeys[slot] == key)
            return slot;
    return -1;
}

int bankOfKey (int key) noexcept
{
    for (int bank = 0; bank < 4; ++bank)
        if (bankKeys[bank] == key)
            return bank;
    return -1;
}
} // namespace

//==== Step buttons (message thread) ======================================================

void Pulsetta::handleEvent (int eventId)
{
    if (eventId >= firstStepEvent && eventId < firstStepEvent + numStepButtons)
        handleStepPress (eventId - firstStepEvent);
    else if (eventId >= firstStepWithCtrlEvent && eventId < firstStepWithCtrlEvent + numStepButtons
             && isInternalSequencerOn() && ! isWriteMode())
        handleStepPressWithCtrl (eventId - firstStepWithCtrlEvent);
    else
        DrumMachine::handleEvent (eventId);
}

void Pulsetta::handleStepPress (int step)
{
    const auto& pad = padButtons[step];
    if (! isInternalSequencerOn())
    {
        // A pad: played by the next block through the hand-over, never here.
        queuePadTrigger (pad.instrument, getBaseVelocity() + (pad.strong ? getStrongVelocityBoost() : 0.0f));
        return;
    }

    if (isWriteMode())
    {
        if (isTapMode())
            DrumMachine::handleEvent ((pad.strong ? firstTapAccentedEvent : firstTapEvent) + pad.instrument);
        else
            DrumMachine::handleEvent (firstStepEvent + step);
        return;
    }

    // Pattern play mode.
    auto* seq = getPulsettaSeq();
    if (seq == nullptr)
        return;
    if (step < numSlotButtons)
        seq->selectChainInPendingBank (step, step);
    else
        selectBankButton (step - numSlotButtons);
    refreshPatternState(); // the step lights with it
}

void Pulsetta::handleStepPressWithCtrl (int step)
{
    auto* seq = getPulsettaSeq();
    if (seq == nullptr)
        return;
    if (step < numSlotButtons)
    {
        const auto chain = seq->getChain();
        if (chain.bank != chain.pendingBank)
            seq->selectChainInPendingBank (step, step);
        else
            seq->setChainEnd (step);
    }
    else
    {
        selectBankButton (step - numSlotButtons);
    }
    refreshPatternState();
}

void Pulsetta::selectBankButton (int bankButton)
{
    if (auto* seq = getPulsettaSeq())
        seq->choosePendingBank (bankButton); // bank b, or b + 4 when b already is pending
}

//==== Pattern and bank selection by MIDI notes (audio thread) =============================

void Pulsetta::handleIncomingMidi (const juce::MidiMessage& message)
{
    auto* seq = getPulsettaSeq();
    if (seq == nullptr || ! isInternalSequencerOn() || isHostMode() || isPatternWriteMode())
        return;
    if (! message.isNoteOnOrOff())
        return;
    const int key = message.getNoteNumber();
    if (! isWhiteKey (key))
        return;

    const bool pressed = message.isNoteOn (false);
    if (const int bankKey = bankOfKey (key); bankKey >= 0)
    {
        if (pressed)
        {
            seq->choosePendingBank (bankKey);
            requestPatternStateRefresh();
        }
        return;
    }

    const int slot = slotOfKey (key);
    if (slot < 0)
        return;

    if (pressed)
    {
        secondHeldSlot = slot;
        if (firstHeldSlot < 0)
            firstHeldSlot = slot;
        const auto chain = seq->getChain();
        if (chain.bank != chain.pendingBank)
            seq->selectChainInPendingBank (slot, slot);
        else
            seq->selectChainInPendingBank (firstHeldSlot, slot);
        // The pattern display is refreshed on the message thread.
        requestPatternStateRefresh();
    }
    else if (slot == secondHeldSlot)
    {
        secondHeldSlot = -1;
    }
    else if (slot == firstHeldSlot)
    {
        firstHeldSlot = secondHeldSlot;
        secondHeldSlot = -1;
    }
}

//==== Step lights (message thread) =========================================================

float Pulsetta::getStepLight (int step) const noexcept
{
    return step >= 0 && step < numStepButtons ? stepLights[(size_t) step] : 0.0f;
}

void Pulsetta::computeStepLights (std::array<float, numStepButtons>& lights) const
{
    lights.fill (0.0f);
    auto* seq = getPulsettaSeq();
    if (seq == nullptr || ! isInternalSequencerOn())
        return;

    if (isWriteMode())
    {
        if (isTapMode())
        {
            // The step sounding, where a tap now lands.
            const int step = getDisplayedStep();
            if (step >= 0 && step < numStepButtons)
                lights[(size_t) step] = 1.0f;
            return;
        }
        if (isLengthMode())
        {
            lights.fill (1.0f);
            return;
        }

        const bool flam = isFlamMode();
        const int strongValue = flam ? Pattern::stepFlam : Pattern::stepAccent;
        const int length = seq->getEditedPatternLength();
        if (isRandomizerFilled())
        {
            // The shown track of the random result, as it sounds.
            const int track = getRandomizerShownTrack();
            for (int step = 0; track >= 0 && step < numStepButtons && step < length; ++step)
            {
                const int value = seq->getAudibleStep (track, step);
                if (value == strongValue)
                    lights[(size_t) step] = 1.0f;
                else if (! flam && value == Pattern::stepOn)
                    lights[(size_t) step] = 0.5f;
            }
            return;
        }
        for (int step = 0; step < numStepButtons && step < length; ++step)
        {
            int common = -1;
            for (int track = 0; track < numTracks; ++track)
            {
                if (! isTrackSelected (track))
                    continue;
                const int value = seq->getStep (track, step);
                common = common < 0 ? value : (common == value ? common : 0);
            }
            if (common == strongValue)
                lights[(size_t) step] = 1.0f;
            else if (! flam && common == Pattern::stepOn)
                lights[(size_t) step] = 0.5f;
        }
        return;
    }

    // Pattern play mode: the chain's slots and the pending bank.
    const auto chain = seq->getChain();
    if (chain.bank == chain.pendingBank)
        for (int slot = chain.first; slot <= chain.last && slot < numSlotButtons; ++slot)
            lights[(size_t) slot] = 1.0f;
    for (int b = 0; b < 4; ++b)
    {
        if (chain.pendingBank == b)
            lights[(size_t) (numSlotButtons + b)] = 0.5f;
        else if (chain.pendingBank == b + 4)
            lights[(size_t) (numSlotButtons + b)] = 1.0f;
    }
}

void Pulsetta::refreshStepStates()
{
    computeStepLights (stepLights);
    auto& parameters = getParameterManager();
    for (int step = 0; step < numStepButtons; ++step)
        if (parameters.getParameter (firstStepStateParameter + step) != nullptr)
            parameters.setValue (firstStepStateParameter + step, stepLights[(size_t) step]);
    DrumMachine::refreshStepStates();
}
