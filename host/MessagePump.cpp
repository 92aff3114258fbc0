#include "host/MessagePump.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's Linux message loop step; defined in juce_events, not declared in its public headers.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace host
{
namespace
{
bool draining = false; // message thread only
constexpr int maximumMessagesPerDrain = 1000; // a message that re-posts itself must not hold the host's thread
} // namespace

bool drainMessageQueue()
{
    auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
    if (messageManager == nullptr || !messageManager->isThisTheMessageThread() || draining)
        return false;
    draining = true;
    juce::Timer::callPendingTimersSynchronously();
    for (int i = 0; i < maximumMessagesPerDrain && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
    draining = false;
    return true;
}
} // namespace host
