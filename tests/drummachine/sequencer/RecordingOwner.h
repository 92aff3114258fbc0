#pragma once

#include <vector>

#include "drummachine/sequencer/SequencerOwner.h"

// A drum machine stand-in that records what the sequencer asks of it.
class RecordingOwner : public SequencerOwner
{
public:
    struct Trigger
    {
        int instrument;
        float velocity;
        bool strong;
        bool accent;
        bool fromStep;
    };

    float getBaseVelocity() const override { return 48.0f / 127.0f; }
    float getStrongVelocityBoost() const override { return 0.377f; }
    float getAccentVelocityScale() const override { return 0.623f; }
    double getAccentLevel() const override { return accentLevel; }
    void triggerStep (int instrument, bool strong, bool accent) override { triggers.push_back ({ instrument, 0.0f, strong, accent, true }); }
    void triggerInstrument (int instrument, float velocity) override { triggers.push_back ({ instrument, velocity, false, false, false }); }
    void refreshStepStates() override { ++stepRefreshes; }
    int getNumTracks() const override { return 12; }
    bool isHostMode() const override { return hostMode; }

    void beginPatternRewrite() override
    {
        if (insideRewrite)
            ++nestedRewrites;
        insideRewrite = true;
        ++rewrites;
    }

    void endPatternRewrite() override { insideRewrite = false; }

    double accentLevel = 0.5;
    bool hostMode = false;
    std::vector<Trigger> triggers;
    int stepRefreshes = 0;
    int rewrites = 0;
    int nestedRewrites = 0;
    bool insideRewrite = false;
};
