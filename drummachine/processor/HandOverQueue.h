#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

// What the message thread asks of the audio side, one small record each.
struct HandOverCommand
{
    enum Kind : std::int32_t
    {
        triggerPad = 0,   // instrument 0..11 plays now at velocity (0..1)
        queueTap,         // track 0..11 tapped with step value 1..3
        clearQueuedTaps,  // forget taps not yet played
        flushNoteOffs     // send the note-offs of every echoed note
    };

    Kind kind = triggerPad;
    std::int32_t track = 0;
    std::int32_t value = 0;
    float velocity = 0.0f;
};

// Single producer (the message thread), single consumer (the audio thread, at
// the start of each block). Fixed capacity: push refuses when full rather than
// grow, pop never blocks, neither allocates.
class HandOverQueue
{
public:
    static constexpr int capacity = 1024;

    // Message thread. False when the queue is full (the command is dropped).
    bool push (const HandOverCommand& command) noexcept
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
    bool pop (HandOverCommand& command) noexcept
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
    std::array<HandOverCommand, (size_t) capacity> slots {};
};
