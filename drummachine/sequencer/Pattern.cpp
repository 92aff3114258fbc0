#include "drummachine/sequencer/Pattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>

Pattern::Pattern() noexcept
    : length (16), shuffle (0.0), tempo (120.0), flam (initialFlam), scale (4),
      firstPassDuration (4.0), secondPassDuration (4.0)
{
    std::memset (name, 0, sizeof (name));
    std::memcpy (name, "Empty", 5);
    clearSteps();
    updateDurations();
}

void Pattern::copyFrom (const Pattern& other) noexcept
{
    if (&other == this)
    {
        // Still bring the fields into range, as a copy does.
        Pattern copy = other;
        copyFrom (copy);
        return;
    }

    length = clampLength (other.length);
    std::memcpy (name, other.name, sizeof (name));
    name[maxNameBytes] = 0;
    scale = sanitiseScale (other.scale);
    setTempo (other.tempo);
    flam = clampFlam (other.flam);
    shuffle = clampShuffle (other.shuffle);

    for (int track = 0; track < numTracks; ++track)
        for (int step = 0; step < numSteps; ++step)
            steps[track][step] = storedValue (track, other.steps[track][step]);

    updateDurations();
}

juce::String Pattern::getName() const
{
    return juce::String::fromUTF8 (name);
}

void Pattern::setName (const juce::String& newName) noexcept
{
    const char* utf8 = newName.toRawUTF8();
    size_t bytes = std::strlen (utf8);

    if (bytes > (size_t) maxNameBytes)
    {
        bytes = (size_t) maxNameBytes;
        // Do not cut a multi-byte character in half: back up over continuation bytes.
        while (bytes > 0 && (static_cast<unsigned char> (utf8[bytes]) & 0xC0) == 0x80)
            --bytes;
    }

    std::memset (name, 0, sizeof (name));
    std::memcpy (name, utf8, bytes);
}

void Pattern::setLength (int numStepsPlayed) noexcept
{
    length = clampLength (numStepsPlayed);
    updateDurations();
}

void Pattern::setShuffle (double amount) noexcept
{
    shuffle = clampShuffle (amount);
    updateDurations();
}

void Pattern::setTempo (double bpm) noexcept
{
    tempo = roundTempo (bpm);
}

void Pattern::setFlam (double fraction) noexcept
{
    flam = clampFlam (fraction);
}

void Pattern::setScale (int stepsPerBeat) noexcept
{
    scale = sanitiseScale (stepsPerBeat);
    updateDurations();
}

// A single step is read and written as one relaxed atomic word: the editor
// and the taps change steps of the pattern that is playing, and a step is
// heard either before or after the change, never torn. The record itself
// stays a plain value that whole copies can move.
int32_t Pattern::getStep (int track, int step) const noexcept
{
    if (! isValidTrack (track) || ! isValidStep (step))
        return stepOff;
    return __atomic_load_n (&steps[track][step], __ATOMIC_RELAXED);
}

void Pattern::setStep (int track, int step, int32_t value) noexcept
{
    if (isValidTrack (track) && isValidStep (step))
        __atomic_store_n (&steps[track][step], storedValue (track, value), __ATOMIC_RELAXED);
}

bool Pattern::compareAndSetStep (int track, int step, int32_t& expected, int32_t value) noexcept
{
    if (! isValidTrack (track) || ! isValidStep (step))
        return false;
    return __atomic_compare_exchange_n (&steps[track][step], &expected, storedValue (track, value), false,
                                        __ATOMIC_RELAXED, __ATOMIC_RELAXED);
}

void Pattern::clearSteps() noexcept
{
    std::memset (steps, 0, sizeof (steps));
}

void Pattern::clearTrack (int track) noexcept
{
    if (isValidTrack (track))
        std::fill (std::begin (steps[track]), std::end (steps[track]), stepOff);
}

void Pattern::shiftRowLeft (int track, int n) noexcept
{
    if (! isValidTrack (track))
        return;

    const int places = n % length;
    if (places < 1)
        return;

    std::rotate (steps[track], steps[track] + places, steps[track] + length);
}

void Pattern::shiftRowRight (int track, int n) noexcept
{
    if (! isValidTrack (track))
        return;

    const int places = n % length;
    if (places < 1)
        return;

    std::rotate (steps[track], steps[track] + (length - places), steps[track] + length);
}

void Pattern::updateDurations() noexcept
{
    const double step = 1.0 / scale; // beats
    const double base = (length / 2) * 2.0 * step;

    if (length % 2 == 0)
    {
        firstPassDuration = secondPassDuration = base;
    }
    else
    {
        // An odd pattern ends on the long half of a shuffled pair, so its
        // second pass starts on the short half.
        firstPassDuration = base + (1.0 + shuffle) * step;
        secondPassDuration = base + (1.0 - shuffle) * step;
    }
}

int Pattern::clampLength (int n) noexcept
{
    return std::clamp (n, minLength, maxLength);
}

int Pattern::sanitiseScale (int stepsPerBeat) noexcept
{
    switch (stepsPerBeat)
    {
        case 3: case 4: case 6: case 8: return stepsPerBeat;
        default: return 4;
    }
}

double Pattern::clampShuffle (double amount) noexcept
{
    if (! std::isfinite (amount))
        return minShuffle;
    return std::clamp (amount, minShuffle, maxShuffle);
}

double Pattern::clampFlam (double fraction) noexcept
{
    if (std::isnan (fraction))
        return minFlam;
    return std::clamp (fraction, minFlam, maxFlam);
}

double Pattern::roundTempo (double bpm) noexcept
{
    if (std::isnan (bpm))
        bpm = 120.0;
    const double clamped = std::clamp (bpm, minTempo, maxTempo);
    // Tenths, halves rounded up; a tiny guard keeps 120.05 (stored as
    // 120.04999...) rounding up as written.
    const double tenths = std::floor (clamped * 10.0 + 0.5 + 1e-9);
    return tenths / 10.0;
}

int32_t Pattern::storedValue (int track, int32_t value) noexcept
{
    if (track == accentTrack)
        return value != 0 ? stepAccent : stepOff;
    return value;
}

bool Pattern::operator== (const Pattern& other) const noexcept
{
    return std::strcmp (name, other.name) == 0 && length == other.length && shuffle == other.shuffle
        && tempo == other.tempo && flam == other.flam && scale == other.scale
        && firstPassDuration == other.firstPassDuration && secondPassDuration == other.secondPassDuration
        && std::memcmp (steps, other.steps, sizeof (steps)) == 0;
}

//==============================================================================
namespace instruments
{
namespace
{
constexpr const char* longNames[Pattern::numTracks] = { "Bass Drum", "Snare Drum", "Low Tom", "Mid Tom",
                                                         "Hi Tom", "Rim Shot", "Hand Clap", "Closed Hi Hat",
                                                         "Open Hi Hat", "Crash", "Ride", "Accent" };
constexpr const char* shortCodes[Pattern::numTracks] = { "BD", "SD", "LT", "MT", "HT", "RS",
                                                          "HC", "CH", "OH", "CR", "RD", "AC" };
} // namespace

const char* getLongName (int track) noexcept
{
    return Pattern::isValidTrack (track) ? longNames[track] : "";
}

const char* getShortCode (int track) noexcept
{
    return Pattern::isValidTrack (track) ? shortCodes[track] : "";
}

int getIndexOfCode (const juce::String& code) noexcept
{
    for (int track = 0; track < Pattern::numTracks; ++track)
        if (code.equalsIgnoreCase (shortCodes[track]))
            return track;
    return -1;
}
} // namespace instruments
