#pragma once

#include "voices/InstructionSet.h"
#include "voices/OutputStage.h"
#include "voices/SampleRateContext.h"

/** What a voice renders its model from over a run of samples. The noise and
    the voice's raw samples have room for the frames rounded up to whole
    packs: a sample loop may read and write those last few frames, whose
    values mean nothing. */
struct VoiceRun
{
    const double* noise = nullptr; // one sample of the voice's noise input per frame, for the voices fed with noise
    int numFrames = 0;             // 1 .. PulsettaInstrument::maxRunFrames
    InstructionSet instructions = InstructionSet::sse2;
};

/** Base of the eleven drum voices: the activity flag, the sample-rate context
    and the output stage (the level with its smoothing, the peak follower that
    switches a silent voice off). Driven on the audio thread only; nothing here
    allocates.

    A voice renders in two steps: its own model gives the raw sample x over a
    run of frames (renderModel), then the output stage makes the voice's
    output of it. The core runs the output stages of all voices together; a
    voice alone renders frame by frame through process().

    A plain PulsettaInstrument is a silent voice: its model gives 0. */
class PulsettaInstrument
{
public:
    /** How the output stage mixes the raw sample x with its two 1 Hz
        low-passes lp1 and lp2 before the level is applied. */
    enum class OutputMix
    {
        boostedLowPass,     // 5 lp2 + x (bass drum)
        lowPassDifference,  // lp1 - 10 lp2 + x (snare, rim shot, clap, sampled voices)
        strongLowPass       // x + 100 lp1 (toms)
    };

    /** The longest run renderModel takes. */
    static constexpr int maxRunFrames = 256;

    explicit PulsettaInstrument(OutputMix mix = OutputMix::boostedLowPass);
    virtual ~PulsettaInstrument() = default;

    PulsettaInstrument(const PulsettaInstrument&) = delete;
    PulsettaInstrument& operator=(const PulsettaInstrument&) = delete;

    /** The raw samples x of a sounding voice for run.numFrames frames (audio
        thread, only while active). Returns how many frames the model ran: all
        of them, or up to and including the frame at which the voice ended
        itself (a sampled voice at the end of its table); x after those is
        left for the caller. */
    virtual int renderModel(const VoiceRun& run, double* x);
    /** Starts the voice; velocity is 0..1 and may exceed 1 on accents (audio thread). */
    virtual void trigger(double velocity);
    /** Resets the voice for a new rate (Hz) and silences it (audio thread, before rendering). */
    virtual void setSampleRate(double sampleRate);
    /** Linear level target 0..1, reached smoothly (audio thread, between runs). */
    virtual void setLevel(double newLevel);
    /** One of the voice's own controls, numbered from 0 in the order of its
        parameters; the value is normalised 0..1 (audio thread, between runs). */
    virtual void setControl(int controlIndex, double value);

    /** One frame of the whole voice: model and output stage (audio thread). */
    double process() { return processWithNoise(0.0); }
    double processWithNoise(double noise);

    /** The sample loops this voice runs alone (any thread, before rendering). */
    void setInstructionSet(InstructionSet set) { instructions = set; }

    /** The choke flag of the hi-hats: set and cleared by the core; a choked
        voice renders silence (audio thread). */
    void setChoked(bool shouldBeChoked) { choked = shouldBeChoked; }
    bool isChoked() const { return choked; }

    bool isActive() const { return active; }
    double getLevelTarget() const { return output.levelTarget; }
    double getLevel() const { return output.level; }
    const SampleRateContext& getContext() const { return context; }

    /** The output stage, for the core to render several voices' stages at once. */
    OutputStage& getOutputStage() { return output; }
    const OutputStage& getOutputStage() const { return output; }

    /** A silent voice whose output stage has come to rest: another frame of
        it would leave every value as it is and give this output again, so the
        core need not render it. Cleared by anything that could move it. */
    bool isSettled() const { return settled; }
    double getSettledOutput() const { return settledOutput; }
    /** Looks whether a silent voice has come to rest (audio thread, between runs). */
    void checkSettled();
    /** Ends a voice whose peak has fallen below the switch-off level (audio thread). */
    void switchOffWhenFaded();
    /** True when the peak follower cannot fall below the switch-off level
        within one run of maxRunFrames, whatever the voice plays. */
    bool cannotFadeWithinARun() const { return output.peak >= safePeak; }
    /** How many frames from now (0 .. maxRunFrames) the peak follower cannot
        fall below the switch-off level, whatever the voice plays. */
    int framesBeforeItCanFade() const;
    /** The output stage over numFrames raw samples x, each output times its
        master gain into out; the voice must not be able to fade within them. */
    void renderOutputStage(const double* x, const double* masterGains, double* out, int numFrames);

protected:
    /** Makes the voice sound; the peak follower starts above the switch-off
        threshold. */
    void startVoice();

    bool active = false;
    OutputStage output;
    SampleRateContext context;

private:
    InstructionSet instructions = bestInstructionSet();
    double safePeak = 0.0;      // the peak from which no run can fade below the switch-off level
    double peakFallPerFrame = 0.0; // the log of the most the peak keeps per frame
    double settledOutput = 0.0;
    bool settled = false;
    bool choked = false;
};
