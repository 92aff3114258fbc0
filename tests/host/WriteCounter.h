#pragma once

// Counts the write() system calls of one thread, the way a JUCE message post
// shows itself on Linux: posting wakes the message loop by writing a byte to
// its socket. Linking WriteCounter.cpp puts a write() of this executable in
// front of the C library's (the executable must export it, see
// CMakeLists.txt), so a module loaded at run time goes through it too.
namespace host_tests
{
// Counts the constructing thread's write() calls while it lives.
class WriteCounter
{
public:
    WriteCounter() noexcept;
    ~WriteCounter();

    WriteCounter (const WriteCounter&) = delete;
    WriteCounter& operator= (const WriteCounter&) = delete;

    long count() const noexcept;
    void stop() noexcept;

    // False when write() is not ours after all (the module's calls would go
    // around the counter): a test then cannot rely on a count of zero.
    static bool isInterposed() noexcept;

private:
    bool running = true;
    long total = 0;
};

// While it lives, the calling thread's write() calls are not counted (a
// host's side of a call).
class WriteCountingPaused
{
public:
    WriteCountingPaused() noexcept;
    ~WriteCountingPaused();

    WriteCountingPaused (const WriteCountingPaused&) = delete;
    WriteCountingPaused& operator= (const WriteCountingPaused&) = delete;

private:
    bool wasCounting;
};
} // namespace host_tests
