#pragma once

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

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
