#include "voices/PulsettaTom.h"

#include "voices/SampleLoops.h"
#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>

namespace
{
using voiceconstants::pi;
using voiceconstants::twoPi;
using voiceconstants::velocityScale;
constexpr double inversePi = 1.0 / pi;
constexpr int maxFrames = PulsettaInstrument::maxRunFrames;

/** 1/a, 1/b and 1/c from one division: divisions are what the sample
    loops wait on most. None of a, b, c may be 0 or beyond 1e100. */
template <class P> PULSETTA_INLINE void invert(P& a, P& b, P& c)
{
    const P ab = a * b;
    const P r = 1.0 / (ab * c);
    const P ra = r * (b * c), rb = r * (a * c);
    c = r * ab;
    a = ra;
    b = rb;
}

/** Three unit-slope tanh knees at +-0.1 with a ceiling 1/6.6 above them:
    symmetric, the negative side is the positive side of -w turned over.
    From an exponent of 40 on, the knee is at its ceiling to the last bit, so
    the exponent is held there. */
template <class P> PULSETTA_INLINE void knees(P& w0, P& w1, P& w2)
{
    const auto exponent = [](P w) {
        const P e = 13.2 * (simd::abs(w) - 0.1);
        return min(P::splat(40.0), e);
    };
    // The exponents lie within -1.32..40.
    P q0 = simd::expWithinRange(exponent(w0)) + 1.0, q1 = simd::expWithinRange(exponent(w1)) + 1.0;
    P q2 = simd::expWithinRange(exponent(w2)) + 1.0;
    invert(q0, q1, q2);
    const auto bend = [](P w, P q) {
        const P bent = (1.0 - 2.0 * q) * 0.15151515151515152;
        return select(w > 0.1, 0.1 + bent, select(w < -0.1, -0.1 - bent, w));
    };
    w0 = bend(w0, q0);
    w1 = bend(w1, q1);
    w2 = bend(w2, q2);
}
} // namespace

/** The sample loops, in passes over a stretch of the run in which the gate
    and every rate stay the same. */
struct PulsettaTom::Kernel
{
    struct Scratch
    {
        // Four values a frame: the two envelope groups and the three phases.
        alignas(32) double levels[4 * maxFrames];
        alignas(32) double gates[4 * maxFrames];
        alignas(32) double phases[4 * maxFrames];
        alignas(32) double mainSmoothed[maxFrames];
        alignas(32) double waves[3][maxFrames];
        alignas(32) double noise[maxFrames]; // the tom noise part of x
        alignas(32) double bright[maxFrames];
        alignas(32) double levels3[3][maxFrames]; // the main, second and third levels
    };

    /** Four frames of four values each, turned into four packs of one value each. */
    template <class P> static PULSETTA_INLINE void loadFrames(const double* at, P& a, P& b, P& c, P& d)
    {
        a = P::load(at);
        b = P::load(at + 4);
        c = P::load(at + 8);
        d = P::load(at + 12);
        simd::transpose(a, b, c, d);
    }

    /** The three triangles at their phases, their symmetries stretched. The
        branch order matters: a symmetry can be slightly negative at full
        depth, and then the rising side is never taken; so the side taken is
        never narrower than a rounding step of 1, and the widths may be
        inverted together. */
    template <class P> static PULSETTA_INLINE void waves(const PulsettaTom& t, P stretch, P& w0, P& w1, P& w2)
    {
        P* phases[3] = { &w0, &w1, &w2 };
        P widths[3], rises[3];
        for (int i = 0; i < 3; ++i)
        {
            const P s = 1.0 - t.symmetryScale[static_cast<std::size_t>(i)] * stretch;
            const P phase = *phases[i];
            const auto falling = phase >= twoPi * s;
            rises[i] = select(falling, s * pi - phase + pi, phase - s * pi);
            widths[i] = select(falling, 1.0 - s, s);
        }
        invert(widths[0], widths[1], widths[2]);
        for (int i = 0; i < 3; ++i)
            *phases[i] = rises[i] * inversePi * widths[i];
    }

    /** The three smoothed waves through their knees under the three levels. */
    template <class P> static PULSETTA_INLINE P body(P w0, P w1, P w2, P bright, P mainLevel, P secondLevel, P thirdLevel)
    {
        // The main oscillator is brightened on its positive half before the knee.
        P wMain = w0 * 0.8;
        wMain = select(wMain >= 0.0, wMain * (5.0 * bright + 1.0), wMain);
        P wLow = w1 * 0.8, wHigh = w2 * 0.8;
        knees(wMain, wLow, wHigh);
        wMain = select(wMain >= 0.0, wMain * (1.0 - 0.2 * bright), wMain);
        return (secondLevel + 1.25 * mainLevel) * wMain + thirdLevel * wHigh + 0.75 * wLow * mainLevel;
    }

    template <class P>
    static PULSETTA_INLINE void renderStretch(PulsettaTom& t, int numFrames, bool holding, const double* tomNoise, double* x)
    {
        using sampleloops::EnvelopeStep;
        Scratch s;
        const int packed = sampleloops::inPacks(numFrames);

        // Envelopes and phases, sample by sample.
        {
            const double target = t.squaredAmplitude * t.gate;
            const double targets[numEnvelopes] = { target, target, target, target, t.gate, t.gate, t.gate, 6.0 * t.gate };
            double keep[numEnvelopes], push[numEnvelopes];
            for (int e = 0; e < numEnvelopes; ++e)
            {
                const auto step = EnvelopeStep::toward(targets[e], t.envelopeRate[static_cast<std::size_t>(e)]);
                keep[e] = step.keep;
                push[e] = step.push;
            }
            const auto* env = t.envelope.data();
            P levels = P::of(env[0], env[1], env[2], env[3]), gates = P::of(env[4], env[5], env[6], env[7]);
            const P levelKeep = P::of(keep[0], keep[1], keep[2], keep[3]), levelPush = P::of(push[0], push[1], push[2], push[3]);
            const P gateKeep = P::of(keep[4], keep[5], keep[6], keep[7]), gatePush = P::of(push[4], push[5], push[6], push[7]);
            const double smoothedKeep = 1.0 - t.mainSmoothedRate, smoothedRate = t.mainSmoothedRate;
            double smoothed = t.mainSmoothed;

            P phases = P::of(t.phase[0], t.phase[1], t.phase[2], 0.0);
            const P tuned = P::of(t.tunedFrequency[0], t.tunedFrequency[1], t.tunedFrequency[2], 0.0);
            const P span = P::of(t.sweepSpan[0], t.sweepSpan[1], t.sweepSpan[2], 0.0);
            const P held = P::of(1.3 * pi, 1.25 * pi, 1.3 * pi, 0.0);
            const double step = t.radiansPerCycleStep;

            for (int n = 0; n < numFrames; ++n)
            {
                levels = levels * levelKeep + levelPush;
                gates = gates * gateKeep + gatePush;
                smoothed = smoothed * smoothedKeep + (levels[0] * smoothedRate - 1e-20);
                const double sweep = (gates[0] + gates[1]) * 0.5;
                if (holding)
                    phases = held;
                phases = phases + (tuned + sweep * span) * step;
                phases = select(phases > twoPi, phases - twoPi, phases);
                levels.store(s.levels + 4 * n);
                gates.store(s.gates + 4 * n);
                phases.store(s.phases + 4 * n);
                s.mainSmoothed[n] = smoothed;
            }
            for (int e = 0; e < 4; ++e)
            {
                t.envelope[static_cast<std::size_t>(e)] = levels[e];
                t.envelope[static_cast<std::size_t>(e + 4)] = gates[e];
            }
            for (int i = 0; i < 3; ++i)
                t.phase[static_cast<std::size_t>(i)] = phases[i];
            t.mainSmoothed = smoothed;
            // Whole packs for the passes below: the frames past the run are only read, never kept.
            for (int n = numFrames; n < packed; ++n)
                for (int k = 0; k < 4; ++k)
                    s.levels[4 * n + k] = s.gates[4 * n + k] = s.phases[4 * n + k] = 0.0, s.mainSmoothed[n] = 0.0;
        }

        // The waves, then their smoothing, the levels, and the knees and the
        // body, four frames at a time, each in a pass of its own: short loops
        // whose packs the processor works on side by side. After the attack
        // the smoother passes each wave on at once; in the attack it smooths
        // the waves sample by sample.
        const bool instantSmoothing = t.waveSmoothingRate == 1.0;
        const double offset = instantSmoothing ? 1e-20 : 0.0; // which the smoother adds otherwise
        for (int m = 0; m < packed; m += simd::lanes)
        {
            P main, second, third, noise, sweep1, sweep2, pitch, bright;
            loadFrames(s.levels + 4 * m, main, second, third, noise);
            loadFrames(s.gates + 4 * m, sweep1, sweep2, pitch, bright);
            P phase0, phase1, phase2, unused;
            loadFrames(s.phases + 4 * m, phase0, phase1, phase2, unused);

            const P stretch = 1.0 + t.depthAboveOne * pitch;
            Kernel::waves(t, stretch, phase0, phase1, phase2);
            (phase0 - offset).store(s.waves[0] + m);
            (phase1 - offset).store(s.waves[1] + m);
            (phase2 - offset).store(s.waves[2] + m);
            (noise * P::load(tomNoise + m) * 2.0).store(s.noise + m);
            bright.store(s.bright + m);
            second.store(s.levels3[1] + m);
            third.store(s.levels3[2] + m);
        }

        if (instantSmoothing)
            for (int i = 0; i < 3; ++i)
                t.smoothedWave[static_cast<std::size_t>(i)] = s.waves[i][numFrames - 1];
        else
        {
            const double keep = 1.0 - t.waveSmoothingRate, rate = t.waveSmoothingRate;
            for (int i = 0; i < 3; ++i)
            {
                double value = t.smoothedWave[static_cast<std::size_t>(i)];
                for (int n = 0; n < numFrames; ++n)
                    s.waves[i][n] = value = value * keep + (s.waves[i][n] * rate - 1e-20);
                t.smoothedWave[static_cast<std::size_t>(i)] = value;
            }
        }

        for (int m = 0; m < packed; m += simd::lanes)
        {
            (1.0 - simd::exp(-P::load(s.mainSmoothed + m))).store(s.levels3[0] + m);
            (1.0 - simd::exp(-P::load(s.levels3[1] + m))).store(s.levels3[1] + m);
            (1.0 - simd::exp(-P::load(s.levels3[2] + m))).store(s.levels3[2] + m);
        }
        for (int m = 0; m < packed; m += simd::lanes)
            body(P::load(s.waves[0] + m), P::load(s.waves[1] + m), P::load(s.waves[2] + m), P::load(s.bright + m),
                 P::load(s.levels3[0] + m), P::load(s.levels3[1] + m), P::load(s.levels3[2] + m))
                .store(x + m);

        // The body through the DC blocker, then the noise on top.
        sampleloops::runBiquad<P>(t.dcBlocker, x, numFrames, 1e-20);
        for (int n = 0; n < numFrames; ++n)
            x[n] = (s.noise[n] + x[n]) * (0.143 * 4.5);
    }

    template <class P> static PULSETTA_INLINE int render(PulsettaTom& t, const VoiceRun& run, double* x)
    {
        for (int done = 0; done < run.numFrames;)
        {
            int length = run.numFrames - done;
            const bool holding = t.attackCounter >= 0;
            if (holding)
            {
                length = std::min(length, t.attackCounter + 1);
                t.attackCounter -= length;
            }
            else if (t.attackCounter != released)
            {
                t.startRelease();
                t.attackCounter = released;
            }
            renderStretch<P>(t, length, holding, run.noise + done, x + done);
            done += length;
        }
        return run.numFrames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaTom& t, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(t, run, x);
    }

    static int renderSse2(PulsettaTom& t, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(t, run, x); }
};

PulsettaTom::PulsettaTom(double frequency1, double frequency2, double frequency3)
    : PulsettaInstrument(OutputMix::strongLowPass),
      baseFrequency { frequency1, frequency2, frequency3 }
{
    PulsettaTom::setSampleRate(44100.0);
}

int PulsettaTom::renderModel(const VoiceRun& run, double* x)
{
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
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
        envelopeRate[noiseEnvelope] = toneRate;
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
    for (std::size_t i = 0; i < baseFrequency.size(); ++i)
    {
        const double f = baseFrequency[i];
        tunedFrequency[i] = f * tuneFactor;
        sweepSpan[i] = f * depth - f;
    }
}

void PulsettaTom::setDecay(double v)
{
    decay = v;
    decayRate = (std::exp(-4.095385686728296 * v) * 0.7118518518535202 + 0.18814814814779823) * 0.001
              * context.smoothing;
    if (attackCounter == released)
        envelopeRate[mainEnvelope] = decayRate;
}

void PulsettaTom::setTuneDecay(double v)
{
    tuneDecayValue = v;
    tuneDecay = ((1.0 - v) * (1.0 - v) * 2.0 + 0.25) * context.smoothing;
    if (attackCounter == released)
    {
        envelopeRate[sweepEnvelope1] = tuneDecay * 0.0015;
        envelopeRate[sweepEnvelope2] = tuneDecay * 0.0002;
    }
}

void PulsettaTom::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);
    setTune(tune);
    setTone(tone);
    setTuneDepth(tuneDepth);
    setDecay(decay);
    setTuneDecay(tuneDecayValue);

    envelope.fill(0.0);
    mainSmoothed = 0.0;
    phase.fill(0.0);
    smoothedWave.fill(0.0);
    radiansPerCycleStep = twoPi / sampleRate;
    waveSmoothingRate = context.smoothing * 0.01;
    mainSmoothedRate = context.smoothing * 0.0008; // until the first hit sets k * 0.1
    dcBlocker.coefficients = cookbook::highPass(10.0, 6.5, sampleRate);
    dcBlocker.clear();
}

void PulsettaTom::trigger(double velocity)
{
    if (output.levelTarget == 0.0)
        return;

    const double k = context.smoothing;
    startVoice();
    squaredAmplitude = (velocity * velocityScale) * (velocity * velocityScale);
    attackCounter = static_cast<int>(std::trunc(context.sampleRate * 0.002));
    gate = 1.0;
    envelope[pitchEnvelope] = 0.5;
    envelopeRate[pitchEnvelope] = k * 0.8;
    for (const auto e : { mainEnvelope, secondEnvelope, thirdEnvelope, noiseEnvelope, sweepEnvelope1, sweepEnvelope2 })
    {
        envelope[e] = 0.0;
        envelopeRate[e] = k * 0.1;
    }
    mainSmoothed = 0.0;
    mainSmoothedRate = k * 0.1;
    waveSmoothingRate = k * 0.2;
    envelope[brightEnvelope] = 0.0;
    envelopeRate[brightEnvelope] = k * 0.05;
}

// The release rates hold until the next hit; Tone, Decay and Tune Decay
// reach them through their setters meanwhile.
void PulsettaTom::startRelease()
{
    const double k = context.smoothing;
    gate = 0.0;
    waveSmoothingRate = 1.0;
    envelopeRate[mainEnvelope] = decayRate;
    envelopeRate[noiseEnvelope] = toneRate;
    envelopeRate[pitchEnvelope] = k * 0.0007;
    envelopeRate[secondEnvelope] = k * 0.00045;
    // tuneDecay already scales with the rate: applied once, the sweep keeps
    // its 44.1 kHz duration at every rate.
    envelopeRate[sweepEnvelope1] = tuneDecay * 0.0015;
    envelopeRate[sweepEnvelope2] = tuneDecay * 0.0002;
    envelopeRate[thirdEnvelope] = k * 0.001;
    envelopeRate[brightEnvelope] = k * 0.005;
}
