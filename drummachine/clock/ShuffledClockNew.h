#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

struct StepPairGeometry;

/** A sample-accurate step clock with shuffle.

    The owner advances it once per sample on the audio thread; each sample may
    carry a few events: a step start, a step end (the gate), and the wrap and
    restart of the clock's own loop. Steps come in pairs: the first starts on
    the pair boundary, the second is delayed by the shuffle. The position is
    kept as an anchor plus a sample count, so boundaries fall on the first
    whole sample at or after their ideal time and never drift.

    Nothing here allocates, locks or waits. The audio thread only raises two
    atomic flags (running changed, step changed); the message thread polls them
    with dispatchPendingNotifications(), which calls the listeners. */
class ShuffledClockNew
{
public:
    enum EventKind : std::int32_t
    {
        stepStartEvent = 0,
        stepEndEvent = 1,
        restartEvent = 2, // the clock's loop started again at its loop start
        loopWrapEvent = 3 // the clock's loop reached its loop end
    };

    struct Event
    {
        std::int32_t stepFlag; // 0 for the very first step of the timeline, else 1; -1 before the first step
        std::int32_t kind;     // EventKind
    };

    static constexpr int maxEventsPerSample = 8;

    class Listener
    {
    public:
        virtual ~Listener() = default;
        /** Message thread: the clock started or stopped. */
        virtual void clockRunningChanged (ShuffledClockNew& clock) = 0;
        /** Message thread: the clock passed at least one step boundary. */
        virtual void clockStepChanged (ShuffledClockNew& clock) = 0;
    };

    explicit ShuffledClockNew (const juce::String& clockName = {});

    ShuffledClockNew (const ShuffledClockNew&) = delete;
    ShuffledClockNew& operator= (const ShuffledClockNew&) = delete;

    // ---- audio thread ------------------------------------------------------

    /** Audio thread. Starts at a position (beats); ignored while running. */
    void start (double positionInBeats);
    /** Audio thread. Starts again at a position (beats), running or not: the
        step state is forgotten, so a step starting there sounds. */
    void restart (double positionInBeats);
    /** Audio thread. Stops and goes back to position 0; ignored while stopped. */
    void stop();

    /** Audio thread. One sample: returns true when the sample produced events,
        which getNumEvents()/getEvent() then list in order. */
    bool advance();

    /** Audio thread. The host jumped (loop, locate) to a position (beats):
        a step the clock lands inside starts afresh, and before zero the clock
        waits for zero again. Ignored while stopped. */
    void jumpTo (double positionInBeats);
    /** Audio thread. The same timeline at another pace: the position (beats)
        moves, but a step already played is not played again, wherever the
        position lands; the clock goes on from the next one. A glide forward
        past steps not yet played starts each of them late, one a sample, in
        order, so none is lost. Ignored while stopped. */
    void glideTo (double positionInBeats);

    /** Audio thread. Moves the position (beats); the next sample resynchronises. */
    void setPosition (double positionInBeats);

    /** Audio thread. True when the position is nearer the start of the step it
        is in than the start of the next step. */
    bool isInFirstHalfOfStep() const;

    int getNumEvents() const noexcept { return numEvents; }
    const Event& getEvent (int index) const noexcept { return events[index]; }
    /** True for a sample at which a step boundary was passed. */
    bool isStepBoundary() const noexcept { return stepBoundary; }

    // Setters mark the clock for resynchronisation only when the value changes.
    void setSampleRate (double newSampleRate);   // Hz
    void setTempo (double newTempo);             // beats per minute; 0 or less: no tempo, the clock waits
    void setStepsPerBeat (double newStepsPerBeat);
    void setGateFraction (double newGateFraction); // 0..1 of a step
    void setShuffle (double newShuffle);           // 0..1 of a step
    /** The clock's own loop: from loopEnd (beats) back to loopStart. */
    void setLoop (bool enabled, double loopStartInBeats, double loopEndInBeats);

    double getSampleRate() const noexcept { return sampleRate; }
    double getTempo() const noexcept { return tempo; }
    double getStepsPerBeat() const noexcept { return stepsPerBeat; }
    double getGateFraction() const noexcept { return gateFraction; }
    double getShuffle() const noexcept { return shuffle; }
    double getAppliedShuffle() const noexcept { return appliedShuffle; }
    double getPosition() const noexcept { return position; }
    /** Beats: a position inside the step whose start event this sample gave:
        where the clock is, or the middle of a step a glide passed over. */
    double getStartedStepPosition() const noexcept { return std::isnan (lateStepPosition) ? position : lateStepPosition; }
    double getLastBoundaryPosition() const noexcept { return lastBoundaryPosition; }
    std::int32_t getPhase() const noexcept { return phase; }

    /** Any thread. */
    bool isRunning() const noexcept { return running.load (std::memory_order_relaxed); }
    const juce::String& getName() const noexcept { return name; }

    // ---- message thread ----------------------------------------------------

    /** Message thread. Listeners are kept once each and told from the last added to the first. */
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Message thread (the owner's timer). Takes the flags the audio thread
        raised and tells the listeners: running changes first, then steps.
        Returns true when anything was pending. */
    bool dispatchPendingNotifications();

private:
    enum class Resync { noTiming, waitingForZero, ready };

    Resync resynchronise();
    bool updateBeatsPerSample();
    std::int64_t samplesUntil (double targetInBeats) const;
    void addEvent (std::int32_t flag, std::int32_t kind) noexcept;
    std::int32_t regionOf (const StepPairGeometry& pair) const noexcept;
    std::int64_t pairIndexOf (double pairStartInBeats) const noexcept;
    /** Starts the next step a glide passed over. */
    void startLateStep() noexcept;
    /** The position (beats) where samples are counted from; the next sample
        resynchronises. moveTo also forgets the pair of steps played. */
    void anchorAt (double positionInBeats) noexcept;
    void moveTo (double positionInBeats);
    void raiseRunningChanged() noexcept;
    /** Sets a timing field and marks the clock for a resynchronisation when
        the value changes. */
    void changeTiming (double& field, double value) noexcept;

    // Position = anchorPosition + samplesSinceAnchor * beatsPerSample (beats).
    double position = 0.0;
    double anchorPosition = 0.0;
    std::int64_t samplesSinceAnchor = 0;

    double sampleRate = 44100.0;
    double tempo = 0.0;
    double stepsPerBeat = 4.0;
    double gateFraction = 0.5;
    double beatsPerSample = 0.0;
    std::int64_t samplesToNext = 0;
    std::int32_t phase = -1; // 0 first gate, 1 after it, 2 second gate, 3 after it, -1 not yet synchronised
    std::int32_t nextPhase = 0;
    double phasePairStart = 0.0; // beats: the pair the phase belongs to; NaN after a move
    // Steps a glide passed over, started one a sample: how many are still to
    // start, the index of the next (pairs × 2, + 1 for a second step), whether
    // the last is the one the clock is in with its gate open, and the middle
    // (beats) of the one started this sample (NaN for none).
    std::int64_t lateSteps = 0;
    std::int64_t nextLateStep = 0;
    bool lastLateStepGateOpen = false;
    double lateStepPosition = std::numeric_limits<double>::quiet_NaN();
    bool stepBoundary = false;
    std::atomic<bool> running { false };
    bool dirty = true;
    double lastBoundaryPosition = 0.0;
    juce::String name;
    std::atomic<std::int32_t> runningChangedPending { 0 };
    std::atomic<std::int32_t> stepChangedPending { 0 };
    double shuffle = 0.0;
    double appliedShuffle = 0.0;
    std::int32_t stepFlag = -1;
    Event events[maxEventsPerSample] {};
    int numEvents = 0;
    bool loopEnabled = false;
    double loopStart = 0.0;
    double loopEnd = 0.0;
    std::vector<Listener*> listeners;
};
