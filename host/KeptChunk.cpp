#include "host/KeptChunk.h"

#include <limits>

namespace host
{
int32_t KeptChunk::keep(juce::MemoryBlock&& data, uint32_t nowMs, void** hostPointer)
{
    const juce::ScopedLock lock(guard);
    block = std::move(data);
    keptAtMs = nowMs == 0 ? 1 : nowMs;
    if (hostPointer != nullptr)
        *hostPointer = block.getData();
    if (block.getSize() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    return static_cast<int32_t>(block.getSize());
}

bool KeptChunk::releaseIfOlderThan(uint32_t nowMs, uint32_t ageMs)
{
    const juce::ScopedLock lock(guard);
    if (keptAtMs == 0 || nowMs - keptAtMs <= ageMs)
        return false;
    releaseLocked();
    return true;
}

void KeptChunk::release()
{
    const juce::ScopedLock lock(guard);
    releaseLocked();
}

size_t KeptChunk::getSize() const
{
    const juce::ScopedLock lock(guard);
    return block.getSize();
}

void KeptChunk::releaseLocked()
{
    block.reset();
    keptAtMs = 0;
}
} // namespace host
