#pragma once

#include "voices/SampleRateContext.h"

/** Base of the eleven drum voices: the activity flag, the level with its
    smoothing, the peak follower that switches a silent voice off, the
    sample-rate context and the output stage. Driven on the audio thread only,
    one call per sample; nothing here allocates.

    A plain PulsettaInstrument is a silent voice: it renders 0 whatever it is
    given. */
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

    explicit PulsettaInstrument(OutputMix mix = OutputMix::boostedLowPass);
    virtual ~PulsettaInstrument() = default;

    PulsettaInstrument(const PulsettaInstrument&) = delete;
    PulsettaInstrument& operator=(const PulsettaInstrument&) = delete;

    /** One sample of a voice without noise input (audio thread). */
    virtual double process();
    /** One sample of a voice fed with one of the core's noise sources (audio thread). */
    virtual double processWithNoise(double noise);
    /** Starts the voice; velocity is 0..1 and may exceed 1 on accents (audio thread). */
    virtual void trigger(double velocity);
    /** Resets the voice for a new rate (Hz) and silences it (audio thread, before rendering). */
    virtual void setSampleRate(double sampleRate);
    /** Linear level target 0..1, reached smoothly (any thread). */
    virtual void setLevel(double newLevel);
    /** One of the voice's own controls, numbered from 0 in the order of its
        parameters; the value is normalised 0..1 (any thread). */
    virtual void setControl(int controlIndex, double value);

    /** The choke flag of the hi-hats: set and cleared by the core; a choked
        voice renders silence (audio thread). */
    void setChoked(bool shouldBeChoked) { choked = shouldBeChoked; }
    bool isChoked() const { return choked; }

    bool isActive() const { return active; }
    double getLevelTarget() const { return levelTarget; }
    double getLevel() const { return level; }
    const SampleRateContext& getContext() const { return context; }

protected:
    /** Makes the voice sound; the peak follower starts above the switch-off
        threshold. */
    void startVoice();

    /** The output stage every synthesised voice applies to its raw sample x
        (x = 0 while the voice is inactive): the two 1 Hz low-passes, the
        level smoothing, the mix, the peak follower and the switch-off.
        Inline, so each voice's own code and this stage can overlap. */
    double renderOutput(double x)
    {
        outLp1 = x - (x - outLp1) * pole1 + 1e-20;
        outLp2 = outLp1 - (outLp1 - outLp2) * pole1 + 1e-20;
        level = level - ((level - levelTarget) * levelRate + 1e-20);

        // The mix by weights instead of a switch: every weight is 0, 1 or a
        // whole number, so the sums are exactly those of the written mixes.
        const double y = (lp1Weight * outLp1 + lp2Weight * outLp2 + x) * level;

        peak = peak - (peak * peakDecay + 1e-20);
        magnitude = y < 0.0 ? -y : y;
        if (magnitude > peak)
            peak = magnitude;
        if (peak < switchOffPeak)
            active = false;
        return y;
    }

    static constexpr double switchOffPeak = 3e-5; // the voice stops once its peak falls below this

    bool active = false;
    double levelTarget = 0.0;
    double memoryA = 0.0;
    double outLp1 = 0.0;
    double outLp2 = 0.0;
    double memoryB = 0.0;
    double pole38 = 0.0;     // one-pole at 38 Hz
    double pole1 = 0.0;      // one-pole at 1 Hz
    double level = 0.0;      // smoothed level
    double levelRate = 0.0;  // k * 0.002 per sample
    double peak = 0.0;       // peak follower
    double magnitude = 0.0;  // |last output|
    double peakDecay = 0.0;  // k * 0.0002 per sample
    SampleRateContext context;

private:
    double lp1Weight = 0.0; // of outLp1 in the mix
    double lp2Weight = 0.0; // of outLp2 in the mix
    bool choked = false;
};
