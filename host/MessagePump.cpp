#include "host/MessagePump.h"

#include "host/MessageThread.h"

// JUCE's X window system, for the display connection its windows use.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_events/native/juce_linux_EventLoopInternal.h>

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
constexpr int maximumPaintRounds = 8;         // events that keep asking for paints must not either

void paintPendingRepaints()
{
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer(i))
            peer->performAnyPendingRepaintsNow();
}

// Whenever JUCE waits for the X server (painting, or a timer asking whether a paint has completed), Xlib
// reads everything the server has sent into its own queue. The connection's socket is then empty, so no
// poll of it sees those events: a mouse release read that way would wait for the next X traffic, however
// often the host idles us. They are dispatched here, by the connection's own handler. False when Xlib
// held none.
bool dispatchEventsXlibHolds()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    if (display == nullptr)
        return false;
    auto& x11 = *juce::X11Symbols::getInstance();
    {
        const juce::XWindowSystemUtilities::ScopedXLock lock;
        if (x11.xEventsQueued(display, QueuedAlready) == 0)
            return false;
    }
    juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd(x11.xConnectionNumber(display));
    return true;
}
} // namespace

bool isMessageThread() { return messagethread::isCurrentThread(); }

bool drainMessageQueue()
{
    if (!isMessageThread() || BindingBusy::isSet())
        return false;
    const BindingBusy busy;
    juce::Timer::callPendingTimersSynchronously();
    for (int i = 0; i < maximumMessagesPerDrain && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
    // The host gives no other chance to draw: what the messages and timers asked to repaint is painted now,
    // and so is what the events that the painting brought in ask for.
    for (int round = 0; round < maximumPaintRounds; ++round)
    {
        paintPendingRepaints();
        if (!dispatchEventsXlibHolds())
            break;
    }
    return true;
}
} // namespace host
