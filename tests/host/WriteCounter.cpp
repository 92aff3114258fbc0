#include "WriteCounter.h"

#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

namespace
{
using WriteFunction = ssize_t (*) (int, const void*, size_t);

thread_local bool threadCounting = false;
thread_local long threadWrites = 0;

// The next write() in the lookup order: the C library's, or the sanitizer
// runtime's own interceptor in front of it. Looked up before any counting, as
// dlsym may allocate.
WriteFunction nextWrite = reinterpret_cast<WriteFunction> (dlsym (RTLD_NEXT, "write"));
} // namespace

extern "C" ssize_t write (int descriptor, const void* bytes, size_t size)
{
    if (threadCounting)
        ++threadWrites;
    if (nextWrite == nullptr)
        nextWrite = reinterpret_cast<WriteFunction> (dlsym (RTLD_NEXT, "write"));
    return nextWrite (descriptor, bytes, size);
}

namespace host_tests
{
WriteCounter::WriteCounter() noexcept
{
    threadWrites = 0;
    threadCounting = true;
}

WriteCounter::~WriteCounter() { stop(); }

long WriteCounter::count() const noexcept { return running ? threadWrites : total; }

void WriteCounter::stop() noexcept
{
    if (! running)
        return;
    threadCounting = false;
    total = threadWrites;
    running = false;
}

bool WriteCounter::isInterposed() noexcept
{
    // What a shared library calling write() reaches is what the global lookup finds.
    return dlsym (RTLD_DEFAULT, "write") == reinterpret_cast<void*> (&::write);
}

WriteCountingPaused::WriteCountingPaused() noexcept : wasCounting (threadCounting) { threadCounting = false; }

WriteCountingPaused::~WriteCountingPaused() { threadCounting = wasCounting; }
} // namespace host_tests
