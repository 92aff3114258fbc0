#include "voices/PulsettaSampledInstrument.h"

#include "voices/sampletables/SampleTableKey.h"
#include "voices/VoiceConstants.h"

#include <cmath>

namespace
{
using voiceconstants::velocityScale;
constexpr double attackTime = 0.000416; // s
constexpr double attackRate = 0.5;      // x k per sample
} // namespace

double cymbalTuneFactor(double onePlusValue)
{
    return std::exp(-6.30702670218395 / onePlusValue) * 19.080986484137647 + 0.7152068355371914;
}

PulsettaSampledInstrument::PulsettaSampledInstrument(const std::uint8_t* bytes, std::uint32_t byteCount)
    : PulsettaInstrument(OutputMix::lowPassDifference),
      length(bytes != nullptr ? byteCount : 0)
{
    const auto key = sampletables::makeKey();
    points.assign(length + 5, 0.0);
    for (std::uint32_t i = 0; i < length; ++i)
        points[i + 1] = static_cast<double>(bytes[i] ^ key[i % sampletables::keyLength]) / 128.0 - 1.0;

    PulsettaSampledInstrument::setSampleRate(44100.0);
}

PulsettaSampledInstrument::PulsettaSampledInstrument(const sampletables::Table& source)
    : PulsettaSampledInstrument(source.bytes, source.length)
{
}

void PulsettaSampledInstrument::setSampleRate(double sampleRate)
{
    if (! SampleRateContext::isUsableRate(sampleRate))
        return;

    PulsettaInstrument::setSampleRate(sampleRate);
    setLevel(output.levelTarget);
    playing = false;
    setChoked(false);
    envelope = 0.0;
    position = 0.0;
    envelopeRate = 0.5;
    sourceStep = sampletables::sourceRate / sampleRate;
}

void PulsettaSampledInstrument::trigger(double velocity)
{
    if (output.levelTarget == 0.0)
        return;

    startVoice();
    position = 0.0;
    playing = true;
    envelope = 0.0;
    const double scaled = velocity * velocityScale;
    amplitude = scaled * scaled;
    envelopeRate = context.smoothing * attackRate;
    attackCounter = static_cast<std::int32_t>(context.sampleRate * attackTime);
    if (attackCounter < 1) // a rate too low for a whole attack sample still gets one
        attackCounter = 1;
}


double PulsettaSampledInstrument::readInterpolated(std::int32_t n, double t)
{
    if (static_cast<std::int64_t>(n) >= static_cast<std::int64_t>(length) + 2)
    {
        playing = false;
        active = false;
        return 0.0;
    }
    if (isChoked() || n < 0)
        return 0.0;
    const double* at = points.data() + n; // y0 = the point before n
    return spline(at[0], at[1], at[2], at[3], t);
}
