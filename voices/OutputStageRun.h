#pragma once

#include "voices/InstructionSet.h"
#include "voices/OutputStage.h"

#include <array>

/** The output stages of several voices over one run, worked on four voices
    at a time: each voice's stage is a chain of one-sample steps, too short to
    keep a processor busy alone, so the chains of four voices run side by
    side in the lanes of one pack. Audio thread; nothing here allocates. */
class OutputStageRun
{
public:
    static constexpr int maxVoices = 12;

    /** Forgets the voices of the last run. */
    void clear() { count = 0; }
    /** A voice's stage, its raw samples over the run (zeros for a silent
        voice) and where its output times the master gain goes. */
    void add(OutputStage& stage, const double* rawSamples, double* output);
    bool isEmpty() const { return count == 0; }

    /** Renders every voice added over numFrames (at most maxFrames), each
        frame's outputs times masterGains[frame]. */
    void render(const double* masterGains, int numFrames, InstructionSet instructions);

    static constexpr int maxFrames = 256;

    struct Voice
    {
        OutputStage* stage;
        const double* rawSamples;
        double* output;
    };

private:
    std::array<Voice, maxVoices> voices {};
    int count = 0;
    OutputStage restingStage;
    alignas(32) std::array<double, maxFrames> discarded {};
};
