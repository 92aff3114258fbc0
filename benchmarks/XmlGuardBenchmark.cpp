// Memory of the XML guard's parse against the document's size, for the three
// biggest documents the product reads, each as the product writes it: its
// whole state (the chunk's text), a pattern bank file and a preset bank file.
//
// Counters, in heap bytes per byte of document:
//   peak_ratio  the most held at once during the parse, what it returns included
//   tree_ratio  what the returned tree holds
// and the document's size in "bytes"; the time column is one parse.
//
// BM_GuardParse*      xmlguard::parse of the document in memory (as the state chunk's reader calls it)
// BM_GuardParse*File  xmlguard::parseFile, the file's bytes it reads included
// BM_ReaderAlone*     JUCE's reader alone on a string of the text: what a guard that hands the reader the
//                     whole text holds, as ours did before it read in pieces
//
// A heap block counts as the C allocator's usable size plus its 8-byte
// header, through malloc, calloc, realloc and the aligned ones, which operator
// new and JUCE's own containers reach.

#include "drummachine/product/Pulsetta.h"
#include "drummachine/sequencer/DrumMachineSeq.h"
#include "framework/core/XmlGuard.h"
#include "framework/presets/XmlFiles.h"
#include "tests/support/TemporaryUserFolders.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <algorithm>
#include <atomic>
#include <malloc.h>

namespace
{
std::atomic<long long> heldBytes { 0 }, peakBytes { 0 };

void noteHeld (void* block, long long sign) noexcept
{
    if (block == nullptr)
        return;
    const auto bytes = sign * (long long) (malloc_usable_size (block) + 8);
    const auto now = heldBytes.fetch_add (bytes, std::memory_order_relaxed) + bytes;
    auto peak = peakBytes.load (std::memory_order_relaxed);
    while (now > peak && ! peakBytes.compare_exchange_weak (peak, now, std::memory_order_relaxed))
    {
    }
}
} // namespace

// glibc's own entry points, so the replacements hand on to them.
extern "C"
{
void* __libc_malloc (size_t);
void* __libc_calloc (size_t, size_t);
void* __libc_realloc (void*, size_t);
void* __libc_memalign (size_t, size_t);
void __libc_free (void*);

void* malloc (size_t size)
{
    auto* block = __libc_malloc (size);
    noteHeld (block, 1);
    return block;
}
void* calloc (size_t count, size_t size)
{
    auto* block = __libc_calloc (count, size);
    noteHeld (block, 1);
    return block;
}
void* realloc (void* old, size_t size)
{
    noteHeld (old, -1);
    auto* block = __libc_realloc (old, size);
    noteHeld (block != nullptr || size == 0 ? block : old, 1); // a failed realloc keeps the old block
    return block;
}
void* memalign (size_t alignment, size_t size)
{
    auto* block = __libc_memalign (alignment, size);
    noteHeld (block, 1);
    return block;
}
void* aligned_alloc (size_t alignment, size_t size) { return memalign (alignment, size); }
int posix_memalign (void** result, size_t alignment, size_t size)
{
    *result = memalign (alignment, size);
    return *result != nullptr ? 0 : ENOMEM;
}
void free (void* block)
{
    noteHeld (block, -1);
    __libc_free (block);
}
}

namespace
{
// The documents, written by a fresh product with its factory content.
struct Documents : testing_support::TemporaryUserFolders
{
    Documents() : TemporaryUserFolders ("pulsetta-bench-")
    {
        std::unique_ptr<Pulsetta> product (static_cast<Pulsetta*> (BasePlugin::startUp (std::make_unique<Pulsetta>())));

        juce::MemoryBlock chunk;
        product->getStateInformation (chunk);
        constexpr size_t chunkHeaderBytes = 8; // magic and length
        state.append (static_cast<const char*> (chunk.getData()) + chunkHeaderBytes, chunk.getSize() - chunkHeaderBytes - 1);

        xmlfiles::writeDocument (*product->getSequencer()->createBankXml (DrumMachineSeq::singleBank), patternFile);
        product->savePresetBankFile (presetFile);
        patternFile.loadFileAsData (patternBank);
        presetFile.loadFileAsData (presetBank);
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::File patternFile = folder.getChildFile ("bank.xrptrb"), presetFile = folder.getChildFile ("bank.xrprsb");
    juce::MemoryBlock state, patternBank, presetBank;
};

Documents& documents()
{
    static Documents made;
    return made;
}

// What `parse` holds at its peak and in what it returns, against the document's size.
template <typename Parse>
void measure (benchmark::State& state, size_t documentBytes, Parse&& parse)
{
    long long peak = 0, tree = 0;

    for (auto _ : state)
    {
        const auto before = heldBytes.load();
        peakBytes = before;
        auto element = parse();
        peak = peakBytes.load() - before;
        tree = heldBytes.load() - before;
        benchmark::DoNotOptimize (element.get());
        if (element == nullptr)
            state.SkipWithError ("the product's own document was refused");
    }

    state.counters["bytes"] = (double) documentBytes;
    state.counters["peak_ratio"] = (double) peak / (double) documentBytes;
    state.counters["tree_ratio"] = (double) tree / (double) documentBytes;
}

// The guard's parse of a document in memory, as the state chunk's reader hands it on.
void guardParse (benchmark::State& state, const juce::MemoryBlock& document)
{
    measure (state, document.getSize(), [&] { return xmlguard::parse (static_cast<const char*> (document.getData()), document.getSize()); });
}

// JUCE's own reader alone, from a string of the document's text: the reference the guard is held to.
void readerAlone (benchmark::State& state, const juce::MemoryBlock& document)
{
    measure (state, document.getSize(), [&] { return juce::XmlDocument::parse (document.toString()); });
}

// The guard's parse of a file, its bytes read included, as the product reads its files.
void guardParseFile (benchmark::State& state, const juce::File& file)
{
    measure (state, (size_t) file.getSize(), [&] { return xmlguard::parseFile (file); });
}

void BM_GuardParseFullState (benchmark::State& state) { guardParse (state, documents().state); }
void BM_GuardParsePatternBank (benchmark::State& state) { guardParse (state, documents().patternBank); }
void BM_GuardParsePresetBank (benchmark::State& state) { guardParse (state, documents().presetBank); }
void BM_GuardParsePatternBankFile (benchmark::State& state) { guardParseFile (state, documents().patternFile); }
void BM_GuardParsePresetBankFile (benchmark::State& state) { guardParseFile (state, documents().presetFile); }
void BM_ReaderAloneFullState (benchmark::State& state) { readerAlone (state, documents().state); }
void BM_ReaderAlonePatternBank (benchmark::State& state) { readerAlone (state, documents().patternBank); }
void BM_ReaderAlonePresetBank (benchmark::State& state) { readerAlone (state, documents().presetBank); }
} // namespace

BENCHMARK (BM_GuardParseFullState)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_GuardParsePatternBank)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_GuardParsePresetBank)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_GuardParsePatternBankFile)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_GuardParsePresetBankFile)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_ReaderAloneFullState)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_ReaderAlonePatternBank)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_ReaderAlonePresetBank)->Unit (benchmark::kMillisecond);
