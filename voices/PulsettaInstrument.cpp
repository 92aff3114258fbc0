#include "voices/PulsettaInstrument.h"

#include "voices/VoiceConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr double startPeak = 0.01;

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

PulsettaInstrument::PulsettaInstrument(OutputMix mix)
{
    switch (mix)
    {
        case OutputMix::boostedLowPass: output.lp2Weight = 5.0; break;                                   // 5 lp2 + x
        case OutputMix::lowPassDifference: output.lp1Weight = 1.0; output.lp2Weight = -10.0; break; // lp1 - 10 lp2 + x
        case OutputMix::strongLowPass: output.lp1Weight = 100.0; break;                                  // 100 lp1 + x
    }
    PulsettaInstrument::setSampleRate(44100.0);
}

int PulsettaInstrument::renderModel(const VoiceRun& run, double* x)
{
    for (int n = 0; n < run.numFrames; ++n)
        x[n] = 0.0;
    return run.numFrames;
}

void PulsettaInstrument::trigger(double)
{
    startVoice();
}

void PulsettaInstrument::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    context.setSampleRate(sampleRate);
    active = false;
    settled = false;
    output.pole = std::exp(-2.0 * voiceconstants::pi / sampleRate);
    output.lp1 = output.lp2 = 0.0;
    output.levelRate = context.smoothing * 0.002;
    output.peakDecay = context.smoothing * 0.0002;

    // The peak falls by at most a factor (1 - decay) and the 1e-20 offset per
    // sample (each rounding moves it by less than a part in 1e15): from here
    // it stays above the switch-off level for maxRunFrames samples, with room.
    const double fall = std::pow(1.0 - output.peakDecay, static_cast<double>(maxRunFrames));
    safePeak = (OutputStage::switchOffPeak + maxRunFrames * 2e-20) / fall * (1.0 + 1e-9);
    peakFallPerFrame = std::log((1.0 - output.peakDecay) * (1.0 - 1e-12));
}

void PulsettaInstrument::setLevel(double newLevel)
{
    output.levelTarget = newLevel;
    settled = false;
}

void PulsettaInstrument::setControl(int, double)
{
}

double PulsettaInstrument::processWithNoise(double noise)
{
    double x[simd::lanes] = {};
    const double noises[simd::lanes] = { noise };
    if (active)
        renderModel({ noises, 1, instructions }, x);
    auto lanes = outputstage::lanesOf(output);
    const double y = outputstage::step(lanes, x[0]);
    outputstage::keep(output, lanes, y);
    switchOffWhenFaded();
    settled = false;
    return y;
}

int PulsettaInstrument::framesBeforeItCanFade() const
{
    if (output.peak >= safePeak)
        return maxRunFrames;
    const double lowest = (OutputStage::switchOffPeak + maxRunFrames * 2e-20) * (1.0 + 1e-9);
    if (! (output.peak > lowest))
        return 0;
    return std::min(maxRunFrames, static_cast<int>(std::log(lowest / output.peak) / peakFallPerFrame));
}

void PulsettaInstrument::renderOutputStage(const double* x, const double* masterGains, double* out, int numFrames)
{
    auto lanes = outputstage::lanesOf(output);
    double y = output.magnitude;
    for (int n = 0; n < numFrames; ++n)
    {
        y = outputstage::step(lanes, x[n]);
        out[n] = y * masterGains[n];
    }
    outputstage::keep(output, lanes, y);
    settled = false;
}

void PulsettaInstrument::switchOffWhenFaded()
{
    if (output.peak < OutputStage::switchOffPeak)
        active = false;
}

void PulsettaInstrument::checkSettled()
{
    if (active || settled)
        return;
    auto lanes = outputstage::lanesOf(output);
    const double y = outputstage::step(lanes, 0.0);
    settled = sameBits(lanes.lp1, output.lp1) && sameBits(lanes.lp2, output.lp2) && sameBits(lanes.level, output.level)
              && sameBits(lanes.peak, output.peak) && sameBits(simd::abs(y), output.magnitude);
    settledOutput = y;
}

void PulsettaInstrument::startVoice()
{
    active = true;
    settled = false;
    output.peak = startPeak;
}
