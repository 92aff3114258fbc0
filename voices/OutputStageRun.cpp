#include "voices/OutputStageRun.h"

#include <cstring>

namespace
{
using Voice = OutputStageRun::Voice;

alignas(32) const double silence[OutputStageRun::maxFrames] = {};

template <class P> PULSETTA_INLINE P gather(const Voice* v, double OutputStage::* field)
{
    return P::of(v[0].stage->*field, v[1].stage->*field, v[2].stage->*field, v[3].stage->*field);
}

template <class P> PULSETTA_INLINE OutputStageLanes<P> lanesOf(const Voice* v)
{
    return { gather<P>(v, &OutputStage::lp1),       gather<P>(v, &OutputStage::lp2),
             gather<P>(v, &OutputStage::level),     gather<P>(v, &OutputStage::levelTarget),
             gather<P>(v, &OutputStage::levelRate), gather<P>(v, &OutputStage::pole),
             gather<P>(v, &OutputStage::peak),      gather<P>(v, &OutputStage::peakDecay),
             gather<P>(v, &OutputStage::lp1Weight), gather<P>(v, &OutputStage::lp2Weight) };
}

template <class P> PULSETTA_INLINE void keep(Voice* v, const OutputStageLanes<P>& lanes, P lastOutput)
{
    for (int i = 0; i < simd::lanes; ++i)
    {
        OutputStage& s = *v[i].stage;
        s.lp1 = lanes.lp1[i];
        s.lp2 = lanes.lp2[i];
        s.level = lanes.level[i];
        s.peak = lanes.peak[i];
        s.magnitude = simd::abs(lastOutput[i]);
    }
}

/** groups x 4 voices, side by side: blocks of four frames are turned so that
    a pack holds one frame of four voices, stepped frame by frame, and turned
    back into four frames of each voice. */
template <class P, int groups, bool levelsMove> PULSETTA_INLINE void renderGroups(Voice* v, const double* masterGains, int numFrames)
{
    OutputStageLanes<P> lanes[groups];
    P last[groups];
    for (int g = 0; g < groups; ++g)
    {
        lanes[g] = lanesOf<P>(v + 4 * g);
        last[g] = P::splat(0.0);
    }

    int n = 0;
    for (; n + 4 <= numFrames; n += 4)
        for (int g = 0; g < groups; ++g)
        {
            const Voice* w = v + 4 * g;
            P f0 = P::load(w[0].rawSamples + n), f1 = P::load(w[1].rawSamples + n);
            P f2 = P::load(w[2].rawSamples + n), f3 = P::load(w[3].rawSamples + n);
            simd::transpose(f0, f1, f2, f3);
            f0 = outputstage::step<P, levelsMove>(lanes[g], f0) * masterGains[n];
            f1 = outputstage::step<P, levelsMove>(lanes[g], f1) * masterGains[n + 1];
            f2 = outputstage::step<P, levelsMove>(lanes[g], f2) * masterGains[n + 2];
            last[g] = outputstage::step<P, levelsMove>(lanes[g], f3);
            f3 = last[g] * masterGains[n + 3];
            simd::transpose(f0, f1, f2, f3);
            f0.store(w[0].output + n);
            f1.store(w[1].output + n);
            f2.store(w[2].output + n);
            f3.store(w[3].output + n);
        }
    for (; n < numFrames; ++n)
        for (int g = 0; g < groups; ++g)
        {
            const Voice* w = v + 4 * g;
            const P x = P::of(w[0].rawSamples[n], w[1].rawSamples[n], w[2].rawSamples[n], w[3].rawSamples[n]);
            last[g] = outputstage::step<P, levelsMove>(lanes[g], x);
            const P y = last[g] * masterGains[n];
            for (int i = 0; i < simd::lanes; ++i)
                w[i].output[n] = y[i];
        }

    for (int g = 0; g < groups; ++g)
        keep(v + 4 * g, lanes[g], last[g]);
}

template <class P, bool levelsMove> PULSETTA_INLINE void renderVoices(Voice* v, int groups, const double* masterGains, int numFrames)
{
    if (groups == 1)
        renderGroups<P, 1, levelsMove>(v, masterGains, numFrames);
    else if (groups == 2)
        renderGroups<P, 2, levelsMove>(v, masterGains, numFrames);
    else
        renderGroups<P, 3, levelsMove>(v, masterGains, numFrames);
}

template <class P> PULSETTA_INLINE void renderVoices(Voice* v, int groups, const double* masterGains, int numFrames, bool levelsMove)
{
    if (levelsMove)
        renderVoices<P, true>(v, groups, masterGains, numFrames);
    else
        renderVoices<P, false>(v, groups, masterGains, numFrames);
}

PULSETTA_TARGET_AVX2 void renderAvx2(Voice* v, int groups, const double* masterGains, int numFrames, bool levelsMove)
{
    renderVoices<simd::Avx2Pack>(v, groups, masterGains, numFrames, levelsMove);
}

void renderSse2(Voice* v, int groups, const double* masterGains, int numFrames, bool levelsMove)
{
    renderVoices<simd::Sse2Pack>(v, groups, masterGains, numFrames, levelsMove);
}

/** Whether some voice's level would still move: one that has come to rest
    is left out of the steps, which would give it again every sample. */
bool levelsMove(const Voice* v, int count)
{
    for (int i = 0; i < count; ++i)
    {
        const auto lanes = outputstage::lanesOf(*v[i].stage);
        const double next = outputstage::nextLevel(lanes);
        if (std::memcmp(&next, &lanes.level, sizeof next) != 0)
            return true;
    }
    return false;
}
} // namespace

void OutputStageRun::add(OutputStage& stage, const double* rawSamples, double* output)
{
    voices[static_cast<std::size_t>(count++)] = { &stage, rawSamples, output };
}

void OutputStageRun::render(const double* masterGains, int numFrames, InstructionSet instructions)
{
    if (count == 0)
        return;
    const int groups = (count + simd::lanes - 1) / simd::lanes;
    // Lanes of the last group with no voice of their own: silent, at rest, never kept.
    for (int i = count; i < groups * simd::lanes; ++i)
    {
        restingStage = OutputStage();
        voices[static_cast<std::size_t>(i)] = { &restingStage, silence, discarded.data() };
    }
    const bool moving = levelsMove(voices.data(), count);
    if (instructions == InstructionSet::avx2)
        renderAvx2(voices.data(), groups, masterGains, numFrames, moving);
    else
        renderSse2(voices.data(), groups, masterGains, numFrames, moving);
}
