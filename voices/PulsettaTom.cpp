#include "voices/PulsettaTom.h"

#include "voices/FastExp.h"
#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::pi;
using voiceconstants::twoPi;
using voiceconstants::velocityScale;
constexpr double inversePi = 1.0 / pi;

/** A unit-slope tanh knee at +-0.1 with a ceiling 1/6.6 above it, in two
    steps so that the exponentials of several knees can be taken together:
    the exponent, then the knee from e^exponent. Symmetric: the negative side
    is the positive side of -w turned over. */
double kneeExponent(double w)
{
    return 13.2 * ((w < 0.0 ? -w : w) - 0.1);
}

double kneeClip(double w, double e)
{
    if (w > 0.1)
        return 0.1 + (1.0 - 2.0 / (e + 1.0)) * 0.15151515151515152;
    if (w < -0.1)
        return -0.1 - (1.0 - 2.0 / (e + 1.0)) * 0.15151515151515152;
    return w;
}
} // namespace

PulsettaTom::PulsettaTom(double frequency1, double frequency2, double frequency3)
    : PulsettaInstrument(OutputMix::strongLowPass)
{
    oscillators[0].baseFrequency = frequency1;
    oscillators[1].baseFrequency = frequency2;
    oscillators[2].baseFrequency = frequency3;
    oscillators[2].symmetryScale = 0.575;
    PulsettaTom::setSampleRate(44100.0);
}

void PulsettaTom::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case toneControl: setTone(value); break;
        case tuneDepthControl: setTuneDepth(value); break;
        case decayControl: setDecay(value); break;
        case tuneDecayControl: setTuneDecay(value); break;
        default: break;
    }
}

void PulsettaTom::setTune(double v)
{
    tune = v;
    tuneFactor = (v - 0.5) * 0.64 + 1.0;
    updateOscillatorFrequencies();
}

void PulsettaTom::setTone(double v)
{
    tone = v;
    toneRate = (std::exp(-10.385913701770846 * v) * 0.09955307262569207 + 0.00044692737430453665) * context.smoothing;
    if (attackCounter == released) // a released tom follows the knob at once
        noiseEnvelope.rate = toneRate;
}

void PulsettaTom::setTuneDepth(double v)
{
    tuneDepth = v;
    depth = 0.8 * v + 1.0;
    depthAboveOne = depth - 1.0;
    updateOscillatorFrequencies();
}

void PulsettaTom::updateOscillatorFrequencies()
{
    for (auto& oscillator : oscillators)
    {
        const double f = oscillator.baseFrequency;
        oscillator.tunedFrequency = f * tuneFactor;
        oscillator.sweepSpan = f * depth - f;
    }
}

void PulsettaTom::setDecay(double v)
{
    decay = v;
    decayRate = (std::exp(-4.095385686728296 * v) * 0.7118518518535202 + 0.18814814814779823) * 0.001
              * context.smoothing;
    if (attackCounter == released)
        mainEnvelope.rate = decayRate;
}

void PulsettaTom::setTuneDecay(double v)
{
    tuneDecayValue = v;
    tuneDecay = ((1.0 - v) * (1.0 - v) * 2.0 + 0.25) * context.smoothing;
    if (attackCounter == released)
    {
        sweepEnvelope1.rate = tuneDecay * 0.0015;
        sweepEnvelope2.rate = tuneDecay * 0.0002;
    }
}

void PulsettaTom::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(levelTarget);
    setTune(tune);
    setTone(tone);
    setTuneDepth(tuneDepth);
    setDecay(decay);
    setTuneDecay(tuneDecayValue);

    for (Smoother* envelope : { &mainEnvelope, &secondEnvelope, &thirdEnvelope, &mainEnvelopeSmoothed, &noiseEnvelope,
                                &sweepEnvelope1, &sweepEnvelope2, &pitchEnvelope, &brightEnvelope })
        envelope->value = 0.0;
    for (auto& oscillator : oscillators)
    {
        oscillator.phase = 0.0;
        oscillator.smoothedWave = 0.0;
    }
    radiansPerCycleStep = twoPi / sampleRate;
    waveSmoothingRate = context.smoothing * 0.01;
    mainEnvelopeSmoothed.rate = context.smoothing * 0.0008; // until the first hit sets k * 0.1
    dcBlocker.coefficients = cookbook::highPass(10.0, 6.5, sampleRate);
    dcBlocker.clear();
}

void PulsettaTom::trigger(double velocity)
{
    if (levelTarget == 0.0)
        return;

    const double k = context.smoothing;
    startVoice();
    squaredAmplitude = (velocity * velocityScale) * (velocity * velocityScale);
    attackCounter = static_cast<int>(std::trunc(context.sampleRate * 0.002));
    gate = 1.0;
    pitchEnvelope.value = 0.5;
    pitchEnvelope.rate = k * 0.8;
    for (Smoother* envelope : { &mainEnvelope, &secondEnvelope, &thirdEnvelope, &mainEnvelopeSmoothed, &noiseEnvelope,
                                &sweepEnvelope1, &sweepEnvelope2 })
    {
        envelope->value = 0.0;
        envelope->rate = k * 0.1;
    }
    waveSmoothingRate = k * 0.2;
    brightEnvelope.value = 0.0;
    brightEnvelope.rate = k * 0.05;
}

// The release rates hold until the next hit; Tone, Decay and Tune Decay
// reach them through their setters meanwhile.
void PulsettaTom::startRelease()
{
    const double k = context.smoothing;
    gate = 0.0;
    waveSmoothingRate = 1.0;
    mainEnvelope.rate = decayRate;
    noiseEnvelope.rate = toneRate;
    pitchEnvelope.rate = k * 0.0007;
    secondEnvelope.rate = k * 0.00045;
    // tuneDecay already scales with the rate: applied once, the sweep keeps
    // its 44.1 kHz duration at every rate.
    sweepEnvelope1.rate = tuneDecay * 0.0015;
    sweepEnvelope2.rate = tuneDecay * 0.0002;
    thirdEnvelope.rate = k * 0.001;
    brightEnvelope.rate = k * 0.005;
}

double PulsettaTom::renderOscillator(Oscillator& oscillator, double sweep, double symmetryStretch)
{
    const double frequency = oscillator.tunedFrequency + sweep * oscillator.sweepSpan;
    const double s = 1.0 - oscillator.symmetryScale * symmetryStretch;

    double phase = oscillator.phase + frequency * radiansPerCycleStep;
    if (phase > twoPi)
        phase -= twoPi;
    oscillator.phase = phase;

    // The branch order matters: s can be slightly negative at full depth,
    // and then the first branch is never taken.
    const double wave = phase >= twoPi * s ? (s * pi - phase + pi) * inversePi / (1.0 - s)
                                           : (phase - s * pi) * inversePi / s;
    // A smoother of the usual form, its rate shared by the three oscillators.
    const double smoothed = oscillator.smoothedWave - ((oscillator.smoothedWave - wave) * waveSmoothingRate + 1e-20);
    oscillator.smoothedWave = smoothed;
    return smoothed;
}

double PulsettaTom::processWithNoise(double tomNoise)
{
    if (! active)
        return renderOutput(0.0);

    if (attackCounter >= 0)
    {
        oscillators[0].phase = 1.3 * pi;
        oscillators[1].phase = 1.25 * pi;
        oscillators[2].phase = 1.3 * pi;
        --attackCounter;
    }
    else if (attackCounter != released)
    {
        startRelease();
        attackCounter = released;
    }

    const double target = squaredAmplitude * gate;
    mainEnvelope.moveToward(target);
    secondEnvelope.moveToward(target);
    thirdEnvelope.moveToward(target);
    mainEnvelopeSmoothed.moveToward(mainEnvelope.value);
    noiseEnvelope.moveToward(target);
    sweepEnvelope1.moveToward(gate);
    sweepEnvelope2.moveToward(gate);
    pitchEnvelope.moveToward(gate);
    brightEnvelope.moveToward(6.0 * gate);

    // What the three oscillators share: where the sweep stands and how far
    // the pitch envelope stretches their symmetry.
    const double sweep = (sweepEnvelope1.value + sweepEnvelope2.value) * 0.5;
    const double symmetryStretch = 1.0 + depthAboveOne * pitchEnvelope.value;
    const double bright = brightEnvelope.value;

    // The main oscillator is brightened on its positive half before the knee.
    double main = renderOscillator(oscillators[0], sweep, symmetryStretch) * 0.8;
    if (main >= 0.0)
        main *= 5.0 * bright + 1.0;
    double low = renderOscillator(oscillators[1], sweep, symmetryStretch) * 0.8;
    double high = renderOscillator(oscillators[2], sweep, symmetryStretch) * 0.8;

    // The six exponentials of the sample, two at a time.
    const auto mainAndLowKnee = fastexp::exp(kneeExponent(main), kneeExponent(low));
    const auto highKneeAndMainLevel = fastexp::exp(kneeExponent(high), -mainEnvelopeSmoothed.value);
    const auto secondAndThirdLevel = fastexp::exp(-secondEnvelope.value, -thirdEnvelope.value);

    main = kneeClip(main, mainAndLowKnee.first);
    if (main >= 0.0)
        main *= 1.0 - 0.2 * bright;
    low = kneeClip(low, mainAndLowKnee.second);
    high = kneeClip(high, highKneeAndMainLevel.first);

    const double mainLevel = 1.0 - highKneeAndMainLevel.second;
    double body = ((1.0 - secondAndThirdLevel.first) + 1.25 * mainLevel) * main
                + (1.0 - secondAndThirdLevel.second) * high
                + 0.75 * low * mainLevel;
    body = dcBlocker.processGuarded(body);

    const double x = (noiseEnvelope.value * tomNoise * 2.0 + body) * 0.143 * 4.5;
    return renderOutput(x);
}
