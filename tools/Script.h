#pragma once
// A script of MIDI events and transport changes at sample positions, read
// from text. One command per line, '#' starts a comment:
//
//   at <time> note <channel 1-16> <key> <velocity>   note on
//   at <time> off <channel> <key>                    note off
//   at <time> cc <channel> <controller> <value>
//   at <time> midi <hex byte> ...                    raw bytes; more than 4 make a sysex event
//   at <time> tempo <beats per minute>
//   at <time> tempo-in-block <beats per minute>      a change inside a block, as real hosts make it: the
//                                                    block is not split and reports the tempo it started
//                                                    with; the song position moves at the new tempo from
//                                                    <time>, and the next block reports it
//   at <time> play | stop
//   at <time> position <quarter notes>               song position, negative for a count-in
//   at <time> timesig <numerator> <denominator>
//   at <time> param <index> <value 0-1>
//   at <time> report-rounding <divisions>            the host reports its song position rounded to 1/<divisions> of a
//                                                    beat, as many hosts do (1920 is common); 0 reports it exactly
//   at <time> report-tempo-jitter <beats per minute> the host reports its tempo off by this, up and down in turn
//                                                    block by block, as a tempo computed afresh each block
//   at <time> report-sample-position held | moving   the host's reported sample position stays where it is (as some
//                                                    hosts leave it, at 0 from the start), or moves again
//   end <time>                                       length of the rendering
//
// A time is a sample frame ("4410") or seconds ("0.1s"), at most ten minutes
// (maxSeconds) from the start.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace clihost
{
// The bytes of a MIDI event: up to four (every channel message) in place, a longer sysex message on the
// heap, so a script of millions of notes takes little more memory than its text.
class MidiBytes
{
public:
    MidiBytes() = default;
    MidiBytes(std::initializer_list<uint8_t> bytes) : MidiBytes(bytes.begin(), bytes.size()) {}
    MidiBytes(const std::vector<uint8_t>& bytes) : MidiBytes(bytes.data(), bytes.size()) {}
    MidiBytes(const uint8_t* bytes, size_t size);
    MidiBytes(const MidiBytes& other) : MidiBytes(other.data(), other.size()) {}
    MidiBytes(MidiBytes&&) noexcept = default;
    MidiBytes& operator=(const MidiBytes& other) { return *this = MidiBytes(other); }
    MidiBytes& operator=(MidiBytes&&) noexcept = default;

    const uint8_t* data() const noexcept { return large != nullptr ? large.get() : small; }
    size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }
    const uint8_t* begin() const noexcept { return data(); }
    const uint8_t* end() const noexcept { return data() + count; }
    operator std::vector<uint8_t>() const { return { begin(), end() }; }
    bool operator==(const std::vector<uint8_t>& bytes) const;

private:
    uint32_t count = 0;
    uint8_t small[4] = {};
    std::unique_ptr<uint8_t[]> large; // more than four bytes
};

struct ScriptEvent
{
    enum class Kind : uint8_t
    {
        midi, tempo, tempoInBlock, play, stop, position, timeSignature, parameter,
        reportRounding, reportTempoJitter, reportSamplePosition
    };

    int64_t frame = 0;
    Kind kind = Kind::midi;
    int line = 0;               // in the script text: orders events of one frame
    MidiBytes bytes;            // midi
    double value = 0.0;         // tempo, jitter (bpm), position (quarter notes), parameter value (0-1), rounding
    int first = 0, second = 0;  // time signature; parameter index in `first`; 1 in `first`: sample position held
};

struct Script
{
    std::vector<ScriptEvent> events; // in frame order, equal frames in script order
    int64_t lengthFrames = 0;        // 0: up to the last event

    static constexpr double maxSeconds = 600.0; // latest time of an event or the end

    // Reads a script; false with `error` naming the first line that cannot be read (an unknown command, a
    // number out of its range or of the script's time, a missing or extra word), and then no event.
    static bool parse(const std::string& text, double sampleRate, Script& script, std::string& error);
};
} // namespace clihost
