#include "voices/PulsettaHiHat.h"

#include "voices/NormalisedValue.h"

#include <algorithm>

PulsettaHiHat::PulsettaHiHat(const sampletables::Table& source, const Character& characterToUse)
    : PulsettaSampledInstrument(source),
      character(characterToUse)
{
    setTune(tune);
}

void PulsettaHiHat::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaHiHat::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = cymbalTuneFactor(static_cast<double>(static_cast<float>(tune) + 1.0f));
}

void PulsettaHiHat::setDecay(double v)
{
    // A sounding hat keeps the decay it took when its attack ended; the new
    // one sounds from the next hit.
    decay = normalisedValue(v);
    decayRate = character.decayCurve(decay) * context.smoothing;
}

void PulsettaHiHat::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    setDecay(decay);
    envelopeRate = 0.5;
    smoothedTune = tuneFactor;
}

/** A short rise to the velocity's amplitude, then a fall toward 0 at the
    decay rate taken when the rise ends. */
struct PulsettaHiHat::Kernel
{
    template <class P> static PULSETTA_INLINE int render(PulsettaHiHat& h, const VoiceRun& run, double* x)
    {
        using sampleloops::EnvelopeStep;
        Reads reads;
        alignas(32) double envelopes[maxFrames];

        // The play position and the envelope, sample by sample.
        int frames = run.numFrames;
        bool ended = false;
        int silentFrom = h.isChoked() ? 0 : frames;
        auto step = EnvelopeStep::toward(h.amplitude, h.envelopeRate);
        const auto glide = EnvelopeStep::toward(h.tuneFactor, h.output.levelRate);
        double envelope = h.envelope, tune = h.smoothedTune;
        const bool glides = h.character.glidingTune && ! sampleloops::atRest(tune, glide);
        for (int n = 0; n < frames; ++n)
        {
            if (glides)
                tune = tune * glide.keep + glide.push;
            ended = ! h.advance((h.character.glidingTune ? tune : h.tuneFactor) * h.sourceStep, reads, n);
            if (silentFrom > n && h.position >= h.character.silentFrom)
            {
                h.setChoked(true);
                silentFrom = n;
            }
            if (h.attackCounter > 0 && --h.attackCounter == 0)
            {
                h.amplitude = 0.0;
                h.envelopeRate = h.decayRate;
                step = EnvelopeStep::toward(0.0, h.envelopeRate);
            }
            envelopes[n] = envelope = envelope * step.keep + step.push;
            if (ended)
                frames = n + 1;
        }
        h.envelope = envelope;
        h.smoothedTune = tune;

        // The table, four frames at a time; silence from a choke and at the end.
        const int read = std::min(ended ? frames - 1 : frames, silentFrom);
        h.readRun<P>(reads, read, x);
        for (int n = read; n < frames; ++n)
            x[n] = 0.0;
        const double gain = h.character.gain * 4.5;
        for (int n = 0; n < frames; ++n)
            x[n] = x[n] * envelopes[n] * gain;
        return frames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaHiHat& h, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(h, run, x);
    }

    static int renderSse2(PulsettaHiHat& h, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(h, run, x); }
};

int PulsettaHiHat::renderModel(const VoiceRun& run, double* x)
{
    if (! playing)
        return PulsettaInstrument::renderModel(run, x);
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}
