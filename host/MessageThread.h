#pragma once
// Which thread is JUCE's message thread, told without a lock, and moving it.
//
// JUCE keeps its message thread's id behind a mutex that its own check takes,
// which the audio thread must not. Whoever moves the message thread does it
// through moveHere, which marks the new thread here first; isCurrentThread
// reads the mark lock-free. Until the first move in a process, the message
// manager's own record (set when it was made, before any other thread could
// ask) holds.
#include <juce_events/juce_events.h>

#include <atomic>

namespace host::messagethread
{
// Null until the first move, and again once the message manager is gone.
inline std::atomic<juce::Thread::ThreadID> movedTo { nullptr };

// Any thread, the audio thread included: no lock, no allocation.
inline bool isCurrentThread() noexcept
{
    const auto* manager = juce::MessageManager::getInstanceWithoutCreating();
    if (manager == nullptr)
        return false;
    const auto moved = movedTo.load(std::memory_order_acquire);
    return (moved != nullptr ? moved : manager->getCurrentMessageThread()) == juce::Thread::getCurrentThreadId();
}

// Makes the calling thread JUCE's message thread; nothing without a message manager. Only one thread may
// move it at a time (the binding moves it inside its host call gate).
inline void moveHere()
{
    auto* manager = juce::MessageManager::getInstanceWithoutCreating();
    if (manager == nullptr)
        return;
    movedTo.store(juce::Thread::getCurrentThreadId(), std::memory_order_release);
    manager->setCurrentThreadAsMessageThread();
}

// Once the message manager has been deleted: the next one's own record holds again.
inline void forgetMove() noexcept
{
    if (juce::MessageManager::getInstanceWithoutCreating() == nullptr)
        movedTo.store(nullptr, std::memory_order_release);
}
} // namespace host::messagethread
