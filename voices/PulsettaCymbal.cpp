#include "voices/PulsettaCymbal.h"

#include "voices/NormalisedValue.h"

#include <cmath>

PulsettaCymbal::PulsettaCymbal(const sampletables::Table& source, double outputGain)
    : PulsettaSampledInstrument(source),
      gain(outputGain)
{
}

void PulsettaCymbal::setControl(int controlIndex, double value)
{
    switch (controlIndex)
    {
        case tuneControl: setTune(value); break;
        case decayControl: setDecay(value); break;
        default: break;
    }
}

void PulsettaCymbal::setTune(double v)
{
    tune = normalisedValue(v);
    tuneFactor = tuneFactorFor(tune);
}

void PulsettaCymbal::setDecay(double v)
{
    decay = normalisedValue(v);
    decayFactor = decay * 0.9 + 0.1;
}

void PulsettaCymbal::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaSampledInstrument::setSampleRate(sampleRate);
    smoothedDecay = decayFactor;
    smoothedTune = tuneFactor;
    positionEnvelope = 0.0;
}

/** The envelope follows the play position: 1 at the start, falling to 0 at
    the decay factor x 32768 source samples. */
struct PulsettaCymbal::Kernel
{
    template <class P> static PULSETTA_INLINE int render(PulsettaCymbal& c, const VoiceRun& run, double* x)
    {
        using sampleloops::EnvelopeStep;
        Reads reads;
        alignas(32) double positions[maxFrames], decays[maxFrames];

        // The play position and the gliding factors, sample by sample.
        int frames = run.numFrames;
        bool ended = false;
        const auto decayGlide = EnvelopeStep::toward(c.decayFactor, c.output.levelRate);
        const auto tuneGlide = EnvelopeStep::toward(c.tuneFactor, c.output.levelRate);
        double decay = c.smoothedDecay, tune = c.smoothedTune;
        // A glide that has come to rest would give its value again every sample.
        const bool decayGlides = ! sampleloops::atRest(decay, decayGlide), tuneGlides = ! sampleloops::atRest(tune, tuneGlide);
        for (int n = 0; n < frames; ++n)
        {
            if (decayGlides)
                decay = decay * decayGlide.keep + decayGlide.push;
            if (tuneGlides)
                tune = tune * tuneGlide.keep + tuneGlide.push;
            ended = ! c.advance(tune * c.sourceStep, reads, n);
            positions[n] = c.position;
            decays[n] = decay;
            if (ended)
                frames = n + 1;
        }
        c.smoothedDecay = decay;
        c.smoothedTune = tune;
        for (int n = frames; n < sampleloops::inPacks(frames); ++n)
            positions[n] = decays[n] = 1.0;

        // The table and the envelope, four frames at a time; silence at the end.
        const int read = c.isChoked() ? 0 : (ended ? frames - 1 : frames);
        c.readRun<P>(reads, read, x);
        for (int n = read; n < frames; ++n)
            x[n] = 0.0;
        const double gain = c.gain * 4.5 * c.amplitude;
        P envelope = P::splat(0.0);
        for (int m = 0; m < frames; m += simd::lanes)
        {
            const P u = 1.0 - P::load(positions + m) / (P::load(decays + m) * fadeLength);
            // u is at most 1, and where it is not above 0 the envelope is 0 = e^0 - 1.
            envelope = (simd::expWithinRange(max(u, P::splat(0.0))) - 1.0) * 0.36787944117144233;
            (P::load(x + m) * envelope * gain).store(x + m);
        }
        c.positionEnvelope = envelope[(frames - 1) % simd::lanes];
        return frames;
    }

    static PULSETTA_TARGET_AVX2 int renderAvx2(PulsettaCymbal& c, const VoiceRun& run, double* x)
    {
        return render<simd::Avx2Pack>(c, run, x);
    }

    static int renderSse2(PulsettaCymbal& c, const VoiceRun& run, double* x) { return render<simd::Sse2Pack>(c, run, x); }
};

int PulsettaCymbal::renderModel(const VoiceRun& run, double* x)
{
    if (! playing)
        return PulsettaInstrument::renderModel(run, x);
    return run.instructions == InstructionSet::avx2 ? Kernel::renderAvx2(*this, run, x) : Kernel::renderSse2(*this, run, x);
}

PulsettaCrash::PulsettaCrash()
    : PulsettaCymbal(sampletables::crash, 0.07)
{
    setTune(0.5);
    setDecay(1.0);
    PulsettaCymbal::setSampleRate(44100.0);
}

double PulsettaCrash::tuneFactorFor(double v) const
{
    return cymbalTuneFactor(v + 1.0);
}

PulsettaRide::PulsettaRide()
    : PulsettaCymbal(sampletables::ride, 0.045)
{
    setTune(0.5);
    setDecay(1.0);
    PulsettaCymbal::setSampleRate(44100.0);
}

double PulsettaRide::tuneFactorFor(double v) const
{
    return std::exp(-6.124135471939625 / (v + 1.0)) * 17.0398005844999 + 0.7826933488566354;
}
