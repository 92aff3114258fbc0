#pragma once
// Nothing pumps JUCE's message queue inside a Linux host: the binding drains
// it (due timers, deferred updates, posted messages, window events) and has
// every window paint what it has pending whenever the host gives it idle
// time on the message thread.
namespace host
{
// The binding's re-entrance flag, process-wide, message thread only (inside the host call gate): set while
// it pumps for the host's idle call or deletes an editor, so that neither
// starts inside the other (a component's destructor or a posted message may
// call back into the host, which may idle us again).
class BindingBusy
{
public:
    BindingBusy() noexcept : setHere(!busy) { busy = true; }
    ~BindingBusy()
    {
        if (setHere)
            busy = false;
    }
    BindingBusy(const BindingBusy&) = delete;
    BindingBusy& operator=(const BindingBusy&) = delete;

    static bool isSet() noexcept { return busy; }

private:
    const bool setHere;
    static inline bool busy = false;
};

// True on JUCE's message thread: the host thread inside the binding's host call gate, or the one that
// was there last.
bool isMessageThread();

// Message thread only; answers false elsewhere or while the binding is busy.
bool drainMessageQueue();
} // namespace host
