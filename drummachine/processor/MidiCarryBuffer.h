#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>
#include <vector>

// One short MIDI message (up to three bytes) at a sample position.
struct ShortMidiEvent
{
    std::int32_t position = 0; // samples from the start of the block
    std::uint8_t size = 0;
    std::uint8_t bytes[3] {};
};

// A list of short MIDI events whose room is reserved up front (message thread)
// and never grows afterwards: adding to a full list drops the event, so the
// audio thread never allocates.
class ShortMidiList
{
public:
    void reserve (size_t capacity) { events.reserve (capacity); }
    size_t getCapacity() const noexcept { return events.capacity(); }

    bool add (std::int32_t position, const std::uint8_t* data, int numBytes) noexcept;
    bool add (const ShortMidiEvent& event) noexcept;
    void clear() noexcept { events.clear(); }
    int size() const noexcept { return (int) events.size(); }
    const ShortMidiEvent& operator[] (int index) const noexcept { return events[(size_t) index]; }

private:
    std::vector<ShortMidiEvent> events;
};

// The host's events of this block plus those carried from earlier blocks,
// read in position order; events past the block move into the next one with
// their position reduced by the block length. Audio thread, except reserve.
// System-exclusive and other long messages are not kept: nothing here reads them.
class MidiCarryBuffer
{
public:
    // Message thread (prepare). Room for this many events in each list.
    void reserve (size_t capacity);
    void clear() noexcept;

    // Adds the host's events after the carried ones of the same position;
    // negative positions are skipped. The read index goes back to the start.
    void mergeIncoming (const juce::MidiBuffer& hostMidi) noexcept;

    bool hasEvent() const noexcept { return readIndex < current().size(); }
    // Position of the next unread event; meaningful only when hasEvent().
    std::int32_t getNextPosition() const noexcept { return current()[readIndex].position; }
    const ShortMidiEvent& takeNext() noexcept { return current()[readIndex++]; }

    // Keeps the events at or past blockLength for the next block.
    void carryOver (int blockLength) noexcept;

    int getNumCarried() const noexcept { return current().size(); }

private:
    ShortMidiList& current() noexcept { return lists[currentIndex]; }
    const ShortMidiList& current() const noexcept { return lists[currentIndex]; }
    ShortMidiList& other() noexcept { return lists[1 - currentIndex]; }

    ShortMidiList lists[2];
    int currentIndex = 0;
    int readIndex = 0;
};
