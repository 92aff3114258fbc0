// The whole instrument as a host runs it: Pulsetta.so loaded through
// VSTPluginMain by the command-line host, driven block by block (events, then
// processReplacing) at 48 kHz, stereo outputs (24 channels), 256-frame blocks.
// Three cases:
//   busy     every voice retriggered every 50 ms by MIDI notes;
//   pattern  the costliest factory pattern, internal sequencer at 300 bpm;
//   idle     nothing sounding, after every voice was hit and 20 s of silence.
// A reference kernel (11 cookbook low-pass biquads in double precision, direct
// form I, frame by frame) runs in the same process, so every figure is also a
// ratio that says more than a time on a shared machine.
//
//   module_benchmark [--module=PATH ...] [benchmark options]
//       every case for each module given (default: this build's), then a
//       summary: ns per frame, x real time and kernel units, per case and
//       module (medians when --benchmark_repetitions is set);
//   module_benchmark --instructions=CASE [--module=PATH] [--seconds=S]
//       renders S seconds (default 2) of one case inside measuredRender, for
//       instruction counts: valgrind --tool=callgrind
//       --toggle-collect=measuredRender module_benchmark --instructions=busy
//   module_benchmark --sweep [--module=PATH]
//       times every factory pattern at 300 bpm, costliest last.

#include "framework/core/XmlTags.h"
#include "framework/processor/StateChunk.h"
#include "tests/support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"
#include "tools/Transport.h"
#include "tools/playpattern/FactoryPatternInfo.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0; // Hz
constexpr int blockSize = 256;         // frames
constexpr int numChannels = 24;        // stereo outputs
constexpr double tempo = 300.0;        // bpm of the pattern case
constexpr double retriggerSeconds = 0.05;
constexpr double silenceSeconds = 20.0;

// The costliest of the 96 factory patterns at 300 bpm (found with --sweep):
// bank and slot counted from 0.
constexpr int costliestBank = 7;
constexpr int costliestSlot = 7;

// The default drum map's key of each voice, bass drum to ride.
constexpr std::array<std::uint8_t, 11> voiceKeys { 36, 38, 41, 45, 48, 37, 39, 42, 46, 49, 51 };

enum class Case { busy, pattern, idle };

const char* nameOf(Case c)
{
    return c == Case::busy ? "busy" : c == Case::pattern ? "pattern" : "idle";
}

//==== The reference kernel ======================================================

struct KernelBiquad
{
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    // Audio-EQ-cookbook low-pass at f (Hz), Q 0.7071.
    void design(double f)
    {
        const double w0 = 2.0 * M_PI * f / sampleRate;
        const double alpha = std::sin(w0) / (2.0 * 0.7071067811865476);
        const double c = std::cos(w0);
        const double a0 = 1.0 + alpha;
        b0 = (1.0 - c) / 2.0 / a0;
        b1 = (1.0 - c) / a0;
        b2 = b0;
        a1 = -2.0 * c / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double process(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

struct ReferenceKernel
{
    ReferenceKernel()
    {
        for (size_t i = 0; i < filters.size(); ++i)
            filters[i].design(100.0 + 700.0 * static_cast<double>(i));
    }

    // One block: each frame, one sample through each of the 11 filters.
    void block()
    {
        for (int n = 0; n < blockSize; ++n)
        {
            input = -input * 0.999 + 0.001;
            double sum = 0.0;
            for (auto& filter : filters)
                sum += filter.process(input);
            out[static_cast<size_t>(n)] = sum;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }

    std::array<KernelBiquad, 11> filters;
    std::array<double, blockSize> out {};
    double input = 0.5;
};

//==== The module as a host drives it ============================================

std::string defaultModulePath()
{
    return PULSETTA_MODULE_PATH;
}

class Session
{
public:
    Session(const clihost::PluginModule& module, Case c, int bank = costliestBank, int slot = costliestSlot)
        : kind(c), transport(sampleRate)
    {
        clihost::HostSettings settings;
        settings.sampleRate = sampleRate;
        settings.blockSize = blockSize;
        std::string error;
        instance = clihost::PluginInstance::create(module, settings, error);
        if (instance == nullptr)
        {
            std::fprintf(stderr, "cannot create the plug-in: %s\n", error.c_str());
            std::exit(1);
        }
        instance->resume(sampleRate, blockSize);
        configure(bank, slot);

        for (auto& channel : outputs)
            channel.assign(blockSize, 0.0f);
        for (size_t c2 = 0; c2 < outputs.size(); ++c2)
            outputPointers[c2] = outputs[c2].data();

        for (auto key : voiceKeys)
            notes.push_back({ 0, { 0x90, key, 100 } });

        transport.setTempo(tempo);
        if (kind == Case::pattern)
            transport.play();
        if (kind == Case::idle)
        {
            instance->sendEvents(notes);
            renderSeconds(silenceSeconds);
        }
    }

    ~Session() { instance->close(); }

    void block()
    {
        if (kind == Case::busy && nextHit < frame + blockSize)
        {
            for (auto& note : notes)
                note.deltaFrames = static_cast<int>(nextHit - frame);
            instance->sendEvents(notes);
            nextHit += static_cast<std::int64_t>(retriggerSeconds * sampleRate);
        }
        instance->timeInfo = transport.timeInfo();
        instance->process(nullptr, outputPointers.data(), blockSize, frame);
        transport.advance(blockSize);
        frame += blockSize;
        if (instance->sentMidi.size() > 4096) // the echo notes of the pattern case
            instance->sentMidi.clear();
    }

    void renderSeconds(double seconds)
    {
        const auto blocks = static_cast<std::int64_t>(seconds * sampleRate / blockSize);
        for (std::int64_t b = 0; b < blocks; ++b)
            block();
    }

    float peakOfLastBlock() const
    {
        float peak = 0.0f;
        for (const auto& channel : outputs)
            for (float v : channel)
                peak = std::max(peak, std::abs(v));
        return peak;
    }

private:
    // Through the state chunk, as a host restores a song: notes play the
    // voices (busy, idle) or the internal sequencer plays one pattern at the
    // host's tempo (pattern).
    void configure(int bank, int slot)
    {
        const auto chunk = instance->getChunk();
        auto state = statechunk::read(chunk.data(), static_cast<int>(chunk.size()));
        if (state == nullptr)
        {
            std::fprintf(stderr, "the plug-in's state cannot be read\n");
            std::exit(1);
        }
        for (auto* section : state->getChildIterator())
        {
            if (tagIs(section, "InternalSequencer"))
            {
                if (auto* intSeq = findChildWithTag(section, "IntSeq"))
                    intSeq->setAttribute("state", kind == Case::pattern ? "on" : "off");
                if (auto* intSync = findChildWithTag(section, "IntSync"))
                    intSync->setAttribute("state", "off");
            }
            if (tagIs(section, "XRState"))
                if (auto* chain = findChildWithTag(section, "ChainPatterns"))
                {
                    chain->setAttribute("first", slot);
                    chain->setAttribute("last", slot);
                    chain->setAttribute("bank", bank);
                }
        }
        juce::MemoryBlock block;
        statechunk::write(*state, block);
        const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
        instance->setChunk(std::vector<std::uint8_t>(bytes, bytes + block.getSize()));
    }

    Case kind;
    std::unique_ptr<clihost::PluginInstance> instance;
    clihost::Transport transport;
    std::array<std::vector<float>, numChannels> outputs;
    std::array<float*, numChannels> outputPointers {};
    std::vector<clihost::MidiEventIn> notes;
    std::int64_t frame = 0;
    std::int64_t nextHit = blockSize / 2;
};

//==== Benchmarks and the summary ================================================

struct LoadedModule
{
    std::string label;
    std::unique_ptr<clihost::PluginModule> module;
};

std::vector<LoadedModule>& modules()
{
    static std::vector<LoadedModule> loaded;
    return loaded;
}

void loadModule(const std::string& path)
{
    std::string error;
    auto module = clihost::PluginModule::load(path, error);
    if (module == nullptr)
    {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), error.c_str());
        std::exit(1);
    }
    modules().push_back({ path, std::move(module) });
}

void kernelBenchmark(benchmark::State& state)
{
    ReferenceKernel kernel;
    for (auto _ : state)
        kernel.block();
}

void moduleBenchmark(benchmark::State& state, const clihost::PluginModule* module, Case c)
{
    Session session(*module, c);
    session.renderSeconds(0.5); // past the first notes and any start-up work
    for (auto _ : state)
        session.block();
}

// Collects the per-iteration CPU times of every run for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                nsPerBlock[run.run_name.function_name].push_back(run.GetAdjustedCPUTime());
    }

    void printSummary() const
    {
        const double kernel = medianOf("kernel") / blockSize;
        if (! (kernel > 0.0))
            return;
        // Medians over the repetitions, and the fastest repetition (the least
        // disturbed by other work on the machine) in brackets.
        std::printf("\n%-8s %18s %16s %16s   module\n", "case", "ns/frame", "x real time", "kernels");
        const auto line = [this, kernel](const char* name, const std::string& benchmark, const std::string& label) {
            const double ns = medianOf(benchmark) / blockSize, best = fastestOf(benchmark) / blockSize;
            const double bestKernel = fastestOf("kernel") / blockSize;
            if (ns > 0.0)
                std::printf("%-8s %8.2f (%7.2f) %7.0f (%6.0f) %7.2f (%6.2f)   %s\n", name, ns, best, realTimeFactor(ns),
                            realTimeFactor(best), ns / kernel, best / bestKernel, label.c_str());
        };
        line("kernel", "kernel", "");
        for (size_t m = 0; m < modules().size(); ++m)
            for (Case c : { Case::busy, Case::pattern, Case::idle })
                line(nameOf(c), benchmarkName(m, c), modules()[m].label);
    }

    static std::string benchmarkName(size_t module, Case c)
    {
        return std::string(nameOf(c)) + "/module" + std::to_string(module);
    }

private:
    static double realTimeFactor(double nsPerFrame) { return 1.0e9 / sampleRate / nsPerFrame; }

    double medianOf(const std::string& name) const
    {
        const auto found = nsPerBlock.find(name);
        if (found == nsPerBlock.end() || found->second.empty())
            return 0.0;
        auto values = found->second;
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    }

    double fastestOf(const std::string& name) const
    {
        const auto found = nsPerBlock.find(name);
        if (found == nsPerBlock.end() || found->second.empty())
            return 0.0;
        return *std::min_element(found->second.begin(), found->second.end());
    }

    std::map<std::string, std::vector<double>> nsPerBlock;
};

//==== Instruction counts and the pattern sweep ==================================

Case caseNamed(const std::string& name)
{
    for (Case c : { Case::busy, Case::pattern, Case::idle })
        if (name == nameOf(c))
            return c;
    std::fprintf(stderr, "no case %s (busy, pattern, idle)\n", name.c_str());
    std::exit(1);
}

// The one function callgrind counts (--toggle-collect=measuredRender).
extern "C" __attribute__((noinline)) void measuredRender(Session* session, double seconds)
{
    session->renderSeconds(seconds);
}

double threadSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1.0e-9 * static_cast<double>(t.tv_nsec);
}

void sweepFactoryPatterns(const clihost::PluginModule& module)
{
    struct Cost
    {
        double nsPerFrame;
        int bank, slot;
        std::string name;
    };
    std::vector<Cost> costs;
    constexpr double seconds = 8.0;
    for (int bank = 0; bank < mainjob::numBanks; ++bank)
        for (int slot = 0; slot < mainjob::slotsPerBank; ++slot)
        {
            Session session(module, Case::pattern, bank, slot);
            double best = 1.0e30;
            for (int round = 0; round < 3; ++round)
            {
                const double start = threadSeconds();
                session.renderSeconds(seconds);
                best = std::min(best, (threadSeconds() - start) * 1.0e9 / (seconds * sampleRate));
            }
            mainjob::FactoryPattern pattern;
            std::string error;
            mainjob::readFactoryPattern(bank + 1, slot + 1, pattern, error);
            costs.push_back({ best, bank, slot, pattern.name });
        }
    std::sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.nsPerFrame < b.nsPerFrame; });
    for (const auto& cost : costs)
        std::printf("%8.1f ns/frame  bank %d slot %2d  %s\n", cost.nsPerFrame, cost.bank, cost.slot, cost.name.c_str());
}
} // namespace

int main(int argc, char** argv)
{
    // Our own options first; the rest go to the benchmark library.
    std::vector<char*> rest { argv[0] };
    std::vector<std::string> paths;
    std::string instructionsCase;
    double seconds = 2.0;
    bool sweep = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg.rfind("--module=", 0) == 0)
            paths.push_back(arg.substr(9));
        else if (arg.rfind("--instructions=", 0) == 0)
            instructionsCase = arg.substr(15);
        else if (arg.rfind("--seconds=", 0) == 0)
            seconds = std::atof(arg.c_str() + 10);
        else if (arg == "--sweep")
            sweep = true;
        else
            rest.push_back(argv[i]);
    }
    if (paths.empty())
        paths.push_back(defaultModulePath());

    // A settings folder of its own for the instances (their settings file is written at close).
    const testing_support::TemporarySettingsHome settingsHome("pulsetta-module-bench-");
    for (const auto& path : paths)
        loadModule(path);

    if (sweep)
    {
        sweepFactoryPatterns(*modules().front().module);
        return 0;
    }
    if (! instructionsCase.empty())
    {
        Session session(*modules().front().module, caseNamed(instructionsCase));
        session.renderSeconds(0.5);
        measuredRender(&session, seconds);
        std::printf("%s: %.1f s rendered, last block's peak %.3f\n", instructionsCase.c_str(), seconds,
                    static_cast<double>(session.peakOfLastBlock()));
        return 0;
    }

    benchmark::RegisterBenchmark("kernel", kernelBenchmark);
    // Interleaved by case, so modules compared side by side meet the same load.
    for (Case c : { Case::busy, Case::pattern, Case::idle })
        for (size_t m = 0; m < modules().size(); ++m)
            benchmark::RegisterBenchmark(SummaryReporter::benchmarkName(m, c).c_str(), moduleBenchmark,
                                         modules()[m].module.get(), c);

    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
