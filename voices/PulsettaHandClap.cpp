#include "voices/PulsettaHandClap.h"

#include "voices/NormalisedValue.h"
#include "voices/SampleLoops.h"
#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>

namespace
{
using voiceconstants::velocityScale;
constexpr double burstWindow = 0.033; // s
constexpr double burstDecayAt44100[PulsettaHandClap::numBursts] = { 0.01007, 0.00924, 0.01116, 0.0015 };
constexpr double burstEnd = 0.01;        // a burst that has fallen this far lets the next one start
constexpr double lastBurstStart = 0.6;   // the fourth clap is softer
constexpr double tailRiseRate = 0.004;   // x k per sample
} // namespace

PulsettaHandClap::PulsettaHandClap()
    : PulsettaInstrument(OutputMix::lowPassDifference)
{
    PulsettaHandClap::setSampleRate(44100.0);
}

void PulsettaHandClap::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case reverbControl: setReverb(value); break;
        default: break;
    }
}

void PulsettaHandClap::setTune(double v)
{
    tune = normalisedValue(v);
    resonator.coefficient = SelfLimitingResonator::coefficientFor((1.5 * tune + 0.25) * 1106.0, context.sampleRate);
}

void PulsettaHandClap::setReverb(double v)
{
    reverb = normalisedValue(v);
    reverbRate = (std::exp(-13.365219449990862 * reverb) * 0.19985031351893462 + 0.00014968648106443428)
               * context.smoothing;
    // A sounding clap keeps the tail it took when its burst window closed;
    // the new one sounds from the next hit.
}

void PulsettaHandClap::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);

    resonator.feedback = 1.5;
    resonator.clear();
    setTune(tune);
    setReverb(reverb);
    // The bursts must fit the 33 ms window at every rate, so their decay is
    // scaled exactly with the rate: (1 - c)^(44100/sr) is 1 - c at 44.1 kHz
    // like the k-scaled form 1 - k c, but that form stretches the bursts by up
    // to a third below 40 kHz, and the fourth clap (or the third) no longer
    // starts inside the window.
    for (int i = 0; i < numBursts; ++i)
        burstDecay[i] = std::pow(1.0 - burstDecayAt44100[i], context.inverseRatio);

    // The burst smoother covers a tenth of its distance per sample at 44.1 kHz.
    // Written as 1 - 0.9^(44100/sr) it keeps that time at every rate and stays
    // below 1, where the linear form 1 - 0.9 k would turn negative below about
    // 37.7 kHz and make the smoother diverge.
    burstSmoother.rate = 1.0 - std::pow(0.9, context.inverseRatio);
    burstSmoother.value = 0.0;

    bodyLowPass.setFrequency(800.0, sampleRate);
    bodyLowPass.state = 0.0;
    snapHighPass.setFrequency(2300.0, sampleRate);
    snapHighPass.reset(0.0);

    burstIndex = 0;
    burstEnvelope = 0.0;
    windowCounter = 0;
    windowFlag = 0.0;
    tail.value = 0.0;
    tail.rate = reverbRate;
}

void PulsettaHandClap::trigger(double velocity)
{
    if (output.levelTarget == 0.0)
        return;

    startVoice();
    amplitude = velocity * velocityScale;
    windowCounter = static_cast<std::int32_t>(context.sampleRate * burstWindow);
    windowFlag = 1.0;
    burstIndex = 0;
    burstEnvelope = 1.0;
    tail.value = 0.0;
    tail.rate = context.smoothing * tailRiseRate;
}

/** The bursts, the resonator, its two filters and the envelopes sample by
    sample, over stretches in which the burst window stays open or closed;
    the mix four frames at a time. */
struct PulsettaHandClap::Kernel
{
    static constexpr int maxFrames = PulsettaInstrument::maxRunFrames + simd::lanes;

    template <class P> static PULSETTA_INLINE void renderStretch(PulsettaHandClap& c, int numFrames, const double* noise, double* x)
    {
        using sampleloops::EnvelopeStep;
        alignas(32) double smoothedBursts[maxFrames], snaps[maxFrames], bodies[maxFrames], tails[maxFrames];

        const bool windowOpen = c.windowFlag == 1.0;
        const auto tailStep = EnvelopeStep::toward(c.windowFlag, c.tail.rate);
        const double burstRate = c.burstSmoother.rate, burstKeep = 1.0 - burstRate;
        auto resonator = ResonatorLanes<double>::of(c.resonator.coefficient, c.resonator.feedback, c.resonator.loop,
                                                    c.resonator.s1, c.resonator.s2, c.resonator.s3, c.resonator.s4);
        const double lowPole = c.bodyLowPass.pole, lowKeep = 1.0 - lowPole;
        const double highPole = c.snapHighPass.pole, highGain = c.snapHighPass.gain;
        double body = c.bodyLowPass.state, snap = c.snapHighPass.previousOutput, previousBand = c.snapHighPass.previousInput;
        double burst = c.burstEnvelope, smoothedBurst = c.burstSmoother.value, tail = c.tail.value;
        std::int32_t index = c.burstIndex;

        for (int n = 0; n < numFrames; ++n)
        {
            burst = burst * c.burstDecay[index] + 1e-20;
            if (burst <= burstEnd && index < numBursts - 1 && windowOpen)
            {
                ++index;
                burst = index == numBursts - 1 ? lastBurstStart : 1.0;
            }
            const double band = resonator.step(noise[n]);
            body = lowKeep * band + lowPole * body;
            snap = ((band - previousBand) * highGain + 1e-20) + highPole * snap;
            previousBand = band;
            tail = tail * tailStep.keep + tailStep.push;
            smoothedBurst = smoothedBurst * burstKeep + (burst * burstRate - 1e-20);
            smoothedBursts[n] = smoothedBurst;
            snaps[n] = snap;
            bodies[n] = body;
            tails[n] = tail;
        }
        c.burstEnvelope = burst;
        c.burstIndex = index;
        c.burstSmoother.value = smoothedBurst;
        c.tail.value = tail;
        c.bodyLowPass.state = body;
        c.snapHighPass.previousOutput = snap;
        c.snapHighPass.previousInput = previousBand;
        c.resonator.loop = resonator.loop;
        c.resonator.s1 = resonator.s1;
        c.resonator.s2 = resonator.s2;
        c.resonator.s3 = resonator.s3;
        c.resonator.s4 = resonator.s4;

        for (int n = numFrames; n < sampleloops::inPacks(numFrames); ++n)
            smoothedBursts[n] = snaps[n] = bodies[n] = tails[n] = 0.0;
        const double gain = 0.5 * 3.125 * c.amplitude;
        for (int m = 0; m < numFrames; m += simd::lanes)
            ((P::load(smoothedBursts + m) * P::load(snaps + m) * 6.0 - P::load(bodies + m) * P::load(tails + m) * 0.2) * gain)
                .store(x + m);
    }

    template <class P> static PULSETTA_INLINE int render(PulsettaHandClap& c, const VoiceRun& run, double* x)
    {
        for (int done = 0; done < run.numFrames;)
        {
            int length = run.numFrames - done;
            if (c.windowCounter == 1)
                closeWindow(c);
            else if (c.windowCounter > 1)
                length = std::min(length, c.windowCounter - 1);
            renderStretch<P>(c, length, run.noise + done, x + done);
            if (c.windowCounter > 1)
                c.windowCounter -= length;
            done += length;
        }
        return run.numFrames;
    }

    /** The window closes on the sample its counter runs out: the tail takes the Reverb rate. */
    static void closeWindow(PulsettaHandClap& c)
    {
        c.windowCounter = 0;
        c.windowFlag = 0.0;
        c.tail.rate = c.reverbRate;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaHandClap& c, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(c, run, x);
    }

    static int renderSse2(PulsettaHandClap& c, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(c, run, x); }
};

int PulsettaHandClap::renderModel(const VoiceRun& run, double* x)
{
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}
