#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "drummachine/sequencer/DrumMachineSeq.h"

// The product's sequencer: 96 patterns (8 banks of 12 slots) of 12 tracks by
// 16 steps, a backup pattern for the randomiser's undo and a clipboard.
// Pattern index = bank * 12 + slot.
class PulsettaSeq : public DrumMachineSeq
{
public:
    static constexpr int numBanks = 8;
    static constexpr int slotsPerBank = 12;
    static constexpr int numPatterns = numBanks * slotsPerBank;

    using PatternStore = std::array<Pattern, numPatterns>;

    PulsettaSeq (SequencerOwner& owner, const juce::String& applicationName, const juce::String& resourcePrefix);
    ~PulsettaSeq() override;

    static bool isValidPattern (int index) noexcept { return index >= 0 && index < numPatterns; }

    //==== Files ======================================================================
    bool hasHostAndNativePatterns() const override;
    int getNumAlternativePatternExtensions() const override;
    juce::String getAlternativePatternExtension (int i) const override;
    int getNumAlternativeBankExtensions() const override;
    juce::String getAlternativeBankExtension (int i) const override;
    bool isPatternXml (const juce::XmlElement& element, int type) const override;

    //==== Playback (audio thread) ====================================================
    void startHost (int pattern) override;
    void startNative() override;
    void stopHost() override;
    void stopNative() override;
    double locate (double beats) override;
    void setNativeCursor (int pattern, int step) override;
    void setHostCursor (int pattern, int step) override;
    void playHostStep (bool flamPass) override;
    void playNativeStep (bool flamPass) override;
    void advanceHostStep() override;
    bool advanceNativeStep() override;
    int getHostPattern() const override;
    int getNativePattern() const override;
    int getHostStep() const override;
    int getNativeStep() const override;
    void latchNativePattern() override;
    bool hasNativePatternChanged() const override;
    bool isNextPattern (int slot) const override;
    void setStepAtCursor (int row, int value, int host) override;

    //==== Fields under the cursors (any thread; names on the message thread) ==========
    int getHostPatternLength() const override;
    int getNativePatternLength() const override;
    double getHostPatternTempo() const override;
    double getNativePatternTempo() const override;
    double getHostPatternShuffle() const override;
    double getNativePatternShuffle() const override;
    double getHostPatternFlam() const override;
    double getNativePatternFlam() const override;
    int getHostPatternScale() const override;
    int getNativePatternScale() const override;
    juce::String getHostPatternName() const override;
    juce::String getNativePatternName() const override;

    //==== Editing (message thread) ===================================================
    int getStepOffValue() const override;
    int getStepOnValue() const override;
    int getStepAccentValue() const override;
    int getStepFlamValue() const override;
    int getNumPatterns (int type) const override;
    const Pattern& getEditedPattern() const override;
    int getEditedPatternIndex() const override;
    void editNextPattern() override;
    void editPreviousPattern() override;
    juce::String getEditedPatternName() const override;
    void setEditedPatternName (const juce::String& name) override;
    int getEditedPatternLength() const override;
    void setEditedPatternLength (int length) override;
    double getEditedPatternFlam() const override;
    void setEditedPatternFlam (double flam) override;
    double getEditedPatternShuffle() const override;
    void setEditedPatternShuffle (double shuffle) override;
    double getEditedPatternTempo() const override;
    void setEditedPatternTempo (double bpm) override;
    int getEditedPatternScale() const override;
    void setEditedPatternScale (int stepsPerBeat) override;
    void shiftRowLeft (int row, int n) override;
    void shiftRowRight (int row, int n) override;
    int getStep (int row, int step) const override;
    void setStep (int row, int step, int value) override;
    void toggleStep (int row, int step, bool flamModifier) override;
    int getNextToggleValue (int value, bool flamModifier) const override;
    void clearRow (int row) override;
    void clearEditedPattern() override;
    void copyRowToClipboard (int row) override;
    void copyPatternToClipboard() override;
    void pasteRow (int fromRow, int toRow) override;
    void pastePattern() override;
    bool isEditingHostPattern() const override;
    bool isEditingNativePattern() const override;
    bool editHostPattern() override;
    bool editNativePattern() override;
    bool editChainStartPattern() override;
    juce::String getPatternName (int index) const override;
    void setPatternName (int index, const juce::String& name, int type) override;
    void readEditionStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createEditionStateXml() const override;
    void copyPatternToBackup (int pattern) override;
    void restoreRowFromBackup (int pattern, int row) override;
    void setStepOff (int pattern, int row, int step) override;
    void setStepOn (int pattern, int row, int step) override;
    void setStepAccent (int pattern, int row, int step) override;
    void setStepFlam (int pattern, int row, int step) override;

    //==== Whole-record hand-over (single records: DrumMachineSeq) ===================
    // All 96 at once under one guard: a consistent bank for the audio thread.
    void copyAllPatterns (PatternStore& destination) const;
    void storeAllPatterns (const PatternStore& source);
    const Pattern& getBackupPattern() const noexcept { return backup; }
    const Pattern& getClipboardPattern() const noexcept { return clipboard; }

    //==== Playback: chain (message and audio threads) ================================
    int getAudibleStep (int row, int step) const;
    void setChain (int slotA, int slotB, int bank);
    void selectChainInPendingBank (int slotA, int slotB);
    void setChainEnd (int slot);

    // The chain as one word, so first, last and bank always travel together.
    // Four bytes aligned as one word, so the atomic holding it is lock-free
    // with every compiler (clang calls the atomic library for a byte-aligned one).
    struct alignas (4) Chain
    {
        int8_t first = 0;       // slot 0..11
        int8_t last = 0;        // slot 0..11, first <= last
        int8_t bank = 0;        // 0..7
        int8_t pendingBank = 0; // 0..7, bank of the next chain
    };
    Chain getChain() const noexcept { return chain.load (std::memory_order_acquire); }
    // Any thread. Beats of the chain's first pass, summed from one snapshot of
    // the chain and the patterns as they are now, so it never lags a chain
    // changed on the other thread nor an edited pattern length.
    double getChainDuration() const noexcept { return chainDurationOf (patterns, getChain()); }

protected:
    const Pattern* findPattern (int index) const override;
    bool writePatternRecord (int index, const Pattern& source) override;

private:
    Pattern& edited() noexcept { return patterns[(size_t) editedPattern.load (std::memory_order_relaxed)]; }
    const Pattern& edited() const noexcept { return patterns[(size_t) editedPattern.load (std::memory_order_relaxed)]; }
    const Pattern* patternAt (int index) const noexcept { return isValidPattern (index) ? &patterns[(size_t) index] : nullptr; }
    bool moveEditCursorTo (int index);
    void writeStep (int pattern, int row, int step, int32_t value);

    Pattern backup;
    PatternStore patterns;
    Pattern clipboard;
    std::atomic<int> editedPattern { 0 };

    //==== Playback ===================================================================
    // Cursors and chain. Single words, so a reader on another thread sees
    // either the old or the new value. Playback-only fields and helpers go in
    // this block.
public:
    // Audio thread (the processor's pad handling): a tap to write into the
    // playing pattern at the next step that the given cursor plays (host 1,
    // native 0). Track 0..11, value 1..3.
    void addPendingTap (int track, int value, int host) override;
    // Any thread (the product's bank buttons and notes): the bank of the next chain, 0..7.
    void setPendingBank (int bank);
    // Any thread (the product's bank buttons and bank notes): one press of the
    // button for bank 0..3 makes it the pending bank, or its upper twin
    // (bank + 4) when it already is the pending bank. Read and choice are one
    // compare-and-swap, so presses from both threads at once each count.
    // Returns the new pending bank; a bank outside 0..3 changes nothing.
    int choosePendingBank (int lowerBank);
    // Message thread (the owner's timer): true once after playback wrote steps
    // (taps) that the step lights must show. The audio thread only raises it.
    bool takeStepStatesRefreshRequest() noexcept override;

private:
    void playStep (int pattern, int step, bool flamPass);
    int playableHostStep();
    void moveNativeCursorToNextPattern();
    void followChainWhileStopped();
    template <typename ChangeChain>
    void changeChain (ChangeChain&& change);
    static double chainDurationOf (const PatternStore& store, Chain chain) noexcept;
    void locateInPattern (int pattern, double offsetInBeats, double passLength, double firstStepOfPair);

    std::atomic<bool> stepStatesRefreshPending { false };

    std::atomic<int> hostPattern { 0 };
    std::atomic<int> hostStep { 0 };
    std::atomic<int> nativePattern { 0 };
    std::atomic<int> nativeStep { 0 };
    int latchedNativePattern = 0; // audio thread only
    std::atomic<Chain> chain { Chain {} };
    static_assert (std::atomic<Chain>::is_always_lock_free, "the chain is read on the audio thread");
};
