#include "voices/PulsettaRimshot.h"

#include "voices/FastExp.h"
#include "voices/NormalisedValue.h"
#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::velocityScale;
constexpr double resonatorFrequencies[3] = { 520.0, 236.47, 1080.7 }; // Hz at tune 0.5

/** Soft clip with its knee at +-0.05 and a tanh slope of 1.4 beyond it. */
double softClip(double x)
{
    if (x > 0.05)
        return 0.05 + (1.0 - 2.0 / (fastexp::exp(2.8 * (x - 0.05)) + 1.0)) * 0.7142857142857143;
    if (x < -0.05)
        return -0.05 - (1.0 - 2.0 / (fastexp::exp(2.8 * (-x - 0.05)) + 1.0)) * 0.7142857142857143;
    return x;
}
} // namespace

PulsettaRimshot::PulsettaRimshot()
    : PulsettaInstrument(OutputMix::lowPassDifference)
{
    PulsettaRimshot::setSampleRate(44100.0);
}

void PulsettaRimshot::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaRimshot::setTune(double v)
{
    tune = normalisedValue(v);
    tuneValue = tune + 0.5;
    updateResonators();
}

void PulsettaRimshot::setDecay(double v)
{
    decay = normalisedValue(v);
    decayValue = 2.0 * decay;
    updateResonators();
}

void PulsettaRimshot::updateResonators()
{
    const double t = tuneValue;
    const double d = decayValue;
    // A longer decay lowers the resonators a little as it raises their feedback.
    const double decayFactor = 1.0 - (d - 1.0) * 0.032327;
    const double loopGain = (t - 1.0) * 0.75 + (1.0 - (t - 0.5) * 0.5) * (d - 1.0);

    for (int i = 0; i < 3; ++i)
        resonators[i].coefficient
            = SelfLimitingResonator::coefficientFor(t * resonatorFrequencies[i] * decayFactor, context.sampleRate);

    resonators[0].feedback = loopGain + 2.7;
    resonators[1].feedback = loopGain + 2.7;
    resonators[2].feedback = loopGain + 2.6;
}

void PulsettaRimshot::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);
    // The decay factor belongs in the coefficients at every rate, not only
    // after the next Tune or Decay change.
    updateResonators();
    for (auto& resonator : resonators)
        resonator.clear();
    excitation = 0.0;
    clippedSum = 0.0;
    bandPass.coefficients = cookbook::bandPass(700.0, 4.0, sampleRate);
    bandPass.clear();
}

void PulsettaRimshot::trigger(double velocity)
{
    if (output.levelTarget == 0.0)
        return;

    startVoice();
    excitation = 1.0;
    amplitude = velocity * velocityScale;
}

int PulsettaRimshot::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
    {
        excitation *= 1.0 - context.smoothing * 0.05;
        if (excitation < 1e-30) // long inaudible: keep it off denormal numbers
            excitation = 0.0;

        const double a = std::clamp(resonators[0].process(excitation) * 2.5, -1.0, 1.0);
        const double b = resonators[1].process(excitation) * 1.25;
        const double c = std::clamp(resonators[2].process(excitation) * 2.5, -1.0, 1.0);

        clippedSum = softClip((a + b + c) * 8.0);
        x[n] = bandPass.process(clippedSum * 0.5) * amplitude * 0.26775 * 5.625;
    }
    return run.numFrames;
}
