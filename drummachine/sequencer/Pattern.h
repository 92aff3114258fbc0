#pragma once

#include <cstdint>
#include <type_traits>

#include <juce_core/juce_core.h>

// One sequencer pattern: up to 16 steps on 12 tracks (eleven instruments and
// the accent track) with its tempo, shuffle, flam time and step scale.
//
// The record is a plain value: no heap, trivially copyable, so a whole pattern
// can be copied or swapped in on the audio thread without allocating. The name
// lives in a fixed UTF-8 buffer for the same reason.
class Pattern
{
public:
    static constexpr int numTracks = 12;
    static constexpr int numSteps = 16;
    static constexpr int accentTrack = 11;
    static constexpr int maxNameBytes = 63; // UTF-8 bytes, longer names are cut at a character boundary

    // Step values.
    static constexpr int32_t stepOff = 0;
    static constexpr int32_t stepOn = 1;
    static constexpr int32_t stepAccent = 2; // a strong hit
    static constexpr int32_t stepFlam = 3;

    static constexpr int minLength = 1, maxLength = 16;
    static constexpr double minShuffle = 0.0, maxShuffle = 0.8;
    static constexpr double minTempo = 30.0, maxTempo = 300.0; // BPM
    static constexpr double minFlam = 0.121, maxFlam = 0.383;  // fraction of a step
    static constexpr double initialFlam = 0.5; // outside the range until first set, copied or read

    Pattern() noexcept;

    // Whole-record copy that brings every field into its range (the flam too).
    void copyFrom (const Pattern& other) noexcept;

    juce::String getName() const;
    void setName (const juce::String& newName) noexcept;
    const char* getNameUtf8() const noexcept { return name; }

    int getLength() const noexcept { return length; }
    void setLength (int numStepsPlayed) noexcept; // clamped 1..16, durations recomputed

    double getShuffle() const noexcept { return shuffle; }
    void setShuffle (double amount) noexcept; // clamped 0..0.8, durations recomputed

    double getTempo() const noexcept { return tempo; }
    void setTempo (double bpm) noexcept; // clamped 30..300, rounded to 0.1

    double getFlam() const noexcept { return flam; }
    void setFlam (double fraction) noexcept; // clamped 0.121..0.383

    int getScale() const noexcept { return scale; }
    void setScale (int stepsPerBeat) noexcept; // 3, 4, 6 or 8, anything else 4; durations recomputed

    // Beats taken by the first and the second pass through the pattern; they
    // differ only for an odd length with shuffle.
    double getFirstPassDuration() const noexcept { return firstPassDuration; }
    double getSecondPassDuration() const noexcept { return secondPassDuration; }

    // 0 outside track 0..11 / step 0..15.
    int32_t getStep (int track, int step) const noexcept;
    // Ignored outside the grid; the accent track only ever stores 0 or 2.
    void setStep (int track, int step, int32_t value) noexcept;
    // Stores value (by the accent-track rule) only while the step still holds
    // expected; otherwise expected becomes what it holds and nothing is
    // written. False outside the grid. For read-modify-write edits that must
    // not lose a write another thread made in between.
    bool compareAndSetStep (int track, int step, int32_t& expected, int32_t value) noexcept;
    void clearSteps() noexcept;
    void clearTrack (int track) noexcept;
    // Rotates the first `length` steps of a track by n places; n <= 0 or a
    // multiple of the length does nothing.
    void shiftRowLeft (int track, int n) noexcept;
    void shiftRowRight (int track, int n) noexcept;

    void updateDurations() noexcept;

    static bool isValidTrack (int track) noexcept { return track >= 0 && track < numTracks; }
    static bool isValidStep (int step) noexcept { return step >= 0 && step < numSteps; }
    static int clampLength (int n) noexcept;
    static int sanitiseScale (int stepsPerBeat) noexcept;
    static double clampShuffle (double amount) noexcept;
    static double clampFlam (double fraction) noexcept;
    static double roundTempo (double bpm) noexcept;
    static int32_t storedValue (int track, int32_t value) noexcept; // the accent-track rule

    bool operator== (const Pattern& other) const noexcept;
    bool operator!= (const Pattern& other) const noexcept { return ! (*this == other); }

private:
    char name[maxNameBytes + 1];
    int32_t length;
    double shuffle;
    double tempo; // BPM
    double flam;
    int32_t scale; // steps per beat
    double firstPassDuration;  // beats
    double secondPassDuration; // beats
    int32_t steps[numTracks][numSteps];
};

static_assert (std::is_trivially_copyable_v<Pattern>, "patterns are copied by value on the audio thread");

// The twelve tracks' long names ("Bass Drum" .. "Accent") and short codes
// ("BD" .. "AC"). Any thread.
namespace instruments
{
constexpr int numInstruments = 11; // tracks 0..10 sound; track 11 is the accent
const char* getLongName (int track) noexcept;  // "" outside 0..11
const char* getShortCode (int track) noexcept; // "" outside 0..11
int getIndexOfCode (const juce::String& code) noexcept; // case-free, -1 when unknown
} // namespace instruments
