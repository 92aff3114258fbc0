#include "voices/PulsettaBassDrum.h"

#include "voices/FastExp.h"
#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::pi;
using voiceconstants::twoPi;
using voiceconstants::velocityScale;
} // namespace

PulsettaBassDrum::PulsettaBassDrum()
    : PulsettaInstrument(OutputMix::boostedLowPass)
{
    PulsettaBassDrum::setSampleRate(44100.0);
}

void PulsettaBassDrum::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case pitchControl: setPitch(value); break;
        case attackControl: setAttack(value); break;
        case decayControl: setDecay(value); break;
        case tuneDepthControl: setTuneDepth(value); break;
        default: break;
    }
}

void PulsettaBassDrum::setTune(double v)
{
    tune = v;
    tuneRate = (std::exp((v + 1.0) * -4.795790545596896) * 0.7320499999984234 + 0.0006500000000030731)
             * context.smoothing;
}

void PulsettaBassDrum::setPitch(double v)
{
    pitch = v;
    pitchTop = v * 0.5 + 0.25;
    baseFrequency = std::exp((v + 1.0) * 1.4604727641424877) * 4.9119941345063864 + 8.839150326814135;
}

void PulsettaBassDrum::setAttack(double v)
{
    attack = v;
    attackGain = v * 3.0 + 0.25;
}

void PulsettaBassDrum::setDecay(double v)
{
    decay = v;
    const double k = context.smoothing;
    if (v >= 0.5)
        decayRate = (6.518421542318242e-5 / (v * v) - std::sqrt(v) * 1.518421542318241e-5) * k;
    else
        decayRate = (std::exp(-v) * 0.0025 - (v * v * 0.002978581871396472 + v * 0.0010433623628649312)) * k;
}

void PulsettaBassDrum::setTuneDepth(double v)
{
    tuneDepth = v;
    sweepDepth = std::pow(v, 2.321928095) * 5.0;
}

void PulsettaBassDrum::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);
    setTune(tune);
    setPitch(pitch);
    setAttack(attack);
    setDecay(decay);
    setTuneDepth(tuneDepth);

    const double k = context.smoothing;
    symmetry = 0.5;
    phase = 0.0;
    pitchEnvelopeSmoothed.value = 0.0;
    outputSmoother.value = 0.0;
    clipShrink = 1.0;
    clickEnvelope.rate = k * 0.02;
    outputSmoother.rate = k * 0.01;
    noiseHighPass.setFrequency(350.0, sampleRate);
    noiseHighPass.reset(-1.0);
    clickHighPass.setFrequency(550.0, sampleRate);
    clickHighPass.reset(0.0);
    noiseLowPass.coefficients = cookbook::lowPass(3638.0, 3.0, sampleRate);
    noiseLowPass.clear();
    clickLowPass.coefficients = cookbook::lowPass(5555.0, 0.7, sampleRate);
    clickLowPass.clear();
}

void PulsettaBassDrum::trigger(double velocity)
{
    if (velocity == 0.0 || output.levelTarget == 0.0)
        return;

    const double k = context.smoothing;
    startVoice();
    gate = 1.0;
    clickGate = 1.0;
    phase = pi / 2.0;
    amplitude = (velocity * velocityScale) * (velocity * velocityScale);
    doubledAmplitude = 2.0 * amplitude;
    pitchEnvelope.value = pitchEnvelopeSmoothed.value = 0.0;
    amplitudeEnvelope.value = amplitudeEnvelopeSmoothed.value = 0.0;
    clickEnvelope.value = 0.0;
    noiseEnvelope.value = 1.0;
    attackCounter = context.sampleRate * 0.00228;
    holdCounter = context.sampleRate * 0.057;
    pitchEnvelope.rate = amplitudeEnvelope.rate = k * 0.07;
    outputSmoother.rate = k * 0.2;
    clickEnvelope.rate = k * 0.005;
}

double PulsettaBassDrum::shapeWave() const
{
    const double s = symmetry;
    double w = phase < twoPi * s ? (phase - s * pi) / pi * (1.0 - s)
                                 : (s * pi - phase + pi) / pi * s;
    return (3.0 * w - 0.04) * 2.5;
}

double PulsettaBassDrum::softClip(double w)
{
    clipThreshold = clipShrink * 0.6;
    clipShrink = clipShrink * (1.0 - context.smoothing * 0.001 + 1e-20);
    if (w >= -clipThreshold && w <= clipThreshold)
    {
        clipShrink = 1.0;
        clipThreshold = 0.6;
    }
    double c = w;
    if (w > clipThreshold)
        c = (1.0 - 2.0 / (fastexp::exp((w - clipThreshold) * 3.6) + 1.0) + 1e-20) * 0.5555555555555556 + clipThreshold;
    else if (w < -clipThreshold)
        c = (1.0 - 2.0 / (fastexp::exp((clipThreshold + w) * 3.6) + 1.0) + 1e-20) * 0.5555555555555556 - clipThreshold;
    return c;
}

int PulsettaBassDrum::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
        x[n] = renderSample(run.noise[n]);
    return run.numFrames;
}

double PulsettaBassDrum::renderSample(double noise)
{
    const double k = context.smoothing;

    // Attack: 2.28 ms with the phase held, then the level holds until 57 ms
    // and decays.
    const bool attackOver = attackCounter < 0.0;
    attackCounter -= 1.0;
    if (attackOver)
    {
        outputSmoother.rate = 1.0;
        gate = 0.0;
        pitchEnvelope.rate = tuneRate;
        const bool holding = holdCounter > 0.0;
        holdCounter -= 1.0;
        amplitudeEnvelope.rate = holding ? 0.0 : decayRate;
    }
    else
    {
        phase = symmetry * pi;
    }

    if (attackCounter <= 0.0 && phase > 3.0 * pi / 4.0)
    {
        clickGate = 0.0;
        clickEnvelope.rate = 1.0;
    }

    pitchEnvelope.moveToward(gate);
    pitchEnvelopeSmoothed.rate = 0.05 * k;
    pitchEnvelopeSmoothed.moveToward(pitchEnvelope.value);
    amplitudeEnvelope.moveToward(gate * amplitude);
    amplitudeEnvelopeSmoothed.rate = 0.05 * k;
    amplitudeEnvelopeSmoothed.moveToward(amplitudeEnvelope.value);

    sweepSpan = (pitchTop * 510.0 - baseFrequency) * sweepDepth;
    const double frequency = sweepSpan * pitchEnvelopeSmoothed.value + baseFrequency;
    phaseIncrement = twoPi * frequency / context.sampleRate;
    phase += phaseIncrement;
    if (phase > twoPi)
        phase -= twoPi;

    wave = shapeWave();
    clipped = softClip(wave);
    oscillator = (wave * 0.02 + clipped * 0.175) * amplitudeEnvelopeSmoothed.value;

    const double lowNoise = noiseLowPass.processGuarded(noise);
    const double highNoise = noiseHighPass.process(lowNoise);

    clickEnvelope.moveToward(doubledAmplitude * clickGate);
    const double clickHigh = clickHighPass.process(clickEnvelope.value);
    const double clickNoise = clickLowPass.processGuarded(clickHigh);

    noiseOutput = -(highNoise * 0.01 * doubledAmplitude + clickNoise * 0.07);

    noiseEnvelope.rate = 0.004 * k;
    noiseEnvelope.moveToward(doubledAmplitude * gate);

    lastRaw = (noiseOutput * noiseEnvelope.value * attackGain + oscillator) * 0.35 * 4.5;
    return outputSmoother.moveToward(lastRaw);
}
