#include "voices/PulsettaSnareDrum.h"

#include "voices/FastExp.h"
#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>

namespace
{
using voiceconstants::pi;
using voiceconstants::twoPi;
using voiceconstants::velocityScale;
constexpr double oscillator1Top = 375.0; // Hz at full sweep
constexpr double oscillator2Top = 549.0; // Hz at full sweep
} // namespace

PulsettaSnareDrum::PulsettaSnareDrum()
    : PulsettaInstrument(OutputMix::lowPassDifference)
{
    PulsettaSnareDrum::setSampleRate(44100.0);
}

void PulsettaSnareDrum::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case toneControl: setTone(value); break;
        case tuneDepthControl: setTuneDepth(value); break;
        case decayControl: setDecay(value); break;
        case snappyControl: setSnappy(value); break;
        default: break;
    }
}

void PulsettaSnareDrum::setTune(double v)
{
    tune = v;
    tuneFactor = (v - 0.5) * 0.64 + 1.0 - 0.02;
}

void PulsettaSnareDrum::setTone(double v)
{
    tone = v;
    toneRate = context.smoothing
             / (1111.111111111111 + 8888.888888888883 * v - 17777.777777777766 * v * v
                + 17777.777777777774 * v * v * v);
}

void PulsettaSnareDrum::setTuneDepth(double v)
{
    tuneDepth = v;
    sweepDepth = 2.0 * v;
}

void PulsettaSnareDrum::setDecay(double v)
{
    decay = v;
    decayRate = (std::exp(-2.0919371103777964 * v) * 2.852083333337659 - 0.00208333332702613) * context.smoothing;
}

void PulsettaSnareDrum::setSnappy(double v)
{
    snappy = v;
    snappyAmount = 0.75 * v;
}

void PulsettaSnareDrum::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);
    setTune(tune);
    setTone(tone);
    setTuneDepth(tuneDepth);
    setDecay(decay);
    setSnappy(snappy);

    oscillator1 = Oscillator();
    oscillator2 = Oscillator();
    oscillator1.baseFrequency = 178.0;
    oscillator2.baseFrequency = 258.0;
    oscillator1.cycleCounter = oscillator2.cycleCounter = 1;

    outputSmoother.value = 0.0;
    outputSmoother.rate = 0.5;
    snappyHighPass.setFrequency(3822.0, sampleRate);
    snappyHighPass.reset(0.0);
    snappyHigh = previousNoise = 0.0;
    bandLowPass.coefficients = cookbook::lowPassWithQ(3900.0, 1.5, sampleRate);
    bandLowPass.clear();
    bandHighPass.coefficients = cookbook::highPass(4000.0, 1.5, sampleRate);
    bandHighPass.clear();
}

void PulsettaSnareDrum::trigger(double velocity)
{
    if (output.levelTarget == 0.0 || velocity == 0.0)
        return;

    const double k = context.smoothing;
    startVoice();
    linearAmplitude = velocity * velocityScale;
    squaredAmplitude = linearAmplitude * linearAmplitude;
    for (Oscillator* oscillator : { &oscillator1, &oscillator2 })
    {
        oscillator->phase = pi / 2.0;
        oscillator->squareSign = oscillator->previousSign = 0.0;
        oscillator->multiplier = 1.0;
        oscillator->cycleCounter = 0;
    }
    gate = 1.0;
    attackCounter = noiseCounter = static_cast<int>(std::trunc(context.sampleRate * 0.002));
    pitchEnvelope1.rate = pitchEnvelope2.rate = k * 0.07;
    toneEnvelope1.rate = toneEnvelope2.rate = bodyEnvelope.rate = k * 0.2;
    outputSmoother.rate = k * 0.2;
    snappyEnvelope.rate = k * 0.005;
    noiseEnvelope.rate = k * 0.9;
    noiseGate = 0.0;
    for (Smoother* envelope : { &pitchEnvelope1, &pitchEnvelope2, &toneEnvelope1, &toneEnvelope2, &bodyEnvelope,
                                &snappyEnvelope, &noiseEnvelope })
        envelope->value = 0.0;
}

double PulsettaSnareDrum::Oscillator::advance(double frequency, double sampleRate, int stretchEvery, double stretch)
{
    phase += twoPi * frequency / sampleRate * multiplier;
    if (phase > twoPi)
        phase -= twoPi;

    previousSign = squareSign;
    squareSign = phase >= pi ? 1.0 : -1.0;
    if (previousSign < 0.0 && squareSign > 0.0)
    {
        cycleCounter = (cycleCounter + 1) % stretchEvery;
        multiplier = cycleCounter == 0 ? stretch : 1.0;
    }

    constexpr double shape = 0.5 * (pi + 1.0);
    return phase >= pi ? (pi / 2.0 - phase + pi) / pi * shape : (phase - pi / 2.0) / pi * shape;
}

double PulsettaSnareDrum::renderSnappyBand(double noise)
{
    // High-pass of the noise with its sign turned over.
    const double a = snappyHighPass.pole;
    snappyHigh = a * snappyHigh - (noise - previousNoise) * snappyHighPass.gain + 1e-20;
    previousNoise = noise;

    // The low-pass runs twice on the held input, as if at twice the rate.
    const double h = snappyHigh;
    auto& lp = bandLowPass;
    const auto& c = lp.coefficients;
    const double first = c.b0 * h + c.b1 * lp.x1 + c.b2 * lp.x2 - c.a1 * lp.y1 - c.a2 * lp.y2 + 1e-20;
    const double band = c.b0 * h + c.b1 * h + c.b2 * lp.x1 - c.a1 * first - c.a2 * lp.y1 + 1e-20;
    lp.x1 = lp.x2 = h;
    lp.y2 = first;
    lp.y1 = band;
    return band;
}

int PulsettaSnareDrum::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
        x[n] = renderSample(run.noise[n]);
    return run.numFrames;
}

double PulsettaSnareDrum::renderSample(double noise)
{
    const double k = context.smoothing;

    if (attackCounter < 0)
    {
        outputSmoother.rate = 1.0;
        gate = 0.0;
        if (noiseCounter != 0)
            noiseGate = 1.0;
        snappyEnvelope.rate = toneRate;
        toneEnvelope1.rate = toneEnvelope2.rate = decayRate * 0.001;
        pitchEnvelope1.rate = pitchEnvelope2.rate = k * 0.0025;
        bodyEnvelope.rate = k * 0.0003;
    }
    else
    {
        oscillator1.phase = oscillator2.phase = 3.0 * pi / 8.0;
    }
    --attackCounter;

    // The noise gate opens for a second short stretch once the attack is over.
    if (noiseGate == 1.0)
    {
        --noiseCounter;
        if (noiseCounter < 1)
        {
            noiseGate = 0.0;
            noiseEnvelope.rate = k * 0.09;
        }
    }

    const double gatedAmplitude = squaredAmplitude * gate;
    pitchEnvelope1.moveToward(gate);
    pitchEnvelope2.moveToward(gate);
    toneEnvelope1.moveToward(gatedAmplitude);
    toneEnvelope2.moveToward(gatedAmplitude);
    bodyEnvelope.moveToward(gatedAmplitude);
    snappyEnvelope.moveToward(gatedAmplitude);
    noiseEnvelope.moveToward(squaredAmplitude * noiseGate);

    const double sr = context.sampleRate;
    const double frequency1 = tuneFactor * oscillator1.baseFrequency
                            + (oscillator1Top - oscillator1.baseFrequency) * sweepDepth * pitchEnvelope1.value;
    double wave1 = oscillator1.advance(frequency1, sr, 2, 0.926);
    wave1 = (oscillator1.unstretched(wave1 - 1.0) + 0.65) * 0.8 + 0.48;

    const double frequency2 = tuneFactor * oscillator2.baseFrequency
                            + (oscillator2Top - oscillator2.baseFrequency) * sweepDepth * pitchEnvelope2.value;
    double wave2 = oscillator2.advance(frequency2, sr, 3, 0.904);
    wave2 = oscillator2.unstretched(wave2 - 1.0) + 0.75 + 0.6;

    // Each wave is shaped by one of two tanh knees, whose exponentials are
    // taken together.
    const auto knees = fastexp::exp(wave1 > 0.0 ? 4.4 * wave1 : 7.0 * (wave1 + 0.3),
                                    wave2 > 0.0 ? 6.0 * wave2 : 9.2 * (wave2 + 0.35));
    if (wave1 > 0.0)
        wave1 = (1.0 - 2.0 / (knees.first + 1.0)) / 2.2;
    else if (wave1 < -0.3)
        wave1 = (1.0 - 2.0 / (knees.first + 1.0)) / 3.5 - 0.3;
    if (wave2 > 0.0)
        wave2 = (1.0 - 2.0 / (knees.second + 1.0)) / 3.0;
    else if (wave2 < -0.35)
        wave2 = (1.0 - 2.0 / (knees.second + 1.0)) / 4.6 - 0.35;
    wave2 -= 0.18;

    const double toneSignal = 0.4 * wave2 * toneEnvelope2.value + wave1 * toneEnvelope1.value
                            + 0.03 * bodyEnvelope.value * (0.4 * wave2 + wave1);

    const double band = renderSnappyBand(noise);
    const double bandHigh = bandHighPass.processGuarded(band);
    const double snap = std::max(0.0, 1.0 - fastexp::exp(-2.0 * snappyEnvelope.value) - 0.05);
    const double raw = ((snap * 2.0 * band - bandHigh * noiseEnvelope.value) * snappyAmount * linearAmplitude
                        + toneSignal * 0.5)
                     * 0.748;

    return outputSmoother.moveToward(raw);
}
