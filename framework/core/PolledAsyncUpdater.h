#pragma once

#include "host/MessageThread.h"

#include <juce_events/juce_events.h>

#include <atomic>

// An asynchronous update that any thread may ask for without posting a
// message from that thread. Posting takes the message queue's lock, may
// allocate and makes a system call, which the audio thread and a host's
// automation thread must not do. So:
//  - on the message thread, requestUpdate posts at once, as
//    juce::AsyncUpdater::triggerAsyncUpdate does;
//  - on any other thread it only raises a flag, and the update runs when the
//    message thread next calls pollUpdateRequest (the processor's poll timer).
// Several requests before the update runs give one call of handleAsyncUpdate.
//
// A block rendered on the message thread itself (an offline host that
// processes on its UI thread) counts as audio work too: the processor marks
// its block with ScopedAudioCallback, and requests made inside it wait for
// the poll like those of any other thread.
class PolledAsyncUpdater : public juce::AsyncUpdater
{
public:
    // Audio thread (or whichever thread renders a block): marks a block that
    // the message thread itself renders, for the guard's lifetime. Guards may
    // nest. Only the message thread ever changes or reads the mark, so one
    // counter serves every instance; a thread_local would do too, but glibc
    // allocates a loaded module's thread-local storage on each thread's first
    // touch, which would be the audio thread's first block.
    class ScopedAudioCallback
    {
    public:
        ScopedAudioCallback() noexcept : onMessageThread (isMessageThread())
        {
            if (onMessageThread)
                messageThreadRenderDepth().fetch_add (1, std::memory_order_relaxed);
        }

        ~ScopedAudioCallback()
        {
            if (onMessageThread)
                messageThreadRenderDepth().fetch_sub (1, std::memory_order_relaxed);
        }

        ScopedAudioCallback (const ScopedAudioCallback&) = delete;
        ScopedAudioCallback& operator= (const ScopedAudioCallback&) = delete;

        // Message thread: true while it renders a block.
        static bool isActiveOnMessageThread() noexcept { return messageThreadRenderDepth().load (std::memory_order_relaxed) > 0; }

    private:
        static std::atomic<int>& messageThreadRenderDepth() noexcept
        {
            static std::atomic<int> depth { 0 };
            return depth;
        }

        const bool onMessageThread;
    };

    // Any thread. Unlike juce::MessageManager::existsAndIsCurrentThread it
    // takes no lock: a host may move the message thread to whichever of its
    // threads makes the editor calls, and the move is marked lock-free.
    static bool isMessageThread() noexcept { return host::messagethread::isCurrentThread(); }

    // Any thread. True on the message thread outside a rendered block.
    static bool mayPostFromThisThread() noexcept
    {
        return isMessageThread() && ! ScopedAudioCallback::isActiveOnMessageThread();
    }

    // Any thread. Off the message thread: lock-free, no allocation, no post.
    void requestUpdate() noexcept
    {
        if (mayPostFromThisThread())
            triggerAsyncUpdate();
        else
            requestedElsewhere.store (true, std::memory_order_release);
    }

    // Message thread: when another thread asked for the update, runs it now
    // (and drops a posted one that would repeat it). True when it ran.
    bool pollUpdateRequest()
    {
        if (! requestedElsewhere.exchange (false, std::memory_order_acq_rel))
            return false;

        cancelPendingUpdate();
        handleAsyncUpdate();
        return true;
    }

    // Any thread: a request from another thread waits for the poll.
    bool isUpdateRequestWaiting() const noexcept { return requestedElsewhere.load (std::memory_order_acquire); }

private:
    std::atomic<bool> requestedElsewhere { false };
};
