#pragma once

#include <cstdint>

/** Keeps a step clock on the host's song position, block by block.

    The clock counts samples on its own; the host's reports cannot simply be
    copied into it. Hosts round their beat position (to 1/1920 beat and so
    on), and they change the tempo inside a block without splitting it,
    reporting the new tempo and the position it led to only from the next
    block. So at each block this tells how the host moved since the last one:
     - a jump (locate, loop): the host's sample position does not follow on
       from the last block, or its beat position moved further than the tempi
       of the last blocks explain. The clock moves there, and the step it lands
       in starts afresh. A host whose sample position stands still while its
       beats move is followed by its beats alone.
     - a glide: the tempo changed, or the clock's position can no longer be the
       host's given every beat position reported since the tempo last changed,
       each taken as true to within the host's rounding. The clock takes the
       host's position without playing again a step it has played. After a
       change the clock stands on one rounded report, anywhere within the
       rounding of the truth; as later reports narrow where the host can be,
       it is brought to the middle of that.
     - nothing: whatever difference there is, is the host's rounding.
    Tempi that differ only by the arithmetic's noise are the same tempo.

    Audio thread only; nothing here allocates, locks or waits. */
class HostPositionFollower
{
public:
    /** What the host reports for one block. */
    struct Block
    {
        double ppq = 0.0;                 // beats, at the block's first sample
        double bpm = 0.0;                 // beats per minute, as reported for the block
        bool hasSamplePosition = false;
        std::int64_t samplePosition = 0;  // samples, at the block's first sample
        int numSamples = 0;               // the block's length
        double sampleRate = 44100.0;      // Hz
    };

    enum class Move { none, jump, glide };

    /** Beyond this (beats) a change of the host's beat position that the tempi
        do not explain is a jump; anything smaller is not worth one. */
    static constexpr double jumpTolerance = 1.0 / 128.0;
    /** How far (beats) a reported beat position may lie from the true one:
        half the 1/1920 beat hosts round to. */
    static constexpr double roundingTolerance = 1.0 / 3840.0;
    /** Tempi closer than this (relative) are one tempo: a host that computes
        its tempo afresh each block differs by 1e-14 or so, and a change this
        small would move a step by less than a sample in an hour. */
    static constexpr double sameTempo = 1.0e-9;

    /** Forgets the host: the next block starts the following afresh. Call it
        whenever the clock starts, the transport starts or stops, or the clock
        stops following the host. */
    void reset() noexcept { following = false; }

    /** The move that keeps a clock now at clockPosition (beats, at the block's
        first sample) on the host's grid, and in target where to. The first
        block after a reset is a jump only when the clock is far from the host. */
    Move follow (const Block& block, double clockPosition, double& target) noexcept;

private:
    void startInterval (double ppq) noexcept;
    double beatsPerSample (double bpm, double sampleRate) const noexcept;
    static bool isSameTempo (double a, double b) noexcept;

    bool following = false;
    // Since the tempo last changed, the clock stands where one report put it:
    // it moves to the middle of the interval as later reports narrow it.
    bool settling = false;
    // The host's sample position stood still at the last block while its
    // beats moved: its sample positions tell nothing of jumps.
    bool samplePositionStill = false;
    Block last;       // the last block, as the host's position then truly was
    Block lastReport; // the last block as reported (slices repeat it)
    double tempoBeforeLast = 0.0; // bpm reported for the block before the last
    // Where the host can truly be at the block's first sample (beats), given
    // every report since its tempo last changed.
    double low = 0.0, high = 0.0;
};
