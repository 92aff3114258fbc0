#include "voices/PulsettaRimshot.h"

#include "voices/SampleLoops.h"
#include "voices/NormalisedValue.h"
#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::velocityScale;
constexpr double resonatorFrequencies[3] = { 520.0, 236.47, 1080.7 }; // Hz at tune 0.5

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

/** The resonators, four lanes of one pack (the fourth silent), sample by
    sample; their sum through the soft clip four frames at a time; the
    band-pass. */
struct PulsettaRimshot::Kernel
{
    static constexpr int maxFrames = PulsettaInstrument::maxRunFrames;

    template <class P> static PULSETTA_INLINE int render(PulsettaRimshot& r, const VoiceRun& run, double* x)
    {
        using simd::select;
        const int numFrames = run.numFrames;
        const int packed = sampleloops::inPacks(numFrames);
        alignas(32) double outputs[4 * (maxFrames + simd::lanes)]; // the three scaled resonator outputs of each frame

        {
            const SelfLimitingResonator* rs = r.resonators;
            auto lanes = ResonatorLanes<P>::of(P::of(rs[0].coefficient, rs[1].coefficient, rs[2].coefficient, 0.0),
                                               P::of(rs[0].feedback, rs[1].feedback, rs[2].feedback, 0.0),
                                               P::of(rs[0].loop, rs[1].loop, rs[2].loop, 0.0), P::of(rs[0].s1, rs[1].s1, rs[2].s1, 0.0),
                                               P::of(rs[0].s2, rs[1].s2, rs[2].s2, 0.0), P::of(rs[0].s3, rs[1].s3, rs[2].s3, 0.0),
                                               P::of(rs[0].s4, rs[1].s4, rs[2].s4, 0.0));
            // The first and third are scaled by 2.5 and clamped to -1..1, the second by 1.25.
            const P gains = P::of(2.5, 1.25, 2.5, 0.0);
            const auto clamped = P::of(1.0, 0.0, 1.0, 0.0) > 0.5;
            const double fall = 1.0 - r.context.smoothing * 0.05;
            double excitation = r.excitation;
            for (int n = 0; n < numFrames; ++n)
            {
                excitation *= fall;
                if (excitation < 1e-30) // long inaudible: keep it off denormal numbers
                    excitation = 0.0;
                P out = lanes.step(P::splat(excitation)) * gains;
                out = select(clamped, simd::clamp(out, -1.0, 1.0), out);
                out.store(outputs + 4 * n);
            }
            r.excitation = excitation;
            for (int i = 0; i < 3; ++i)
            {
                SelfLimitingResonator& resonator = r.resonators[i];
                resonator.loop = lanes.loop[i];
                resonator.s1 = lanes.s1[i];
                resonator.s2 = lanes.s2[i];
                resonator.s3 = lanes.s3[i];
                resonator.s4 = lanes.s4[i];
            }
            for (int n = 4 * numFrames; n < 4 * packed; ++n)
                outputs[n] = 0.0;
        }

        // The sum through a soft clip with its knee at +-0.05 and a tanh slope of 1.4 beyond it.
        for (int m = 0; m < packed; m += simd::lanes)
        {
            P a = P::load(outputs + 4 * m), b = P::load(outputs + 4 * m + 4), c = P::load(outputs + 4 * m + 8),
              unused = P::load(outputs + 4 * m + 12);
            simd::transpose(a, b, c, unused);
            const P sum = (a + b + c) * 8.0;
            // The sum lies within -36..36: two clamped resonators and one whose
            // stages never pass 1 by more than a rounding.
            const P e = simd::expWithinRange(2.8 * (simd::abs(sum) - 0.05));
            const P bent = (1.0 - 2.0 / (e + 1.0)) * 0.7142857142857143;
            const P clipped = select(sum > 0.05, 0.05 + bent, select(sum < -0.05, -0.05 - bent, sum));
            (clipped * 0.5).store(x + m);
        }

        sampleloops::runBiquad<P>(r.bandPass, x, numFrames, 0.0);
        const double gain = r.amplitude * (0.26775 * 5.625);
        for (int m = 0; m < packed; m += simd::lanes)
            (P::load(x + m) * gain).store(x + m);
        return numFrames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaRimshot& r, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(r, run, x);
    }

    static int renderSse2(PulsettaRimshot& r, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(r, run, x); }
};

int PulsettaRimshot::renderModel(const VoiceRun& run, double* x)
{
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}
