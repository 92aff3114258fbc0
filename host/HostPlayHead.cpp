#include "host/HostPlayHead.h"

#include <algorithm>

namespace host
{
using namespace vst;
using FrameRate = juce::AudioPlayHead::FrameRate;

FrameRate frameRateFromSmpteCode(VstInt32 code, double& framesPerSecond)
{
    // The film and the odd video codes have no frame-rate kind of their own; they keep their
    // effective rate (a pulled-down base rate runs at base / 1.001).
    switch (code)
    {
    case kVstSmpte24fps: framesPerSecond = 24.0; return FrameRate().withBaseRate(24);
    case kVstSmpte25fps: framesPerSecond = 25.0; return FrameRate().withBaseRate(25);
    case kVstSmpte2997fps: framesPerSecond = 29.97; return FrameRate().withBaseRate(30).withPullDown();
    case kVstSmpte30fps: framesPerSecond = 30.0; return FrameRate().withBaseRate(30);
    case kVstSmpte2997dfps: framesPerSecond = 29.97; return FrameRate().withBaseRate(30).withPullDown().withDrop();
    case kVstSmpte30dfps: framesPerSecond = 30.0; return FrameRate().withBaseRate(30).withDrop();
    case kVstSmpteFilm16mm:
    case kVstSmpteFilm35mm: framesPerSecond = 24.0; return FrameRate().withBaseRate(24);
    case kVstSmpte239fps: framesPerSecond = 23.976; return FrameRate().withBaseRate(24).withPullDown();
    case kVstSmpte249fps: framesPerSecond = 24.976; return FrameRate().withBaseRate(25).withPullDown();
    case kVstSmpte599fps: framesPerSecond = 59.94; return FrameRate().withBaseRate(60).withPullDown();
    case kVstSmpte60fps: framesPerSecond = 60.0; return FrameRate().withBaseRate(60);
    default: framesPerSecond = 1.0; return FrameRate().withBaseRate(1);
    }
}

namespace
{
// The host's sample position as a whole frame: NaN is frame 0, and a position past the int64 range stays at
// its end instead of being an undefined conversion.
int64_t frameOf(double samplePos)
{
    constexpr double limit = 9.0e18;
    if (!(samplePos == samplePos))
        return 0;
    return static_cast<int64_t>(std::clamp(samplePos + 0.5, -limit, limit));
}
} // namespace

juce::Optional<juce::AudioPlayHead::PositionInfo> positionFromTimeInfo(const VstTimeInfo* info)
{
    if (info == nullptr || !(info->sampleRate > 0.0))
        return {};

    juce::AudioPlayHead::PositionInfo position;
    const auto has = [info](VstInt32 flag) { return (info->flags & flag) != 0; };

    position.setBpm(has(kVstTempoValid) ? info->tempo : 0.0);
    if (has(kVstTimeSigValid))
        position.setTimeSignature(juce::AudioPlayHead::TimeSignature { info->timeSigNumerator,
                                                                       info->timeSigDenominator });
    else
        position.setTimeSignature(juce::AudioPlayHead::TimeSignature { 4, 4 });

    position.setTimeInSamples(frameOf(info->samplePos));
    position.setTimeInSeconds(info->samplePos / info->sampleRate);
    position.setPpqPosition(has(kVstPpqPosValid) ? info->ppqPos : 0.0);
    position.setPpqPositionOfLastBarStart(has(kVstBarsValid) ? info->barStartPos : 0.0);

    if (has(kVstSmpteValid))
    {
        double framesPerSecond = 1.0;
        position.setFrameRate(frameRateFromSmpteCode(info->smpteFrameRate, framesPerSecond));
        // The SMPTE offset counts 1/80 of a frame.
        position.setEditOriginTime(info->smpteOffset / (framesPerSecond * 80.0));
    }
    else
    {
        position.setEditOriginTime(0.0);
    }

    position.setIsRecording(has(kVstTransportRecording));
    position.setIsPlaying(has(kVstTransportPlaying) || has(kVstTransportRecording));
    position.setIsLooping(has(kVstTransportCycleActive));
    if (has(kVstCyclePosValid))
        position.setLoopPoints(juce::AudioPlayHead::LoopPoints { info->cycleStartPos, info->cycleEndPos });
    else
        position.setLoopPoints(juce::AudioPlayHead::LoopPoints { 0.0, 0.0 });
    return position;
}
} // namespace host
