#pragma once
// A host call into the binding's message-thread side.
//
// Hosts call a plug-in from more than one thread besides the audio thread.
// Ardour makes the instance, its state calls and its removal on its GUI
// thread, and every editor call (open, idle, close) on a plug-in event loop
// thread of its own; most hosts make all of them on one thread. JUCE has one
// message thread, and the editor, its timers and its windows live on it.
//
// So every call that may touch what the editor touches (the editor and idle
// opcodes, state chunks, programs, parameter texts, open, close, the entry)
// runs inside a HostCallScope: it holds one process-wide gate, so that only
// one host thread at a time is inside that side of the binding, and makes
// the calling thread JUCE's message thread while it runs. The thread on
// which the host makes its editor calls is thus the message thread whenever
// the editor works, and a state call on another thread changes nothing under
// the editor: it runs between two of the editor's calls, as the message
// thread, and what it leaves for the editor (posted messages, polled flags)
// is taken up at the next idle call, wherever it comes from.
//
// A thread waits at the gate only for a call that another host thread is
// making into the binding at that moment, each bounded (an idle call drains
// a bounded number of messages); never for an idle call, a posted message
// or the message manager's lock, none of which a host is bound to give.
// The audio thread never enters: it takes only the processor's callback
// lock, and the gate is always taken before that lock, never inside it.
#include <mutex>

namespace host
{
class HostCallScope
{
public:
    // Any host thread but the audio thread. Re-entrant on one thread (a host may call back in from a
    // callback the binding makes).
    HostCallScope();
    ~HostCallScope();
    HostCallScope(const HostCallScope&) = delete;
    HostCallScope& operator=(const HostCallScope&) = delete;

private:
    std::unique_lock<std::recursive_mutex> held;
};
} // namespace host
