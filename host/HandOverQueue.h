#pragma once

#include <juce_core/juce_core.h>

#include <array>

// How the message thread hands small records to the audio thread: single
// producer (the message thread), single consumer (the audio thread, at the
// start of each block). Fixed capacity: push refuses when full rather than
// grow, pop never blocks, neither allocates.
template <typename Record, int capacity = 1024>
class HandOverQueue
{
public:
    // Message thread. False when the queue is full (the record is dropped).
    bool push (const Record& command) noexcept
    {
        const auto scope = fifo.write (1);
        if (scope.blockSize1 > 0)
            slots[(size_t) scope.startIndex1] = command;
        else if (scope.blockSize2 > 0)
            slots[(size_t) scope.startIndex2] = command;
        else
            return false;
        return true;
    }

    // Audio thread. False when nothing is waiting.
    bool pop (Record& command) noexcept
    {
        const auto scope = fifo.read (1);
        if (scope.blockSize1 > 0)
            command = slots[(size_t) scope.startIndex1];
        else if (scope.blockSize2 > 0)
            command = slots[(size_t) scope.startIndex2];
        else
            return false;
        return true;
    }

    int getNumWaiting() const noexcept { return fifo.getNumReady(); }

private:
    juce::AbstractFifo fifo { capacity };
    std::array<Record, (size_t) capacity> slots {};
};
