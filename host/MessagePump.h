#pragma once
// Nothing pumps JUCE's message queue inside a Linux host: the binding drains
// it (due timers, deferred updates, posted messages) whenever the host gives
// it idle time on the message thread.
namespace host
{
// Message thread only; answers false elsewhere or when nested inside a drain.
bool drainMessageQueue();
} // namespace host
