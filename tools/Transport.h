#pragma once
// The host's transport as the command-line host plays it: tempo, play/stop,
// song position and time signature, advanced by samples while playing.
#include "platform/vst/VstTimeInfo.h"

#include <cstdint>
#include <vector>

namespace clihost
{
class Transport
{
public:
    // A tempo change inside a block, `frame` frames after its start.
    struct TempoChange
    {
        int64_t frame = 0;
        double beatsPerMinute = 120.0;
    };

    explicit Transport(double sampleRate) : rate(sampleRate) {}

    void setTempo(double beatsPerMinute) { tempo = beatsPerMinute; changed = true; }
    void play() { changed = changed || !playing; playing = true; }
    void stop() { changed = changed || playing; playing = false; }
    // Locates to a song position in quarter notes.
    void locate(double quarterNotes);
    void setTimeSignature(int numerator, int denominator);
    // How the host reports its position, as some real hosts do: the beat position rounded to
    // 1/`divisionsPerBeat` of a beat (0: exact); the tempo off by +`beatsPerMinute` and -`beatsPerMinute`
    // in turn, block by block, as a tempo computed afresh each block; the sample position held where it is.
    void setReportRounding(double divisionsPerBeat) { rounding = divisionsPerBeat; }
    void setReportTempoJitter(double beatsPerMinute) { tempoJitter = beatsPerMinute; }
    void holdReportedSamplePosition(bool hold);
    // Moves on by `frames` samples when playing; clears the changed flag. Tempo changes inside the block
    // (in frame order, within it) move the song position at each tempo in turn and raise the flag again
    // for the next block.
    void advance(int64_t frames, const std::vector<TempoChange>& changesWithin = {});

    // The record the host answers to audioMasterGetTime for the next block.
    vst::VstTimeInfo timeInfo() const;
    bool isPlaying() const noexcept { return playing; }
    double ppqPosition() const noexcept { return ppq; }

private:
    void move(int64_t frames);

    double rate;          // Hz
    double tempo = 120.0; // beats per minute
    bool playing = false;
    bool changed = false;
    double ppq = 0.0;       // quarter notes
    double samplePos = 0.0; // samples
    int numerator = 4, denominator = 4;
    double rounding = 0.0;      // divisions of a beat; 0: the beat position is reported exactly
    double tempoJitter = 0.0;   // beats per minute
    bool jitterUp = true;       // the sign of the jitter in the next report
    bool sampleHeld = false;
    double heldSamplePos = 0.0; // samples
};
} // namespace clihost
