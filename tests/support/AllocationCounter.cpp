#include "support/AllocationCounter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PULSETTA_SANITIZER_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define PULSETTA_SANITIZER_ALLOCATOR 1
#endif

namespace
{
// Plain and trivially constructed, so they are usable from the first
// allocation the runtime makes, before any constructor has run.
thread_local bool threadCounting = false;
thread_local bool threadCountsOnlyOperatorNew = false;
thread_local long threadAllocations = 0;
thread_local bool insideOperatorNew = false;
std::atomic<bool> processCounting { false };
std::atomic<bool> processCountsOnlyOperatorNew { false };
std::atomic<long> processAllocations { 0 };

// Called for every allocation of the C allocator; operator new comes through
// here too, marked by insideOperatorNew.
void noteAllocation() noexcept
{
    if (threadCounting && (insideOperatorNew || ! threadCountsOnlyOperatorNew))
        ++threadAllocations;
    if (processCounting.load (std::memory_order_relaxed)
        && (insideOperatorNew || ! processCountsOnlyOperatorNew.load (std::memory_order_relaxed)))
        processAllocations.fetch_add (1, std::memory_order_relaxed);
}
} // namespace

#if defined(PULSETTA_SANITIZER_ALLOCATOR)
// The sanitizer runtime's hook interface (its header is not always installed).
extern "C" int __sanitizer_install_malloc_and_free_hooks (void (*mallocHook) (const volatile void*, std::size_t),
                                                          void (*freeHook) (const volatile void*));
namespace
{
void mallocHook (const volatile void*, std::size_t) { noteAllocation(); }
void freeHook (const volatile void*) {}
// Installed when this file's object is linked in, which every user of the counter makes sure of.
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks (mallocHook, freeHook);
} // namespace
#else
// glibc's own entry points, so the replacements below can hand on to them.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);
void __libc_free (void*);

void* malloc (std::size_t size)
{
    noteAllocation();
    return __libc_malloc (size);
}
void* calloc (std::size_t count, std::size_t size)
{
    noteAllocation();
    return __libc_calloc (count, size);
}
void* realloc (void* pointer, std::size_t size)
{
    noteAllocation();
    return __libc_realloc (pointer, size);
}
void* memalign (std::size_t alignment, std::size_t size)
{
    noteAllocation();
    return __libc_memalign (alignment, size);
}
void* aligned_alloc (std::size_t alignment, std::size_t size) { return memalign (alignment, size); }
int posix_memalign (void** result, std::size_t alignment, std::size_t size)
{
    void* pointer = memalign (alignment, size);
    if (pointer == nullptr)
        return ENOMEM;
    *result = pointer;
    return 0;
}
void free (void* pointer) { __libc_free (pointer); }
}
#endif

// The global operator new goes through malloc, where it is counted (once).
// Out of line: inlined, the compiler would pair new with free and warn.
namespace
{
// Called through a pointer the compiler cannot see through: knowing malloc, it
// would take it to leave insideOperatorNew alone and drop the first store.
void* (*volatile systemMalloc) (std::size_t) = std::malloc;

[[gnu::noinline]] void* allocate (std::size_t size)
{
    insideOperatorNew = true;
    void* memory = systemMalloc (size == 0 ? 1 : size);
    insideOperatorNew = false;
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}
} // namespace

[[gnu::noinline]] void* operator new (std::size_t size) { return allocate (size); }
[[gnu::noinline]] void* operator new[] (std::size_t size) { return allocate (size); }
[[gnu::noinline]] void operator delete (void* memory) noexcept { std::free (memory); }
[[gnu::noinline]] void operator delete[] (void* memory) noexcept { std::free (memory); }
[[gnu::noinline]] void operator delete (void* memory, std::size_t) noexcept { std::free (memory); }
[[gnu::noinline]] void operator delete[] (void* memory, std::size_t) noexcept { std::free (memory); }

namespace testing_support
{
AllocationCounter::AllocationCounter (Scope scopeToCount, Kinds kinds) noexcept : scope (scopeToCount)
{
    const bool onlyOperatorNew = kinds == Kinds::operatorNewOnly;
    if (scope == Scope::thisThread)
    {
        threadCountsOnlyOperatorNew = onlyOperatorNew;
        threadAllocations = 0;
        threadCounting = true;
    }
    else
    {
        processCountsOnlyOperatorNew = onlyOperatorNew;
        processAllocations = 0;
        processCounting = true;
    }
}

AllocationCounter::~AllocationCounter() { stop(); }

long AllocationCounter::count() const noexcept
{
    if (! running)
        return total;
    return scope == Scope::thisThread ? threadAllocations : processAllocations.load();
}

void AllocationCounter::stop() noexcept
{
    if (! running)
        return;
    if (scope == Scope::thisThread)
    {
        threadCounting = false;
        total = threadAllocations;
    }
    else
    {
        processCounting = false;
        total = processAllocations.load();
    }
    running = false;
}

AllocationCountingPaused::AllocationCountingPaused() noexcept : wasCounting (threadCounting)
{
    threadCounting = false;
}

AllocationCountingPaused::~AllocationCountingPaused() { threadCounting = wasCounting; }
} // namespace testing_support
