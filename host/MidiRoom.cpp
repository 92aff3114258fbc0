#include "host/MidiRoom.h"

namespace host
{
bool addWithinRoom(juce::MidiBuffer& buffer, int roomBytes, const void* data, int maxBytes, int position)
{
    if (data == nullptr || maxBytes < 1 || maxBytes > roomBytes)
        return false;
    // The buffer stores at most maxBytes of data; counting all of them keeps the check on the safe side.
    if (buffer.data.size() > roomBytes - midiEventHeaderBytes - maxBytes)
        return false;
    buffer.addEvent(data, maxBytes, position);
    return true;
}

void addEventsWithinRoom(juce::MidiBuffer& buffer, int roomBytes, const juce::MidiBuffer& source, int start,
                         int count, int shift)
{
    for (const auto event : source)
    {
        if (event.samplePosition < start)
            continue;
        if (count >= 0 && event.samplePosition >= start + count)
            break;
        addWithinRoom(buffer, roomBytes, event.data, event.numBytes, event.samplePosition + shift);
    }
}

int storedSysexLength(const unsigned char* dump, int dumpBytes) noexcept
{
    if (dump == nullptr || dumpBytes < 1)
        return 0;
    const int scanned = std::min(dumpBytes, maxSysexBytes);
    for (int i = 1; i < scanned; ++i)
        if (dump[i] == 0xF7)
            return i + 1;
    return dumpBytes <= maxSysexBytes ? dumpBytes : 0;
}
} // namespace host
