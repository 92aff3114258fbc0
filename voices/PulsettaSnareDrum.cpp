#include "voices/PulsettaSnareDrum.h"

#include "voices/SampleLoops.h"
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
    oscillator1.cycleCounter = oscillator2.cycleCounter = 1;
    radiansPerHertz = twoPi / sampleRate;

    smoothed = 0.0;
    smoothingRate = 0.5;
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

    startVoice();
    linearAmplitude = velocity * velocityScale;
    squaredAmplitude = linearAmplitude * linearAmplitude;
    for (Oscillator* oscillator : { &oscillator1, &oscillator2 })
    {
        oscillator->phase = pi / 2.0;
        oscillator->squareSign = 0.0;
        oscillator->multiplier = oscillator->inverse = 1.0;
        oscillator->cycleCounter = 0;
    }
    attackCounter = noiseCounter = static_cast<int>(std::trunc(context.sampleRate * 0.002));
    envelope.fill(0.0);
    noiseEnvelope = 0.0;
    noiseEnvelopeRate = context.smoothing * 0.9;
    startStage(Stage::attack);
}

void PulsettaSnareDrum::startStage(Stage next)
{
    const double k = context.smoothing;
    stage = next;
    if (stage == Stage::attack)
    {
        gate = 1.0;
        noiseGate = 0.0;
        envelopeRate = { k * 0.07, k * 0.2, k * 0.2, k * 0.005 };
        smoothingRate = k * 0.2;
        return;
    }
    // The release rates; Tone and Decay reach them at every run (below).
    gate = 0.0;
    smoothingRate = 1.0;
    envelopeRate = { k * 0.0025, decayRate * 0.001, k * 0.0003, toneRate };
    noiseGate = stage == Stage::noiseBurst ? 1.0 : 0.0;
}

/** The sample loops over a stretch of the run in which the stage stays the same. */
struct PulsettaSnareDrum::Kernel
{
    static constexpr int maxFrames = PulsettaInstrument::maxRunFrames;

    struct Scratch
    {
        alignas(32) double envelopes[4 * maxFrames]; // pitch, tone, body, snappy of each frame
        alignas(32) double noiseEnvelope[maxFrames];
        alignas(32) double phase1[maxFrames], phase2[maxFrames];
        alignas(32) double multiplier1[maxFrames], multiplier2[maxFrames];
        alignas(32) double band[maxFrames], bandHigh[maxFrames];
    };

    /** One oscillator's phase, and the stretch of the cycle it is in. */
    static PULSETTA_INLINE void advance(Oscillator& o, double increment, int stretchEvery, double stretch)
    {
        o.phase += increment * o.multiplier;
        if (o.phase > twoPi)
            o.phase -= twoPi;
        const double previousSign = o.squareSign;
        o.squareSign = o.phase >= pi ? 1.0 : -1.0;
        if (previousSign < 0.0 && o.squareSign > 0.0)
        {
            o.cycleCounter = (o.cycleCounter + 1) % stretchEvery;
            o.multiplier = o.cycleCounter == 0 ? stretch : 1.0;
            o.inverse = o.multiplier == 1.0 ? 1.0 : 1.0 / o.multiplier;
        }
    }

    /** The oscillator's wave at its phase, before the stretch is taken out. */
    template <class P> static PULSETTA_INLINE P shape(P phase)
    {
        constexpr double height = 0.5 * (pi + 1.0);
        return select(phase >= pi, pi / 2.0 - phase + pi, phase - pi / 2.0) * (height / pi);
    }

    template <class P>
    static PULSETTA_INLINE void renderStretch(PulsettaSnareDrum& d, int numFrames, const double* noise, double* x)
    {
        using sampleloops::EnvelopeStep;
        Scratch s;
        const int packed = sampleloops::inPacks(numFrames);
        const bool holding = d.stage == Stage::attack;

        // Envelopes, oscillator phases and the noise band, sample by sample.
        {
            const double gated = d.squaredAmplitude * d.gate;
            const double targets[numEnvelopes] = { d.gate, gated, gated, gated };
            double keep[numEnvelopes], push[numEnvelopes];
            for (int e = 0; e < numEnvelopes; ++e)
            {
                const auto step = EnvelopeStep::toward(targets[e], d.envelopeRate[static_cast<std::size_t>(e)]);
                keep[e] = step.keep;
                push[e] = step.push;
            }
            P envelopes = P::of(d.envelope[0], d.envelope[1], d.envelope[2], d.envelope[3]);
            const P envelopeKeep = P::of(keep[0], keep[1], keep[2], keep[3]), envelopePush = P::of(push[0], push[1], push[2], push[3]);
            const auto noiseStep = EnvelopeStep::toward(d.squaredAmplitude * d.noiseGate, d.noiseEnvelopeRate);
            double noiseEnvelope = d.noiseEnvelope;

            const double base1 = d.tuneFactor * 178.0, sweep1 = (oscillator1Top - 178.0) * d.sweepDepth;
            const double base2 = d.tuneFactor * 258.0, sweep2 = (oscillator2Top - 258.0) * d.sweepDepth;
            Oscillator o1 = d.oscillator1, o2 = d.oscillator2;

            const double a = d.snappyHighPass.pole, g = d.snappyHighPass.gain;
            double high = d.snappyHigh, previous = d.previousNoise;
            const auto& lp = d.bandLowPass.coefficients;
            const double bandFromBeforeLast = lp.a1 * lp.a2, bandFromLast = lp.a1 * lp.a1 - lp.a2;
            double x1 = d.bandLowPass.x1, y1 = d.bandLowPass.y1, y2 = d.bandLowPass.y2;
            const auto& hp = d.bandHighPass.coefficients;
            double hx1 = d.bandHighPass.x1, hx2 = d.bandHighPass.x2, hy1 = d.bandHighPass.y1, hy2 = d.bandHighPass.y2;

            for (int n = 0; n < numFrames; ++n)
            {
                envelopes = envelopes * envelopeKeep + envelopePush;
                envelopes.store(s.envelopes + 4 * n);
                noiseEnvelope = noiseEnvelope * noiseStep.keep + noiseStep.push;
                s.noiseEnvelope[n] = noiseEnvelope;

                if (holding)
                    o1.phase = o2.phase = 3.0 * pi / 8.0;
                const double pitch = envelopes[pitchEnvelope];
                advance(o1, (base1 + sweep1 * pitch) * d.radiansPerHertz, 2, 0.926);
                advance(o2, (base2 + sweep2 * pitch) * d.radiansPerHertz, 3, 0.904);
                s.phase1[n] = o1.phase;
                s.phase2[n] = o2.phase;
                // The waves are divided by the stretch: a stretched cycle's by 1 / multiplier.
                s.multiplier1[n] = o1.inverse;
                s.multiplier2[n] = o2.inverse;

                // The noise's high-pass with its sign turned over, then the
                // low-pass run twice on the held input, as if at twice the rate:
                //   first = b0 h + b1 x1 + b2 x1 - a1 y1 - a2 y2 + c
                //   band  = b0 h + b1 h + b2 x1 - a1 first - a2 y1 + c
                // with first put into band, so band waits on the last band only
                // through one multiplication and one addition.
                high = a * high + ((1e-20 - (noise[n] - previous) * g));
                previous = noise[n];
                const double intoFirst = (lp.b0 * high + lp.b1 * x1) + lp.b2 * x1 + 1e-20;
                const double intoBand = (lp.b0 * high + lp.b1 * high) + lp.b2 * x1 + 1e-20;
                const double first = (intoFirst - lp.a2 * y2) - lp.a1 * y1;
                const double band = ((intoBand - lp.a1 * intoFirst) + bandFromBeforeLast * y2) + bandFromLast * y1;
                x1 = high;
                y2 = first;
                y1 = band;
                s.band[n] = band;
                const double bandHigh = ((hp.b0 * band + hp.b1 * hx1) + hp.b2 * hx2 + 1e-20 - hp.a2 * hy2) - hp.a1 * hy1;
                hx2 = hx1;
                hx1 = band;
                hy2 = hy1;
                hy1 = bandHigh;
                s.bandHigh[n] = bandHigh;
            }
            for (int e = 0; e < numEnvelopes; ++e)
                d.envelope[static_cast<std::size_t>(e)] = envelopes[e];
            d.noiseEnvelope = noiseEnvelope;
            d.oscillator1 = o1;
            d.oscillator2 = o2;
            d.snappyHigh = high;
            d.previousNoise = previous;
            d.bandLowPass.x1 = d.bandLowPass.x2 = x1;
            d.bandLowPass.y1 = y1;
            d.bandLowPass.y2 = y2;
            d.bandHighPass.x1 = hx1;
            d.bandHighPass.x2 = hx2;
            d.bandHighPass.y1 = hy1;
            d.bandHighPass.y2 = hy2;
            // Whole packs for the pass below: the frames past the run are only read, never kept.
            for (int n = numFrames; n < packed; ++n)
            {
                for (int k = 0; k < 4; ++k)
                    s.envelopes[4 * n + k] = 0.0;
                s.noiseEnvelope[n] = s.phase1[n] = s.phase2[n] = s.band[n] = s.bandHigh[n] = 0.0;
                s.multiplier1[n] = s.multiplier2[n] = 1.0;
            }
        }

        // The waves through their knees, the tone and the snappy noise, four frames at a time.
        const double snappyGain = d.snappyAmount * d.linearAmplitude;
        for (int m = 0; m < packed; m += simd::lanes)
        {
            P pitch = P::load(s.envelopes + 4 * m), tone = P::load(s.envelopes + 4 * m + 4), body = P::load(s.envelopes + 4 * m + 8),
              snappy = P::load(s.envelopes + 4 * m + 12);
            simd::transpose(pitch, tone, body, snappy);

            P wave1 = ((shape(P::load(s.phase1 + m)) - 1.0) * P::load(s.multiplier1 + m) + 0.65) * 0.8 + 0.48;
            P wave2 = (shape(P::load(s.phase2 + m)) - 1.0) * P::load(s.multiplier2 + m) + 0.75 + 0.6;
            // Each wave is shaped by one of two tanh knees; the two denominators
            // are inverted with one division.
            const P denominator1 = simd::exp(select(wave1 > 0.0, 4.4 * wave1, 7.0 * (wave1 + 0.3))) + 1.0;
            const P denominator2 = simd::exp(select(wave2 > 0.0, 6.0 * wave2, 9.2 * (wave2 + 0.35))) + 1.0;
            const P inverse = 1.0 / (denominator1 * denominator2);
            const P bent1 = 1.0 - 2.0 * (inverse * denominator2), bent2 = 1.0 - 2.0 * (inverse * denominator1);
            wave1 = select(wave1 > 0.0, bent1 * (1.0 / 2.2), select(wave1 < -0.3, bent1 * (1.0 / 3.5) - 0.3, wave1));
            wave2 = select(wave2 > 0.0, bent2 * (1.0 / 3.0), select(wave2 < -0.35, bent2 * (1.0 / 4.6) - 0.35, wave2));
            wave2 = wave2 - 0.18;
            const P toneSignal = 0.4 * wave2 * tone + wave1 * tone + 0.03 * body * (0.4 * wave2 + wave1);

            P snap = 1.0 - simd::exp(-2.0 * snappy) - 0.05;
            snap = max(snap, P::splat(0.0));
            const P band = P::load(s.band + m), bandHigh = P::load(s.bandHigh + m);
            (((snap * 2.0 * band - bandHigh * P::load(s.noiseEnvelope + m)) * snappyGain + toneSignal * 0.5) * 0.748).store(x + m);
        }

        // The output smoother: sample by sample in the attack, passing each sample on after it.
        if (d.smoothingRate == 1.0)
        {
            for (int n = 0; n < numFrames; ++n)
                x[n] = x[n] - 1e-20;
            d.smoothed = x[numFrames - 1];
        }
        else
        {
            const auto step = EnvelopeStep::toward(0.0, d.smoothingRate);
            double value = d.smoothed;
            for (int n = 0; n < numFrames; ++n)
                x[n] = value = value * step.keep + (x[n] * d.smoothingRate + step.push);
            d.smoothed = value;
        }
    }

    template <class P> static PULSETTA_INLINE int render(PulsettaSnareDrum& d, const VoiceRun& run, double* x)
    {
        if (d.stage != Stage::attack)
            d.startStage(d.stage); // Tone and Decay as they are now
        for (int done = 0; done < run.numFrames;)
        {
            int length = run.numFrames - done;
            if (d.stage == Stage::attack)
                length = std::min(length, d.attackCounter + 1);
            else if (d.stage == Stage::noiseBurst)
                length = std::min(length, d.noiseCounter - 1);
            renderStretch<P>(d, length, run.noise + done, x + done);
            done += length;

            if (d.stage == Stage::attack)
            {
                d.attackCounter -= length;
                if (d.attackCounter < 0)
                    d.enterRelease();
            }
            else if (d.stage == Stage::noiseBurst)
            {
                d.noiseCounter -= length;
                if (d.noiseCounter == 1)
                    d.endNoiseBurst();
            }
        }
        return run.numFrames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaSnareDrum& d, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(d, run, x);
    }

    static int renderSse2(PulsettaSnareDrum& d, const VoiceRun& run, double* x)
    {
        return render<simd::Sse2Pack>(d, run, x);
    }
};

int PulsettaSnareDrum::renderModel(const VoiceRun& run, double* x)
{
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}

// The noise gate opens for a second short stretch once the attack is over:
// as many samples as the attack had, the last of them already closed.
void PulsettaSnareDrum::enterRelease()
{
    if (noiseCounter >= 2)
    {
        startStage(Stage::noiseBurst);
    }
    else
    {
        if (noiseCounter == 1)
            endNoiseBurst();
        startStage(Stage::tail);
    }
}

void PulsettaSnareDrum::endNoiseBurst()
{
    noiseCounter = 0;
    noiseEnvelopeRate = context.smoothing * 0.09;
    startStage(Stage::tail);
}
