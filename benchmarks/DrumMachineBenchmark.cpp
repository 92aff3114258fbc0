// Cost of the drum machine's whole block at 48 kHz, stereo outputs (24
// channels), 256-sample blocks: idle, with heavy MIDI (every voice played many
// times per block), and with the busiest sequencer (every track, flams,
// 8 steps per beat, 300 bpm, shuffle).
//
// Counters: "rtf" is the real-time factor (seconds of sound rendered per
// second of one core); the time column is the mean time of one block.

#include "drummachine/product/Pulsetta.h"
#include "tests/support/TemporaryUserFolders.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <memory>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

class PlayingHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing);
        info.setBpm (300.0);
        info.setPpqPosition ((double) samplePosition / sampleRate * 300.0 / 60.0);
        return info;
    }
    bool playing = false;
    juce::int64 samplePosition = 0;
};

// One instance per run, its settings kept in a temporary folder.
struct Session : testing_support::TemporaryUserFolders
{
    Session() : TemporaryUserFolders ("pulsetta-bench-")
    {
        auto* created = BasePlugin::startUp (std::make_unique<Pulsetta>());
        dm.reset (static_cast<Pulsetta*> (created));
        dm->setPlayHead (&head);
        dm->setPlayConfigDetails (0, dm->getNumHostOutputChannels(), sampleRate, blockSize);
        dm->prepareToPlay (sampleRate, blockSize);
        buffer.setSize (dm->getNumHostOutputChannels(), blockSize);
        midi.ensureSize (1 << 16);
    }

    void block()
    {
        dm->processBlock (buffer, midi);
        head.samplePosition += blockSize;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    std::unique_ptr<Pulsetta> dm;
    PlayingHead head;
    juce::AudioBuffer<float> buffer;
    juce::MidiBuffer midi;
};

void report (benchmark::State& state)
{
    const double seconds = (double) state.iterations() * blockSize / sampleRate;
    state.counters["rtf"] = benchmark::Counter (seconds, benchmark::Counter::kIsRate);
}

void BM_DrumMachineIdle (benchmark::State& state)
{
    Session session;
    session.dm->setInternalSequencer (false);
    for (auto _ : state)
    {
        session.midi.clear();
        session.block();
    }
    report (state);
}

void BM_DrumMachineHeavyMidi (benchmark::State& state)
{
    Session session;
    session.dm->setInternalSequencer (false);
    int round = 0;
    for (auto _ : state)
    {
        // 64 notes per block over the eleven voices' keys: about 12,000 hits a second.
        session.midi.clear();
        for (int n = 0; n < 64; ++n)
            session.midi.addEvent (juce::MidiMessage::noteOn (1, 35 + (n + round) % 17, (juce::uint8) (40 + n)), (n * 4 + round) % blockSize);
        session.midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, round % 128), 17);
        session.block();
        ++round;
    }
    report (state);
}

void BM_DrumMachineBusiestSequencer (benchmark::State& state)
{
    Session session;
    auto& dm = *session.dm;
    dm.setInternalSync (false); // the host's 300 bpm
    auto& seq = *static_cast<PulsettaSeq*> (dm.getSequencer());
    Pattern pattern;
    pattern.setScale (8);
    pattern.setShuffle (0.8);
    pattern.setFlam (0.383);
    for (int track = 0; track < Pattern::numTracks; ++track)
        for (int step = 0; step < Pattern::numSteps; ++step)
            pattern.setStep (track, step, Pattern::stepFlam);
    for (int slot = 0; slot < PulsettaSeq::slotsPerBank; ++slot)
        seq.storePattern (slot, pattern);
    seq.setChain (0, PulsettaSeq::slotsPerBank - 1, 0);
    dm.setTriggerOut (true, 0, 12);
    session.head.playing = true;

    for (auto _ : state)
    {
        session.midi.clear();
        session.block();
    }
    report (state);
}
} // namespace

BENCHMARK (BM_DrumMachineIdle)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_DrumMachineHeavyMidi)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_DrumMachineBusiestSequencer)->Unit (benchmark::kMicrosecond);
