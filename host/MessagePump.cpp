#include "host/MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
// JUCE's Linux message loop step; defined in juce_events, not declared in its public headers.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace host
{
namespace
{
constexpr int maximumMessagesPerDrain = 1000; // a message that re-posts itself must not hold the host's thread
} // namespace

bool isMessageThread()
{
    auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
    return messageManager != nullptr && messageManager->isThisTheMessageThread();
}

bool drainMessageQueue()
{
    if (!isMessageThread() || BindingBusy::isSet())
        return false;
    const BindingBusy busy;
    juce::Timer::callPendingTimersSynchronously();
    for (int i = 0; i < maximumMessagesPerDrain && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
    // The host gives no other chance to draw: what the messages and timers asked to repaint is painted now.
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer(i))
            peer->performAnyPendingRepaintsNow();
    return true;
}
} // namespace host
