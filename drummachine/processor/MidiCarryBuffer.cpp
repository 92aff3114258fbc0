#include "drummachine/processor/MidiCarryBuffer.h"

bool ShortMidiList::add (std::int32_t position, const std::uint8_t* data, int numBytes) noexcept
{
    if (numBytes < 1 || numBytes > 3 || events.size() >= events.capacity())
        return false;

    ShortMidiEvent event;
    event.position = position;
    event.size = (std::uint8_t) numBytes;
    for (int i = 0; i < numBytes; ++i)
        event.bytes[i] = data[i];
    events.push_back (event);
    return true;
}

bool ShortMidiList::add (const ShortMidiEvent& event) noexcept
{
    if (events.size() >= events.capacity())
        return false;
    events.push_back (event);
    return true;
}

void MidiCarryBuffer::reserve (size_t capacity)
{
    for (auto& list : lists)
        list.reserve (capacity);
}

void MidiCarryBuffer::clear() noexcept
{
    for (auto& list : lists)
        list.clear();
    readIndex = 0;
}

void MidiCarryBuffer::mergeIncoming (const juce::MidiBuffer& hostMidi) noexcept
{
    // Both the carried list and the host's buffer are in position order: merge
    // them into the spare list, carried events first at equal positions.
    auto& carried = current();
    auto& merged = other();
    merged.clear();

    int c = 0;
    for (const auto metadata : hostMidi)
    {
        if (metadata.samplePosition < 0)
            continue;

        while (c < carried.size() && carried[c].position <= metadata.samplePosition)
            merged.add (carried[c++]);

        merged.add (metadata.samplePosition, metadata.data, metadata.numBytes);
    }

    while (c < carried.size())
        merged.add (carried[c++]);

    currentIndex = 1 - currentIndex;
    readIndex = 0;
}

void MidiCarryBuffer::carryOver (int blockLength) noexcept
{
    auto& kept = other();
    kept.clear();

    const auto& list = current();
    for (int i = 0; i < list.size(); ++i)
    {
        if (list[i].position >= blockLength)
        {
            auto event = list[i];
            event.position -= blockLength;
            kept.add (event);
        }
    }

    current().clear();
    currentIndex = 1 - currentIndex;
    readIndex = 0;
}
