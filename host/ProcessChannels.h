#pragma once
// Builds the processor's channel buffer over the host's channel pointers for
// one slice of a block, without copying where the host's buffers can be used
// as they are. An output whose host buffer is missing, or is the same as an
// earlier output's, is rendered into a private buffer of this slot; an aliased
// one is copied back after the processor ran, so the later channel wins.
// Private buffers hold the prepared number of frames: callers render longer
// blocks in slices of at most getMaxFrames().
#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

namespace host
{
class ProcessChannels
{
public:
    // Message thread (resume): allocates everything the audio thread will use.
    void prepare(int numInputs, int numOutputs, int maxFrames);
    void release();
    int getMaxFrames() const noexcept { return maxFrames; }

    // Host's audio thread. Frames [offset, offset + frames) of the host's buffers, frames <= getMaxFrames().
    juce::AudioBuffer<float> setUp(float* const* inputs, float* const* outputs, int offset, int frames) noexcept;
    // Host's audio thread: clears the outputs that carry no input (after setUp, before a bypassed block).
    void clearOutputsWithoutInput(juce::AudioBuffer<float>& buffer) noexcept;
    // Host's audio thread: copies the private buffers of aliased outputs to the host's output.
    void copyBack(float* const* outputs, int offset, int frames) noexcept;
    // Host's audio thread: zeros every host output.
    void clearHostOutputs(float* const* outputs, int frames) const noexcept;

private:
    enum class Route : unsigned char { host, privateCopyBack, privateDiscard };

    int numInputs = 0, numOutputs = 0, maxFrames = 0;
    std::vector<float*> pointers;                 // one per channel of the processor's buffer
    std::vector<std::vector<float>> privateSlots; // one per channel, maxFrames each
    std::vector<Route> routes;                    // one per output
};
} // namespace host
