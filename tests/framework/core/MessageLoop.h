#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
// Defined by juce_events for Linux, not declared in a public header: runs the
// next queued message, returning false when none was waiting.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace testing_support
{
// Makes the calling (test) thread the message thread.
inline void becomeMessageThread()
{
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

// Runs every message waiting in the queue, as the host's idle calls would.
// Other threads that keep posting can keep the queue busy: at most
// maxMessages are run.
inline void runPendingMessages (int maxMessages = 100000)
{
    for (int count = 0; count < maxMessages && juce::dispatchNextMessageOnSystemQueue (true); ++count)
    {
    }
}
} // namespace testing_support
