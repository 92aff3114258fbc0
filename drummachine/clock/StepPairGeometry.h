#pragma once

/** Where the steps of the pair around a position lie, in beats.

    Steps come in pairs: the first starts on the pair boundary, the second is
    pushed later by the shuffle (0..1 of a step), and each step's gate ends at
    gateFraction of the way to the next start. Pure arithmetic, any thread. */
struct StepPairGeometry
{
    double pairStart = 0.0;   // beats
    double pairEnd = 0.0;     // beats: the boundary at or after the position
    double secondStart = 0.0; // beats
    double firstEnd = 0.0;    // beats: end of the first step's gate
    double secondEnd = 0.0;   // beats: end of the second step's gate
    bool notFirst = false;    // false only for the very first step of the timeline

    /** position in beats; stepLength = 1 / steps per beat (beats, > 0);
        shuffle 0..1 of a step; gateFraction 0..1. */
    static StepPairGeometry around (double position, double stepLength, double shuffle, double gateFraction);

    bool isInFirstHalfOfStep (double position) const;
};
