#pragma once
// Turns the host's transport record into the position the processor reads.
#include "platform/vst/VstTimeInfo.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace host
{
// Nothing when the host gave no record or a sample rate not above 0.
juce::Optional<juce::AudioPlayHead::PositionInfo> positionFromTimeInfo(const vst::VstTimeInfo* info);

// Frame rate for a host SMPTE rate code, and its frames per second (1 for an unknown code).
juce::AudioPlayHead::FrameRate frameRateFromSmpteCode(vst::VstInt32 code, double& framesPerSecond);
} // namespace host
