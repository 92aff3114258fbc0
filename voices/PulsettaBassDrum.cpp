#include "voices/PulsettaBassDrum.h"

#include "voices/SampleLoops.h"
#include "voices/VoiceConstants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

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
    setSweepSpan();
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
    setSweepSpan();
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
    radiansPerHertz = twoPi / sampleRate;
    phase = 0.0;
    pitchEnvelopeSmoothed = 0.0;
    smoothed = 0.0;
    clipShrink = 1.0;
    clickRate = k * 0.02;
    smoothingRate = k * 0.01;
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
    stage = Stage::attack;
    clickGate = 1.0;
    phase = pi / 2.0;
    amplitude = (velocity * velocityScale) * (velocity * velocityScale);
    doubledAmplitude = 2.0 * amplitude;
    pitchEnvelope = pitchEnvelopeSmoothed = 0.0;
    amplitudeEnvelope = amplitudeEnvelopeSmoothed = 0.0;
    clickEnvelope = 0.0;
    noiseEnvelope = 1.0;
    attackCounter = context.sampleRate * 0.00228;
    holdCounter = context.sampleRate * 0.057;
    smoothingRate = k * 0.2;
    clickRate = k * 0.005;
}

/** The sample loops over a stretch of the run in which the stage stays the same. */
struct PulsettaBassDrum::Kernel
{
    static constexpr int maxFrames = PulsettaInstrument::maxRunFrames;

    struct Scratch
    {
        alignas(32) double wave[maxFrames], threshold[maxFrames], level[maxFrames];
        alignas(32) double noiseEnvelope[maxFrames], highNoise[maxFrames], clickNoise[maxFrames];
    };

    static bool clickAtRest(double envelope, sampleloops::EnvelopeStep step, OnePoleHighPass high, Biquad low)
    {
        const auto state = [&] {
            return std::array<double, 7> { envelope, high.previousInput, high.previousOutput, low.x1, low.x2, low.y1, low.y2 };
        };
        const auto before = state();
        envelope = envelope * step.keep + step.push;
        low.processQuickly(high.processQuickly(envelope), 1e-20);
        const auto after = state();
        return std::memcmp(before.data(), after.data(), sizeof before) == 0;
    }

    /** The asymmetric triangle at symmetry 0.5, scaled. */
    static PULSETTA_INLINE double shape(double phase)
    {
        const double w = (phase < pi ? phase - 0.5 * pi : 0.5 * pi - phase + pi) * (0.5 / pi);
        return (3.0 * w - 0.04) * 2.5;
    }

    template <class P> static PULSETTA_INLINE void renderStretch(PulsettaBassDrum& d, int numFrames, const double* noise, double* x)
    {
        using sampleloops::EnvelopeStep;
        Scratch s;
        const int packed = sampleloops::inPacks(numFrames);
        const double k = d.context.smoothing;
        const bool inAttack = d.stage == Stage::attack;
        const double gate = inAttack ? 1.0 : 0.0;

        // Envelopes, the phase, the clip threshold and the noise filters, sample by sample.
        {
            const auto pitchStep = EnvelopeStep::toward(gate, inAttack ? k * 0.07 : d.tuneRate);
            const auto amplitudeStep = EnvelopeStep::toward(
                gate * d.amplitude, inAttack ? k * 0.07 : d.stage == Stage::hold ? 0.0 : d.decayRate);
            const double followRate = 0.05 * k, followKeep = 1.0 - followRate;
            const auto noiseStep = EnvelopeStep::toward(d.doubledAmplitude * gate, 0.004 * k);
            auto clickStep = EnvelopeStep::toward(d.doubledAmplitude * d.clickGate, d.clickRate);
            const double shrinkFactor = 1.0 - k * 0.001 + 1e-20;

            double pe = d.pitchEnvelope, pes = d.pitchEnvelopeSmoothed, ae = d.amplitudeEnvelope, aes = d.amplitudeEnvelopeSmoothed;
            double ne = d.noiseEnvelope, ce = d.clickEnvelope, phase = d.phase, shrink = d.clipShrink;
            bool cut = d.clickGate == 0.0;
            auto lowNoise = d.noiseLowPass, clickLow = d.clickLowPass;
            auto highNoise = d.noiseHighPass, clickHigh = d.clickHighPass;
            // Once cut, the click's envelope and filters come to rest: then
            // every sample would give the same values again.
            const bool clickResting = cut && clickAtRest(ce, clickStep, clickHigh, clickLow);

            for (int n = 0; n < numFrames; ++n)
            {
                pe = pe * pitchStep.keep + pitchStep.push;
                pes = pes * followKeep + (pe * followRate - 1e-20);
                ae = ae * amplitudeStep.keep + amplitudeStep.push;
                aes = aes * followKeep + (ae * followRate - 1e-20);
                s.level[n] = aes;

                if (inAttack)
                {
                    phase = 0.5 * pi;
                }
                else if (! cut && phase > 3.0 * pi / 4.0)
                {
                    // The click stops once the wave has passed its first quarter after the attack.
                    cut = true;
                    clickStep = EnvelopeStep::toward(0.0, 1.0);
                }
                phase += (d.sweepSpan * pes + d.baseFrequency) * d.radiansPerHertz;
                if (phase > twoPi)
                    phase -= twoPi;

                const double w = shape(phase);
                double threshold = shrink * 0.6;
                shrink = shrink * shrinkFactor;
                if (w >= -threshold && w <= threshold)
                {
                    shrink = 1.0;
                    threshold = 0.6;
                }
                s.wave[n] = w;
                s.threshold[n] = threshold;

                s.highNoise[n] = highNoise.processQuickly(lowNoise.processQuickly(noise[n], 1e-20));
                if (clickResting)
                {
                    s.clickNoise[n] = clickLow.y1;
                }
                else
                {
                    ce = ce * clickStep.keep + clickStep.push;
                    s.clickNoise[n] = clickLow.processQuickly(clickHigh.processQuickly(ce), 1e-20);
                }
                ne = ne * noiseStep.keep + noiseStep.push;
                s.noiseEnvelope[n] = ne;
            }
            d.pitchEnvelope = pe;
            d.pitchEnvelopeSmoothed = pes;
            d.amplitudeEnvelope = ae;
            d.amplitudeEnvelopeSmoothed = aes;
            d.noiseEnvelope = ne;
            d.clickEnvelope = ce;
            d.phase = phase;
            d.clipShrink = shrink;
            if (cut)
            {
                d.clickGate = 0.0;
                d.clickRate = 1.0;
            }
            d.noiseLowPass = lowNoise;
            d.clickLowPass = clickLow;
            d.noiseHighPass = highNoise;
            d.clickHighPass = clickHigh;
            for (int n = numFrames; n < packed; ++n)
                s.wave[n] = s.threshold[n] = s.level[n] = s.noiseEnvelope[n] = s.highNoise[n] = s.clickNoise[n] = 0.0;
        }

        // The soft clip (a unit-slope tanh knee with gain 1/1.8 above the
        // threshold) and the mix, four frames at a time.
        const double noiseGain = 0.01 * d.doubledAmplitude;
        for (int m = 0; m < packed; m += simd::lanes)
        {
            const P w = P::load(s.wave + m), threshold = P::load(s.threshold + m);
            const auto above = w > threshold;
            const P e = simd::exp(select(above, (w - threshold) * 3.6, (threshold + w) * 3.6));
            const P bent = (1.0 - 2.0 / (e + 1.0) + 1e-20) * 0.5555555555555556;
            const P clipped = select(above, bent + threshold, select(w < -threshold, bent - threshold, w));
            const P oscillator = (w * 0.02 + clipped * 0.175) * P::load(s.level + m);
            const P noiseOut = -(P::load(s.highNoise + m) * noiseGain + P::load(s.clickNoise + m) * 0.07);
            ((noiseOut * P::load(s.noiseEnvelope + m) * d.attackGain + oscillator) * (0.35 * 4.5)).store(x + m);
        }

        // The output smoother: sample by sample in the attack, passing each sample on after it.
        if (inAttack)
        {
            const double rate = d.smoothingRate, keep = 1.0 - rate;
            double value = d.smoothed;
            for (int n = 0; n < numFrames; ++n)
                x[n] = value = value * keep + (x[n] * rate - 1e-20);
            d.smoothed = value;
        }
        else
        {
            for (int n = 0; n < numFrames; ++n)
                x[n] = x[n] - 1e-20;
            d.smoothed = x[numFrames - 1];
        }
    }

    template <class P> static PULSETTA_INLINE int render(PulsettaBassDrum& d, const VoiceRun& run, double* x)
    {
        for (int done = 0; done < run.numFrames;)
        {
            int length = run.numFrames - done;
            if (d.stage == Stage::attack)
                length = std::min(length, static_cast<int>(std::floor(d.attackCounter)) + 1);
            else if (d.stage == Stage::hold)
                length = std::min(length, static_cast<int>(std::ceil(d.holdCounter)));
            renderStretch<P>(d, length, run.noise + done, x + done);
            done += length;

            if (d.stage == Stage::attack)
            {
                d.attackCounter -= length;
                if (d.attackCounter < 0.0)
                {
                    d.stage = d.holdCounter > 0.0 ? Stage::hold : Stage::decay;
                    d.smoothingRate = 1.0;
                }
            }
            else if (d.stage == Stage::hold)
            {
                d.holdCounter -= length;
                if (d.holdCounter <= 0.0)
                    d.stage = Stage::decay;
            }
        }
        return run.numFrames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaBassDrum& d, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(d, run, x);
    }

    static int renderSse2(PulsettaBassDrum& d, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(d, run, x); }
};

int PulsettaBassDrum::renderModel(const VoiceRun& run, double* x)
{
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}

void PulsettaBassDrum::setSweepSpan()
{
    sweepSpan = (pitchTop * 510.0 - baseFrequency) * sweepDepth;
}
