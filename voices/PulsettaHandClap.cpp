#include "voices/PulsettaHandClap.h"

#include "voices/NormalisedValue.h"
#include "voices/VoiceConstants.h"

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

int PulsettaHandClap::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
    {
        const double noise = run.noise[n];
        if (windowCounter > 0 && --windowCounter == 0)
        {
            windowFlag = 0.0;
            tail.rate = reverbRate;
        }

        burstEnvelope = burstEnvelope * burstDecay[burstIndex] + 1e-20;
        if (burstEnvelope <= burstEnd && burstIndex < numBursts - 1 && windowFlag == 1.0)
        {
            ++burstIndex;
            burstEnvelope = burstIndex == numBursts - 1 ? lastBurstStart : 1.0;
        }

        const double band = resonator.process(noise);
        const double body = bodyLowPass.process(band);
        const double snap = snapHighPass.process(band);

        tail.moveToward(windowFlag);
        burstSmoother.moveToward(burstEnvelope);

        x[n] = (burstSmoother.value * snap * 6.0 - body * tail.value * 0.2) * 0.5 * 3.125 * amplitude;
    }
    return run.numFrames;
}
