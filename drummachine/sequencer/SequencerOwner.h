#pragma once

// What the sequencer needs of the drum machine that owns it: the velocity
// terms and triggers a played step turns into, the step-light refresh after
// taps were written, the track count, the host-mode flag, and the guard that
// keeps whole-pattern rewrites away from a block being processed.
class SequencerOwner
{
public:
    virtual ~SequencerOwner() = default;

    // Audio thread (the sequencer's playback). Velocities are 0..1 terms that
    // may add up past 1.
    virtual float getBaseVelocity() const = 0;
    virtual float getStrongVelocityBoost() const = 0;
    virtual float getAccentVelocityScale() const = 0;
    virtual double getAccentLevel() const = 0; // the Accent Level parameter, 0..1
    virtual void triggerStep (int instrument, bool strong, bool accent) = 0;
    virtual void triggerInstrument (int instrument, float velocity) = 0; // 11 is the accent track
    // Message thread: the step lights. Playback never calls it; taps it wrote
    // raise a request the owner's timer takes (takeStepStatesRefreshRequest).
    virtual void refreshStepStates() = 0;

    // Any thread.
    virtual int getNumTracks() const = 0; // 12: eleven instruments and the accent track
    virtual bool isHostMode() const = 0;

    // Message thread. Every write that replaces more than one word of a stored
    // pattern (paste, file and bank loads, clears, rotations, the randomiser,
    // field setters that recompute durations) runs between these two calls,
    // and only copies prepared data while inside. The drum machine takes its
    // processor's callback lock here (or holds the writes until a block
    // boundary), so playback never sees half a record. Calls do not nest.
    virtual void beginPatternRewrite() = 0;
    virtual void endPatternRewrite() = 0;
};

// Holds the owner's rewrite guard for one scope.
class PatternRewriteScope
{
public:
    explicit PatternRewriteScope (SequencerOwner& ownerToGuard) : owner (ownerToGuard) { owner.beginPatternRewrite(); }
    ~PatternRewriteScope() { owner.endPatternRewrite(); }
    PatternRewriteScope (const PatternRewriteScope&) = delete;
    PatternRewriteScope& operator= (const PatternRewriteScope&) = delete;

private:
    SequencerOwner& owner;
};
