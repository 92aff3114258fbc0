#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include <juce_core/juce_core.h>

#include "drummachine/sequencer/Pattern.h"
#include "drummachine/sequencer/RandomSource.h"
#include "drummachine/sequencer/SequencerOwner.h"

// The drum machine's sequencer interface: every operation the processor, its
// events and the editor use, with neutral defaults, plus what every sequencer
// shares: the randomiser, the pending taps, and the pattern and bank files.
// Editing runs on the message thread, playback on the audio thread.
class DrumMachineSeq
{
public:
    // Bank types: one store (2), or separate host (1) and native (0) stores.
    enum BankType { nativeBank = 0, hostBank = 1, singleBank = 2 };

    // Where the start-up patterns come from (the user's resource settings).
    enum class PatternSource { factoryPatterns = 0, clearPatterns = 1, userDefinedPatterns = 2 };

    // applicationName stamps and recognises our documents ("application");
    // resourcePrefix ("XR") makes the file extensions.
    DrumMachineSeq (SequencerOwner& owner, const juce::String& applicationName, const juce::String& resourcePrefix);
    virtual ~DrumMachineSeq();

    DrumMachineSeq (const DrumMachineSeq&) = delete;
    DrumMachineSeq& operator= (const DrumMachineSeq&) = delete;

    //==== Virtual operations (message thread unless noted) =========================
    virtual bool hasHostAndNativePatterns() const;
    virtual int getNumAlternativePatternExtensions() const;
    virtual juce::String getAlternativePatternExtension (int i) const;
    virtual juce::String getPatternFileExtension() const;  // ".xrptr"
    virtual juce::String getPatternFileExtensions() const; // ".xrptr; .xml"
    virtual int getNumAlternativeBankExtensions() const;
    virtual juce::String getAlternativeBankExtension (int i) const;
    virtual juce::String getBankFileExtension (int type) const;  // ".xrptrb", "N"/"H" suffix for types 0/1
    virtual juce::String getBankFileExtensions (int type) const; // the above then "; .xml"

    virtual bool isPatternXml (const juce::XmlElement& element, int type) const;
    // Reads the element into pattern `index`; false (nothing changed) when it is
    // not a pattern or the index is out of range.
    virtual bool readPatternXml (const juce::XmlElement& element, int index, int type);
    // Null when the index is out of range.
    virtual std::unique_ptr<juce::XmlElement> createPatternXml (int index, int type) const;
    virtual bool isBankXml (const juce::XmlElement& element, int type) const;

    // Playback: audio thread (the start/stop and cursor calls also from the
    // processor's MIDI handling, which runs there too).
    virtual void startHost (int pattern);
    virtual void startNative();
    virtual void stopHost();
    virtual void stopNative();
    virtual double locate (double beats);
    virtual void setNativeCursor (int pattern, int step);
    virtual void setHostCursor (int pattern, int step);
    virtual void playHostStep (bool flamPass);
    virtual void playNativeStep (bool flamPass);
    virtual void advanceHostStep();
    virtual bool advanceNativeStep(); // true when the native pattern changed

    // Any thread.
    virtual int getHostPattern() const;
    virtual int getNativePattern() const;
    virtual int getHostStep() const;
    virtual int getNativeStep() const;

    // The fields of the pattern under the host or the native cursor.
    virtual int getHostPatternLength() const;
    virtual int getNativePatternLength() const;
    virtual double getHostPatternTempo() const;
    virtual double getNativePatternTempo() const;
    virtual double getHostPatternShuffle() const;
    virtual double getNativePatternShuffle() const;
    virtual double getHostPatternFlam() const;
    virtual double getNativePatternFlam() const;
    virtual int getHostPatternScale() const;
    virtual int getNativePatternScale() const;
    virtual juce::String getHostPatternName() const;   // message thread (allocates)
    virtual juce::String getNativePatternName() const; // message thread (allocates)

    virtual void latchNativePattern();           // audio thread
    virtual bool hasNativePatternChanged() const; // audio thread
    virtual bool isNextPattern (int slot) const;

    virtual int getStepOffValue() const;
    virtual int getStepOnValue() const;
    virtual int getStepAccentValue() const;
    virtual int getStepFlamValue() const;

    virtual int getNumPatterns (int type) const;

    // Editing (message thread). "Edited" is the pattern under the edit cursor.
    virtual const Pattern& getEditedPattern() const;
    virtual int getEditedPatternIndex() const;
    virtual void editNextPattern();
    virtual void editPreviousPattern();
    virtual juce::String getEditedPatternName() const;
    virtual void setEditedPatternName (const juce::String& name);
    virtual int getEditedPatternLength() const;
    virtual void setEditedPatternLength (int length);
    virtual double getEditedPatternFlam() const;
    virtual void setEditedPatternFlam (double flam);
    virtual double getEditedPatternShuffle() const;
    virtual void setEditedPatternShuffle (double shuffle);
    virtual double getEditedPatternTempo() const;
    virtual void setEditedPatternTempo (double bpm);
    virtual int getEditedPatternScale() const;
    virtual void setEditedPatternScale (int stepsPerBeat);
    virtual void shiftRowLeft (int row, int n);
    virtual void shiftRowRight (int row, int n);
    virtual int getStep (int row, int step) const; // -1 in the base
    virtual void setStep (int row, int step, int value);
    virtual void toggleStep (int row, int step, bool flamModifier);
    virtual int getNextToggleValue (int value, bool flamModifier) const;
    virtual void clearRow (int row); // a row outside 0..11 clears every row
    virtual void clearEditedPattern();
    virtual void copyRowToClipboard (int row);
    virtual void copyPatternToClipboard();
    virtual void pasteRow (int fromRow, int toRow);
    virtual void pastePattern();
    virtual bool isEditingHostPattern() const;
    virtual bool isEditingNativePattern() const;
    virtual bool editHostPattern();       // true when the edit cursor moved
    virtual bool editNativePattern();
    virtual bool editChainStartPattern();
    virtual juce::String getPatternName (int index) const; // empty outside the store
    virtual void setPatternName (int index, const juce::String& name, int type);
    virtual void readEditionStateXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createEditionStateXml() const;
    virtual void copyPatternToBackup (int pattern);
    virtual void restoreRowFromBackup (int pattern, int row);
    // Write 0, 1, 2 or 3 into any stored pattern (single words, any thread).
    virtual void setStepOff (int pattern, int row, int step);
    virtual void setStepOn (int pattern, int row, int step);
    virtual void setStepAccent (int pattern, int row, int step);
    virtual void setStepFlam (int pattern, int row, int step);
    virtual void setStepAtCursor (int row, int value, int host); // audio thread (taps)
    // Audio thread: a tap to write at the next step the given cursor plays
    // (host 1, native 0). Track 0..11, value 1..3. The base keeps none.
    virtual void addPendingTap (int /*track*/, int /*value*/, int /*host*/) {}

    //==== Whole-record hand-over ====================================================
    // Copies of stored records, so the processor can swap a consistent pattern
    // in at a block boundary without allocating: take a copy, edit it, put it
    // back. Any thread for the copy; storePattern takes the owner's guard.
    // False (nothing done) for an index outside the store.
    virtual bool copyPattern (int index, Pattern& destination) const;
    virtual bool storePattern (int index, const Pattern& source);

    // Message thread (the owner's timer): true once after playback wrote steps
    // the step lights must show. A sequencer that never writes steps while it
    // plays has nothing to report.
    virtual bool takeStepStatesRefreshRequest() noexcept { return false; }

    //==== Randomiser (message thread; the mask is read on the audio thread) ========
    int randomInt (int n);
    void randomizerNext (const bool* chosenFlags, bool flam);     // one flag per track
    void randomizerPrevious (const bool* chosenFlags, bool flam);
    void generateRandomPattern (const bool* chosenFlags, bool flam);
    void clearRandomSteps();         // Accept: keep what is audible
    void restoreRandomizedTracks();  // Undo: chosen tracks back from the backup
    void resetRandomizer();
    // The pattern the randomiser works on, -1 when it is off.
    void setRandomizerTarget (int pattern);
    int getRandomizerTarget() const noexcept { return randomizerTarget.load (std::memory_order_relaxed); }
    bool isRandomizerActive() const noexcept { return randomizerActive.load (std::memory_order_relaxed); }
    bool isRandomizerTrackChosen (int track) const noexcept;
    // Any thread: kept equal to the "... Rand Threshold" parameters (0..1).
    void setRandomizerThreshold (int track, float threshold) noexcept;
    float getRandomizerThreshold (int track) const noexcept;
    float getRandomValue (int track, int step) const noexcept; // -1 for none
    // Whether the randomiser hides (track, step) of whatever pattern it targets.
    bool isHiddenByRandomizer (int track, int step) const noexcept;
    uint32_t getCurrentSeed() const noexcept { return currentSeed; }
    size_t getSeedHistorySize() const noexcept { return seedHistory.size(); }

    //==== Files (message thread) ====================================================
    bool loadBankXml (const juce::XmlElement& element, int type);
    std::unique_ptr<juce::XmlElement> createBankXml (int type) const;
    bool loadBankOfCurrentType (const juce::XmlElement& element);
    bool loadPatternFile (const juce::File& file);
    bool loadBankFile (const juce::File& file);
    bool loadBankFileOfType (const juce::File& file, int type);
    bool loadBankText (const juce::String& resourceName, int type); // "default.xrptrb"
    void readPatternsState (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createPatternsStateXml() const;
    void loadDefaultPatterns (PatternSource source, const juce::File& userFile);

    const juce::String& getApplicationName() const noexcept { return applicationName; }
    const juce::String& getResourcePrefix() const noexcept { return resourcePrefix; }

    //==== Playback ==================================================================
    // Pending taps: written into the playing pattern at the next played step of
    // the cursor kind they were queued for. Audio thread.
    void writePendingTaps (int host);
    // Audio thread: the taps pending for the cursor kind (host 1, native 0)
    // are dropped: its next step does not play, so they never could sound.
    void dropPendingTaps (int host) noexcept;

protected:
    // Store access for the shared plumbing; the base has no store. The caller
    // holds the owner's rewrite guard around writePatternRecord.
    virtual const Pattern* findPattern (int index) const;
    virtual bool writePatternRecord (int index, const Pattern& source);

    SequencerOwner& owner;

    //==== Playback ==================================================================
    std::atomic<bool> hostRunning { false };
    std::atomic<bool> nativeRunning { false };
    std::array<int32_t, Pattern::numTracks> pendingTapValues {}; // 0 for none
    bool pendingTapsQueued = false;
    int32_t pendingTapsCursorKind = 0; // 1 host, 0 native

private:
    std::vector<std::pair<int, Pattern>> parseBank (const juce::XmlElement& element, int type) const;
    void writeRandomValue (int pattern, int track, int step, int32_t value);

    juce::String applicationName;
    juce::String resourcePrefix;

    // Randomiser.
    RandomSource randomSource;
    std::deque<uint32_t> seedHistory;
    uint32_t currentSeed = 0;
    std::atomic<int> randomizerTarget { -1 };
    std::atomic<bool> randomizerActive { false };
    std::array<std::atomic<bool>, Pattern::numTracks> randomizerChosen {};
    std::array<std::atomic<float>, Pattern::numTracks> randomizerThresholds {};
    std::array<std::array<std::atomic<float>, Pattern::numSteps>, Pattern::numTracks> randomValues {};
};
