#pragma once

#include <atomic>
#include <thread>

// A reader-writer lock whose readers only count themselves in: taking the read
// lock is one atomic increment while no writer holds the lock, it never
// allocates and never blocks on other readers, and a thread may take it again
// while it already reads. A writer waits until no reader is left, and readers
// wait (yielding) while it writes, so write sections must stay short: the
// parameter manager writes only at start-up, a text parameter only swaps its
// text. A thread must not write while it reads.
class SharedReadLock
{
public:
    void enterRead() const noexcept
    {
        for (;;)
        {
            int current = state.load (std::memory_order_relaxed);

            if (current >= 0 && state.compare_exchange_weak (current, current + 1, std::memory_order_acquire))
                return;

            if (current < 0)
                std::this_thread::yield();
        }
    }

    void exitRead() const noexcept { state.fetch_sub (1, std::memory_order_release); }

    void enterWrite() const noexcept
    {
        for (;;)
        {
            int idle = 0;

            if (state.compare_exchange_weak (idle, writerHolds, std::memory_order_acquire))
                return;

            std::this_thread::yield();
        }
    }

    void exitWrite() const noexcept { state.store (0, std::memory_order_release); }

    class ScopedRead
    {
    public:
        explicit ScopedRead (const SharedReadLock& l) noexcept : lock (l) { lock.enterRead(); }
        ~ScopedRead() { lock.exitRead(); }
        ScopedRead (const ScopedRead&) = delete;
        ScopedRead& operator= (const ScopedRead&) = delete;

    private:
        const SharedReadLock& lock;
    };

    class ScopedWrite
    {
    public:
        explicit ScopedWrite (const SharedReadLock& l) noexcept : lock (l) { lock.enterWrite(); }
        ~ScopedWrite() { lock.exitWrite(); }
        ScopedWrite (const ScopedWrite&) = delete;
        ScopedWrite& operator= (const ScopedWrite&) = delete;

    private:
        const SharedReadLock& lock;
    };

private:
    static constexpr int writerHolds = -1;
    mutable std::atomic<int> state { 0 }; // number of readers, or writerHolds
};
