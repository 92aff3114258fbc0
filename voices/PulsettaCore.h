#pragma once

#include "voices/DrumMachineCore.h"
#include "voices/InstrumentSlots.h"
#include "voices/OutputStageRun.h"
#include "voices/PulsettaInstrument.h"
#include "voices/TomNoise.h"
#include "voices/WhiteNoise.h"

#include <array>
#include <cstdint>
#include <memory>

/** The product's voice engine: the eleven voices, the shared white and tom
    noise, the hi-hat choke and the master volume. Renders the eleven voices
    over runs of samples between events: each voice's own model, then the
    output stages of all of them together; what has come to rest is not
    rendered again. No allocation, no lock. */
class PulsettaCore : public DrumMachineCore
{
public:
    explicit PulsettaCore(DrumMachine* owner = nullptr);

    /** Sound parameters 0..49, normalised 0..1 (the thread that changed the parameter). */
    void setParameter(std::int32_t index, float value) override;
    /** Plays an instrument 0..10 with the choke and the tom-noise burst (audio thread). */
    void trigger(std::int32_t instrument, float velocity) override;
    /** Resets every voice and noise source for a rate (Hz) (before rendering). */
    void setSampleRate(float sampleRate) override;
    /** One sample of every voice into out[0..10], master volume applied (audio thread). */
    void process(double* out) override;
    using DrumMachineCore::render;
    /** numFrames samples of every voice, master volume applied; a voice at
        rest under a master gain at rest is one value throughout (audio thread). */
    void render(double* const* voiceOutputs, bool* constantOutputs, int numFrames) override;
    /** The sample loops of the core and every voice (message thread, before rendering). */
    void setInstructionSet(InstructionSet set) override;
    /** Whether silence may be skipped: voices and a master gain that have come
        to rest, tom noise while no tom sounds. On by default; off only to show
        what skipping changes (message thread, before rendering). */
    void setSkipsSilence(bool shouldSkip) { skipsSilence = shouldSkip; }

    /** Arms the tom-noise burst after a tom hit (audio thread). */
    void startTomNoise(double velocity);

    PulsettaInstrument& getVoice(int slot) { return *voices[static_cast<std::size_t>(slot)]; }
    const PulsettaInstrument& getVoice(int slot) const { return *voices[static_cast<std::size_t>(slot)]; }
    double getMasterGain() const { return master; }
    const TomNoise& getTomNoise() const { return tomNoise; }

private:
    static constexpr int maxRun = PulsettaInstrument::maxRunFrames;

    void createVoices();
    /** One run of at most maxRun frames. */
    void renderRun(double* const* voiceOutputs, bool* constantOutputs, int offset, int numFrames);
    void renderMasterAndNoise(int numFrames);
    /** A voice that may fade out within the run, frame by frame so it stops on its sample. */
    void renderFading(PulsettaInstrument& voice, const VoiceRun& run, double* raw, double* out);

    std::array<std::unique_ptr<PulsettaInstrument>, instrument::numVoices> voices;
    WhiteNoise whiteNoise;
    TomNoise tomNoise;
    double mainVolume = 0.0; // raw parameter 49, linear
    double master = 0.0;     // smoothed gain
    double masterRate = 0.0; // k * 0.002 per sample
    InstructionSet instructions = bestInstructionSet();
    bool skipsSilence = true;
    bool tomNoiseResting = false;
    bool masterResting = false; // the master gain the same over the run

    // Per run: the master gain, the two noises, each voice's raw samples.
    // (The noises and raw samples with room for a whole last pack.)
    alignas(32) double masterGains[maxRun] = {};
    alignas(32) double whiteNoiseRun[maxRun + simd::lanes] = {};
    alignas(32) double tomNoiseRun[maxRun + simd::lanes] = {};
    alignas(32) double rawSamples[instrument::numVoices][maxRun + simd::lanes] = {};
    alignas(32) const double silence[maxRun] = {};
    OutputStageRun outputStages;
};
