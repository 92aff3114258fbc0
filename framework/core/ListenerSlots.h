#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>

// A small fixed set of listener pointers that any thread may walk while
// another thread adds or removes entries: walking takes no lock and never
// allocates, so the audio thread can notify through it. Entries are walked
// from the last added to the first; a removed entry leaves an empty slot
// that a later add fills only once the slots past it are used up.
template <typename ListenerType, int capacity>
class ListenerSlots
{
public:
    // Any thread except inside a walk of this set. False when the listener is
    // null, already present or no slot is free.
    bool add (ListenerType* listener)
    {
        if (listener == nullptr)
            return false;

        const juce::SpinLock::ScopedLockType writing (writeLock);

        if (contains (listener))
            return false;

        const int used = highWater.load (std::memory_order_relaxed);

        if (used < capacity)
        {
            slots[(size_t) used].store (listener, std::memory_order_release);
            highWater.store (used + 1, std::memory_order_release);
            return true;
        }

        for (auto& slot : slots)
        {
            if (slot.load (std::memory_order_relaxed) == nullptr)
            {
                slot.store (listener, std::memory_order_release);
                return true;
            }
        }

        jassertfalse; // more listeners on one parameter than anyone expects
        return false;
    }

    // Any thread. A walk running on another thread may still call the
    // listener once.
    void remove (ListenerType* listener)
    {
        const juce::SpinLock::ScopedLockType writing (writeLock);

        for (auto& slot : slots)
            if (slot.load (std::memory_order_relaxed) == listener)
                slot.store (nullptr, std::memory_order_release);

        int used = highWater.load (std::memory_order_relaxed);
        while (used > 0 && slots[(size_t) used - 1].load (std::memory_order_relaxed) == nullptr)
            --used;
        highWater.store (used, std::memory_order_release);
    }

    bool contains (ListenerType* listener) const noexcept
    {
        for (auto& slot : slots)
            if (slot.load (std::memory_order_acquire) == listener)
                return true;

        return false;
    }

    bool isEmpty() const noexcept { return highWater.load (std::memory_order_acquire) == 0; }

    // Any thread; lock-free. Calls fn (listener) from the last slot to the first.
    template <typename Function>
    void callLastToFirst (Function&& fn) const
    {
        for (int i = highWater.load (std::memory_order_acquire); --i >= 0;)
            if (auto* listener = slots[(size_t) i].load (std::memory_order_acquire))
                fn (*listener);
    }

private:
    std::array<std::atomic<ListenerType*>, (size_t) capacity> slots {};
    std::atomic<int> highWater { 0 };
    juce::SpinLock writeLock;
};
