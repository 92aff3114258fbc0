#pragma once
// The state chunk last handed to the host. The host reads it through the
// pointer it got until its next chunk request; it is released then, or by the
// binding's timer once it is older than the keep time. A lock guards it
// because hosts may ask for chunks off the message thread while the timer runs.
#include <juce_core/juce_core.h>

#include <cstdint>

namespace host
{
class KeptChunk
{
public:
    static constexpr uint32_t keepMilliseconds = 2000;

    // Host's UI thread as a rule. Keeps `data`, hands its address to the host and answers its size in bytes.
    int32_t keep(juce::MemoryBlock&& data, uint32_t nowMs, void** hostPointer);
    // Runs `read` while the kept block is still alive (the host may hand back that very block), then releases it.
    template <typename ReadFunction>
    void readThenRelease(ReadFunction&& read)
    {
        const juce::ScopedLock lock(guard);
        read();
        releaseLocked();
    }
    // Message thread (the binding's timer): releases the block when it is older than the keep time.
    bool releaseIfOlderThan(uint32_t nowMs, uint32_t ageMs = keepMilliseconds);
    void release();
    size_t getSize() const;

private:
    void releaseLocked();

    mutable juce::CriticalSection guard;
    juce::MemoryBlock block;
    uint32_t keptAtMs = 0; // 0 = nothing kept
};
} // namespace host
