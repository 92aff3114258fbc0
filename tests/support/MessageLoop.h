#pragma once

#include "host/MessageThread.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <functional>

namespace juce
{
// Defined by juce_events for Linux, not declared in a public header: runs the
// next queued message, returning false when none was waiting.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace testing_support
{
// Shuts the message manager down after the last test, as a host unloading
// the module would.
class MessageManagerShutdown : public ::testing::Environment
{
public:
    void TearDown() override
    {
        juce::DeletedAtShutdown::deleteAll();
        juce::MessageManager::deleteInstance();
    }
};

// Makes the calling (test) thread the message thread.
inline void becomeMessageThread()
{
    static const bool shutdownRegistered = (::testing::AddGlobalTestEnvironment (new MessageManagerShutdown), true);
    (void) shutdownRegistered;
    juce::MessageManager::getInstance();
    host::messagethread::moveHere();
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

// Runs messages as they come, those of timers included, until done() says so
// or the time (milliseconds) is up; true when done.
inline bool runMessagesUntil (const std::function<bool()>& done, int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (milliseconds);
    while (! done())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        runPendingMessages();
        juce::Thread::sleep (1);
    }
    return true;
}

// Runs messages as they come, those of timers included, for the time given
// (milliseconds).
inline void runMessagesFor (int milliseconds)
{
    runMessagesUntil ([] { return false; }, milliseconds);
}
} // namespace testing_support
