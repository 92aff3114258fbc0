#pragma once

#include "drummachine/clock/HostPositionFollower.h"
#include "drummachine/clock/ShuffledClockNew.h"
#include "drummachine/processor/MidiCarryBuffer.h"
#include "drummachine/sequencer/DrumMachineSeq.h"
#include "drummachine/sequencer/DrumMap.h"
#include "drummachine/sequencer/SequencerOwner.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "host/HandOverQueue.h"
#include "voices/DrumMachineCore.h"

#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

// What the message thread asks of the audio side, one small record each.
struct HandOverCommand
{
    enum Kind : std::int32_t
    {
        triggerPad = 0,   // instrument 0..11 plays now at velocity (0..1)
        queueTap,         // track 0..11 tapped with step value 1..3
        clearQueuedTaps,  // forget taps not yet played
        flushNoteOffs     // send the note-offs of every echoed note
    };

    Kind kind = triggerPad;
    std::int32_t track = 0;
    std::int32_t value = 0;
    float velocity = 0.0f;
};

// The drum machine's processor: eleven voices played from MIDI notes (through
// the drum map) or from the step sequencer, mixed into routed mono or stereo
// outputs, with a trigger-out pulse, echo notes to the host for every voice
// played, four step clocks on the host's transport or its own, and its
// sections of the state chunk and of the user settings.
//
// Hand-over between the message thread and the audio thread (one mechanism
// for everything the message thread changes on the audio side):
//  - small commands (pad triggers, taps, note-off flushes) go through a
//    lock-free single-producer single-consumer queue that the block drains at
//    its start, so they sound and echo from the block's first sample;
//  - scalar settings (modes, mute and solo, output numbers, start and stop
//    requests, the accent level) are atomic words the block reads once;
//  - multi-word changes (a whole state restore, the key map, pattern records
//    and banks) are parsed and built on the message thread, then only copied
//    in under the processor's callback lock, the lock the binding holds around
//    each block, so a block never sees half of them and the audio thread never
//    parses or allocates for them;
//  - the other way, the audio thread only raises atomic flags (voice hits,
//    MIDI activity, step lights, pattern and play state) that the message
//    thread takes in pollAudioFlags (the base's 25 ms timer, or the editor's
//    timer).
class DrumMachine : public BasePluginOldStyle,
                    public SequencerOwner
{
public:
    static constexpr int numInstruments = 11;
    static constexpr int numTracks = 12;
    static constexpr int accentTrack = 11;
    static constexpr int maxChannels = 64;
    static constexpr int muteParameter = 50;         // 50..60
    static constexpr int soloParameter = 61;         // 61..71
    static constexpr int outputNumberParameter = 84; // 84..94
    static constexpr int accentLevelParameter = 11;

    enum HostPlayDetection { byTransportChange = 0, byLowestCNoteOn = 1 };
    enum OutputCharacteristics { stereoOutputs = 0, monoOutputs = 1 };
    enum StartStopRequest { noRequest = 0, startRequest = 1, stopRequest = 2 };

    DrumMachine();
    ~DrumMachine() override;

    //==== Product hooks (defaults in the comments) ==================================
    virtual int getNumOutputs() const { return 12; }
    // Message thread, at start-up. Null gives the plain core / sequencer.
    virtual std::unique_ptr<DrumMachineCore> createCore() { return nullptr; }
    virtual std::unique_ptr<DrumMachineSeq> createSequencer() { return nullptr; }
    float getBaseVelocity() const override { return 0.5f; }
    float getStrongVelocityBoost() const override { return 0.25f; }
    float getAccentVelocityScale() const override { return 0.25f; }
    virtual bool supportsFlam() const { return false; }
    // Audio thread: every note message, after the drum machine's own handling.
    virtual void handleIncomingMidi (const juce::MidiMessage&) {}
    // Message thread, at start-up before the framework's own start-up: the
    // state parameters (3000-3093) and events (3000-3081) of the sequencer's
    // front panel.
    virtual void createStateParameters();
    // Message thread (pollAudioFlags and after state changes): the front
    // panel's state parameters. The product adds the step lights to
    // refreshStepStates and calls this one after them (the blinking).
    void refreshStepStates() override;
    virtual void refreshPatternState();
    virtual void refreshPlayState (bool nativeClockRunning);
    virtual void refreshAllStates();

    //==== Front panel: sequencer state parameters and events ========================
    static constexpr int internalSequencerStateParameter = 3000; // then "Internal Sync State", "Host Mode State", "Note Off State"
    static constexpr int stepLengthStateParameter = 3030;   // "Step 01 Length State" .. 3045
    static constexpr int stepStateParameter = 3046;         // "Step 01 State" .. 3061
    static constexpr int stepBlinkingParameter = 3078;      // "Step 01 Blinking" .. 3093
    static constexpr int stepPressEvent = 3030;             // "Press Step 01" .., with Ctrl 3046.., with Shift 3062..
    static constexpr int randomizerThresholdParameter = 72; // 72..83
    static constexpr int randomizerEnableParameter = 107;   // 107..118
    static constexpr int trackSelectionParameter = 119;     // 119..130
    static constexpr int randomizerCurrentParameter = 131;  // 131..142

    // Message thread: carries out one event (product events 0-91, sequencer
    // events 3000-3081). It changes modes, selections, patterns and queues;
    // voices are played only by the block.
    void handleEvent (int eventId) override;
    // Any thread: the display text of a parameter (empty for ids without one).
    juce::String getParameterTextById (int id) override;
    // Message thread: the step the editor highlights (the one sounding), -1 for none.
    int getDisplayedStep() const;

    // Derived conditions (any thread).
    bool isEditing() const noexcept;
    bool isFollowingOrTapping() const noexcept;
    bool isRandomizerFilled() const noexcept;
    bool isFlamActive() const noexcept;
    bool isRandomizerMode() const noexcept { return randomizerMode.load(); }
    bool isFlamMode() const noexcept { return flamMode.load(); }
    bool isTrackSelected (int track) const noexcept;
    int getSelectedTrack() const noexcept { return selectedTrack.load(); }
    int getNumSelectedTracks() const noexcept;
    // The track whose steps the lights show while a random result is active, -1 for none.
    int getRandomizerShownTrack() const noexcept;
    bool clipboardHoldsTracks() const noexcept { return clipboardTracks; }
    bool clipboardHoldsPattern() const noexcept { return clipboardPattern; }

    // Message thread: the refreshers write the state parameters from the modes and the sequencer.
    void refreshInternalSequencerState();
    void refreshInternalSyncState();
    void refreshHostModeState();
    void refreshNoteOffState();
    void refreshWriteModeState();
    void refreshAutoFollowState();
    void refreshLengthModeState();
    void refreshModeStates();
    void refreshSelectionStates();
    void refreshClipboardStates();
    void refreshScaleStates();
    void refreshPatternNameParameter();
    void refreshPatternTempo();
    void refreshStepLengthStates();
    void refreshStepBlinking();

    //==== Message-thread entry points (the hand-over) ================================
    // The queue has one producer: call these from the message thread only.
    // A front-panel pad: instrument 0..10 (11 is the accent track) plays at the
    // next block's first sample, with its echo note. False when refused.
    bool queuePadTrigger (int instrument, float velocity);
    // A tap: track 0..11, value 1 (on), 2 (strong) or 3 (flam); played and
    // written by the next block (at once, or at the next step when the clock
    // is past the middle of the step).
    bool queueTap (int track, int value);
    bool clearQueuedTaps();
    // Note-offs for every echoed note, at the next block's first sample.
    bool queueNoteOffFlush();
    // Start and stop of the internal clock, carried out by the next block.
    void requestStart() noexcept { startStopRequest.store (startRequest); }
    void requestStop() noexcept { startStopRequest.store (stopRequest); }
    void requestStartStop() noexcept;
    int getLastAppliedRequest() const noexcept { return lastAppliedRequest.load(); }

    // Message thread. The base's poll, then takes the flags the audio thread
    // raised and runs the refreshers and the clocks' listeners. Called by the
    // base's 25 ms timer; the editor may call it too.
    void pollAudioFlags() override;
    // Whether instrument / track had a hit since the last call (clears it).
    bool takeHitFlag (int track) noexcept;

    // Copies the drum map's keys to the audio side (after loading a drum map).
    void refreshKeyMap();
    // Message thread: a drum map file of the user's. It is read and checked
    // on this thread; the block then gets its keys under the callback lock,
    // and the host is told to ask for the key names again. False, with the
    // map as it was, when the file holds no drum map this version reads.
    bool loadDrumMapFile (const juce::File& file);
    // The wildcards of drum map files, for file dialogs ("*.xrdrmap").
    juce::String getDrumMapFileWildcards() const;

    //==== Modes (any thread reads, message thread writes) =============================
    bool isInternalSequencerOn() const noexcept { return intSeq.load(); }
    bool isInternalSyncOn() const noexcept { return intSync.load(); }
    bool isHostMode() const override { return hostMode.load(); }
    bool isNoteOffMode() const noexcept { return noteOffMode.load(); }
    bool isPatternWriteMode() const noexcept { return pattWriteMode.load(); }
    bool isAutoFollow() const noexcept { return autoFollow.load(); }
    bool isLengthMode() const noexcept { return lengthMode.load(); }
    bool isTapMode() const noexcept { return tapMode.load(); }
    int getHostPlayDetection() const noexcept { return hostPlayDetection.load(); }
    // Switching the internal sequencer flushes the echoed notes.
    void setInternalSequencer (bool on);
    void setInternalSync (bool on) { intSync.store (on); }
    void setHostMode (bool on) { hostMode.store (on); }
    void setNoteOffMode (bool on) { noteOffMode.store (on); }
    void setPatternWriteMode (bool on) { pattWriteMode.store (on); }
    void setAutoFollow (bool on) { autoFollow.store (on); }
    void setLengthMode (bool on) { lengthMode.store (on); }
    void setTapMode (bool on) { tapMode.store (on); }
    void setHostPlayDetection (int detection);

    // User defaults for new instances (the settings file).
    struct SequencerDefaults
    {
        bool intSeq = true, intSync = true, hostMode = false, noteOff = false;
    };
    SequencerDefaults getSequencerDefaults() const { return sequencerDefaults; }
    void setSequencerDefaults (const SequencerDefaults& defaults) { sequencerDefaults = defaults; }

    //==== Routing (any thread) ==========================================================
    // Mute, solo, output numbers and the accent level also follow their
    // parameters (50-60, 61-71, 84-94, 11).
    void setMute (int instrument, bool muted) noexcept;
    void setSolo (int instrument, bool soloed) noexcept;
    bool isMuted (int instrument) const noexcept;
    bool isSoloed (int instrument) const noexcept;
    bool isAudible (int instrument) const noexcept; // as resolved by the last block
    void setOutputNumber (int instrument, int output) noexcept; // 1..getNumOutputs, else ignored
    int getOutputNumber (int instrument) const noexcept;
    int getDefaultOutputNumber (int instrument) const noexcept;
    void setDefaultOutputNumber (int instrument, int output) noexcept;
    void setAccentLevel (double level) noexcept { accentLevel.store (level); }
    double getAccentLevel() const override { return accentLevel.load(); }
    // Message thread: every output number back to 1 (parameters too), the trigger-out to the last output.
    void resetOutputAssignments();
    void restoreDefaultOutputAssignments();

    // Fixed at start-up from the user default; the host's pin count follows it.
    int getOutputCharacteristics() const noexcept { return outputMode; }
    int getDefaultOutputCharacteristics() const noexcept { return defaultOutputMode; }
    void setDefaultOutputCharacteristics (int characteristics);

    // Trigger-out (message thread; applied under the callback lock).
    void setTriggerOut (bool enabled, int instrument, int output);
    bool isTriggerOutEnabled() const;
    int getTriggerOutInstrument() const;
    int getTriggerOutOutput() const noexcept { return triggerOutOutput.load(); }
    // Any thread: the trigger-out's output alone (1..getNumOutputs, else ignored).
    void setTriggerOutOutput (int output) noexcept;

    //==== Parts ======================================================================
    DrumMachineCore* getCore() const noexcept { return core.get(); }
    DrumMachineSeq* getSequencer() const noexcept { return sequencer.get(); }
    DrumMap& getDrumMap() noexcept { return drumMap; }
    ShuffledClockNew& getHostClock() noexcept { return hostClock; }
    ShuffledClockNew& getNativeClock() noexcept { return nativeClock; }
    ShuffledClockNew& getHostFlamClock() noexcept { return hostFlamClock; }
    ShuffledClockNew& getNativeFlamClock() noexcept { return nativeFlamClock; }

    // Where the start-up patterns come from: store 0 ("Patterns" or
    // "HostPatterns"), store 1 ("NativePatterns").
    struct PatternSourceSetting
    {
        DrumMachineSeq::PatternSource source = DrumMachineSeq::PatternSource::factoryPatterns;
        juce::String file;
    };
    PatternSourceSetting getPatternSource (int store) const { return patternSources[store == 1 ? 1 : 0]; }
    void setPatternSource (int store, const PatternSourceSetting& setting) { patternSources[store == 1 ? 1 : 0] = setting; }

    //==== SequencerOwner ===============================================================
    // Audio thread.
    void triggerStep (int instrument, bool strong, bool accent) override;
    void triggerInstrument (int instrument, float velocity) override;
    int getNumTracks() const override { return numTracks; }
    // Message thread: takes and releases the processor's callback lock.
    void beginPatternRewrite() override;
    void endPatternRewrite() override;

    //==== Framework and host ============================================================
    void initialise() override;
    // The host's UI thread (open, resume, a rate or block-size change), under the callback lock.
    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;                                             // message thread
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override; // audio thread
    bool isBusesLayoutSupported (const BusesLayout& layout) const override;
    int getNumHostOutputChannels() override;                                      // message thread
    juce::String getNoteKeyName (int key) override;                              // message thread
    const juce::String getOutputChannelName (int index) const override;           // message thread
    bool isOutputChannelStereoPair (int index) const override;                    // message thread
    // The thread that changed the parameter.
    void parameterChanged (Parameter* parameter) override;

    // Message thread: the drum machine's sections after the framework's.
    void restorePluginState (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    void readUserSettings (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override;
    void readResourcesSettings (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createResourcesSettingsXml() override;
    // Preset changes always apply at once here: there is no changing mode to store.
    bool hasPresetChangingSetting() const override { return false; }
    bool isDrumMachine() const override { return true; }

protected:
    // Any thread (the product's MIDI pattern selection on the audio thread):
    // the pattern display is refreshed by the next pollAudioFlags.
    void requestPatternStateRefresh() noexcept { patternStatePending.store (true, std::memory_order_release); }

    // Audio thread: MIDI echo of a played instrument.
    void sendNoteOn (int instrument, float velocity) noexcept;
    void sendNoteOff (int instrument) noexcept;
    void sendPendingNoteOffs() noexcept;

private:
    struct RoutingSnapshot;
    struct RestoredState;

    // Audio thread.
    void handleMidiInput (const ShortMidiEvent& event) noexcept;
    void render() noexcept;
    void resolveMuteSolo() noexcept;
    void drainHandOver() noexcept;
    void handleTransport (bool intSyncOn, int numSamples) noexcept;
    // hostPlayedWhenRequested: the host's transport played at the last block,
    // the one the user saw when making the request waiting now.
    void applyStartStopRequest (bool intSeqOn, bool intSyncOn, bool hostPlayedWhenRequested) noexcept;
    // position in beats of the song; hostBpm (0 for none) tells how long a
    // wait before zero lasts when the clock plays at the pattern's tempo.
    void startNativeClock (double position, bool intSyncOn, double hostBpm) noexcept;
    // Where nativeClock stands (beats, at its tempo) for a host at ppq (beats) playing at hostBpm.
    double nativeStartPosition (double ppq, bool intSyncOn, double hostBpm) const noexcept;
    void startHostPattern (int pattern, bool intSyncOn) noexcept;
    void stopEverything() noexcept;
    void playHostClockSteps (bool playing) noexcept;
    void playNativeClockSteps (bool playing, bool intSyncOn) noexcept;
    void playFlamStrokes (bool hostPlaying, bool nativePlaying) noexcept;
    // The second stroke of the last played step's flams; the flam clock stops.
    void playHostFlamStroke (bool playing) noexcept;
    void playNativeFlamStroke (bool playing) noexcept;
    void playQueuedTaps (bool hostModeOn) noexcept;
    void syncHostFlamClock() noexcept;
    void syncNativeFlamClock() noexcept;
    void follow() noexcept;
    bool isValidInstrument (int i) const noexcept { return i >= 0 && i < numInstruments; }

    // Front panel (message thread).
    void handleMuteSoloEvent (int uid);
    void handleSequencerEvent (int uid);
    void handleStepEvent (int uid);
    void selectTrack (int track);
    void applyTrackSelection (int track);
    void toggleTrackSelection (int track);
    void setRandomizerMode (bool on);
    int firstChosenRandomTrack() const;
    int getSelectedTrackOrFirst() const noexcept;
    void patternFieldChanged (int index, const Parameter& parameter);

    // Sound parameters reach the core on the audio thread, at the start of a
    // block: the thread that changes one only stores it here.
    void applyPendingSoundParameters() noexcept;

    // Message thread: state pieces.
    void readOutputAssignments (const juce::XmlElement& element, bool current, RestoredState* state);
    void readTriggerOut (const juce::XmlElement& element, RestoredState& state) const;
    void readInternalSequencerState (const juce::XmlElement& element, RestoredState& state);
    void readInternalSequencerSettings (const juce::XmlElement& element);
    void applyRestoredState (const RestoredState& state);
    std::unique_ptr<juce::XmlElement> createOutputAssignmentsXml (bool current) const;
    void copyKeyMapLocked() noexcept;

    // Parts.
    std::unique_ptr<DrumMachineCore> core;
    std::unique_ptr<DrumMachineSeq> sequencer;
    DrumMap drumMap;

    // Settings and modes.
    SequencerDefaults sequencerDefaults;
    std::atomic<bool> intSeq { true }, intSync { true }, hostMode { false }, noteOffMode { false };
    std::atomic<bool> pattWriteMode { false }, autoFollow { false }, lengthMode { false }, tapMode { false };
    std::atomic<int> hostPlayDetection { byTransportChange };
    std::atomic<int> startStopRequest { noRequest };
    std::atomic<int> lastAppliedRequest { noRequest };
    int outputMode = stereoOutputs;
    int defaultOutputMode = stereoOutputs;
    std::array<PatternSourceSetting, 2> patternSources;

    // Routing.
    std::array<std::atomic<int>, numInstruments> mute {}, solo {}, audible {};
    std::array<std::atomic<int>, numInstruments> outputNumber {}, defaultOutputNumber {};
    std::atomic<bool> muteSoloChanged { true };
    std::atomic<int> triggerOutOutput { 12 };
    std::atomic<double> accentLevel { 0.0 };

    // Flags for the message thread.
    std::array<std::atomic<int>, numTracks> hitFlags {};
    std::atomic<bool> stepStatesPending { false }, patternStatePending { false }, playStatePending { false };

    // Audio side.
    HandOverQueue<HandOverCommand> handOver;
    std::atomic<bool> noteOffFlushPending { false };
    std::array<std::int32_t, 128> midiKeyMap {};      // key -> instrument, -1 none (copied under the lock)
    std::array<std::array<std::uint8_t, 128>, numInstruments> keysOfInstrument {};
    std::array<int, numInstruments> numKeysOfInstrument {};
    std::array<int, numInstruments> blockOutput {};   // output numbers read once per block
    static constexpr int renderChunk = 256;            // frames the core renders at a time
    const bool mixesWithAvx2 = bestInstructionSet() == InstructionSet::avx2;
    std::array<std::array<double, renderChunk>, numInstruments> voiceSamples {}; // each voice's samples of a chunk
    std::array<float*, maxChannels> outputChannels {};
    int numOutputChannels = 0;
    int renderPending = 0;
    int renderedTotal = 0;
    int stampPosition = 0;
    MidiCarryBuffer carry;
    ShortMidiList midiOut;
    std::array<std::uint8_t, numInstruments> noteOffPending {};
    std::array<std::int32_t, numTracks> queuedTaps {};
    bool tapsQueued = false;
    bool hostPlaying = false;
    bool lowestCStarted = false;
    bool nativeLocatePending = false;
    int heldPatternNotes = 0;
    int savedNativePattern = 0, savedNativeStep = 0, savedHostPattern = 0, savedHostStep = 0;
    bool nativeStepPlayed = false, hostStepPlayed = false;
    // The step sounding, for the message thread: pattern x 16 + step, or
    // noSoundingStep before the first step since the clock started.
    static constexpr int noSoundingStep = -1;
    std::atomic<int> soundingNativeStep { noSoundingStep }, soundingHostStep { noSoundingStep };
    double sampleRate = 44100.0;
    bool blockIntSeq = true, blockHostMode = false, blockIntSync = true;

    ShuffledClockNew hostClock { "hostClock" };
    ShuffledClockNew nativeClock { "nativeClock" };
    ShuffledClockNew nativeFlamClock { "nativeFlamClock" };
    ShuffledClockNew hostFlamClock { "hostFlamClock" };
    HostPositionFollower hostFollower; // keeps nativeClock on the host's song position

    // Front panel.
    std::atomic<bool> randomizerMode { false }, flamMode { false };
    std::array<std::atomic<bool>, numTracks> trackSelected {};
    std::atomic<int> selectedTrack { 0 };
    std::atomic<int> randomizerShownTrack { -1 };
    bool clipboardTracks = false, clipboardPattern = false;
    // Set while the refreshers write the pattern fields' parameters (3024,
    // 3027-3029) from a pattern: their listener then writes nothing back.
    std::atomic<bool> showingPatternFields { false };

    // Sound parameters 0..49 waiting for the next block (bit i: parameter i).
    static constexpr int numSoundParameters = 50;
    std::array<std::atomic<float>, numSoundParameters> pendingSoundValues {};
    std::atomic<std::uint64_t> pendingSoundMask { 0 };
};
