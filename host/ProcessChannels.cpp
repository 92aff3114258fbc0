#include "host/ProcessChannels.h"

#include <algorithm>
#include <cstring>

namespace host
{
void ProcessChannels::prepare(int inputs, int outputs, int frames)
{
    numInputs = std::max(0, inputs);
    numOutputs = std::max(0, outputs);
    maxFrames = std::max(1, frames);
    const auto channels = static_cast<size_t>(std::max(numInputs, numOutputs));
    pointers.assign(channels, nullptr);
    privateSlots.assign(channels, std::vector<float>(static_cast<size_t>(maxFrames), 0.0f));
    routes.assign(static_cast<size_t>(numOutputs), Route::host);
}

void ProcessChannels::release()
{
    pointers.clear();
    privateSlots.clear();
    routes.clear();
    maxFrames = 0;
}

juce::AudioBuffer<float> ProcessChannels::setUp(float* const* inputs, float* const* outputs, int offset,
                                                int frames) noexcept
{
    const auto bytes = static_cast<size_t>(frames) * sizeof(float);
    for (int i = 0; i < numOutputs; ++i)
    {
        const auto slot = static_cast<size_t>(i);
        float* host = outputs != nullptr ? outputs[i] : nullptr;
        Route route = host == nullptr ? Route::privateDiscard : Route::host;
        for (int earlier = 0; route == Route::host && earlier < i; ++earlier)
            if (outputs[earlier] == host)
                route = Route::privateCopyBack;
        routes[slot] = route;
        float* chosen = route == Route::host ? host + offset : privateSlots[slot].data();

        if (i < numInputs)
        {
            const float* input = inputs != nullptr && inputs[i] != nullptr ? inputs[i] + offset : nullptr;
            if (input == nullptr)
                std::memset(chosen, 0, bytes);
            else if (input != chosen)
                std::memmove(chosen, input, bytes);
        }
        pointers[slot] = chosen;
    }
    // Channels beyond the outputs carry the inputs as they are.
    for (int i = numOutputs; i < numInputs; ++i)
    {
        const auto slot = static_cast<size_t>(i);
        float* input = inputs != nullptr ? inputs[i] : nullptr;
        if (input != nullptr)
            pointers[slot] = input + offset;
        else
        {
            std::memset(privateSlots[slot].data(), 0, bytes);
            pointers[slot] = privateSlots[slot].data();
        }
    }
    return juce::AudioBuffer<float>(pointers.data(), static_cast<int>(pointers.size()), frames);
}

void ProcessChannels::clearOutputsWithoutInput(juce::AudioBuffer<float>& buffer) noexcept
{
    for (int i = numInputs; i < numOutputs; ++i)
        buffer.clear(i, 0, buffer.getNumSamples());
}

void ProcessChannels::copyBack(float* const* outputs, int offset, int frames) noexcept
{
    for (int i = 0; i < numOutputs; ++i)
        if (routes[static_cast<size_t>(i)] == Route::privateCopyBack)
            std::memcpy(outputs[i] + offset, privateSlots[static_cast<size_t>(i)].data(),
                        static_cast<size_t>(frames) * sizeof(float));
}

void ProcessChannels::clearHostOutputs(float* const* outputs, int frames) const noexcept
{
    if (outputs == nullptr)
        return;
    for (int i = 0; i < numOutputs; ++i)
        if (outputs[i] != nullptr)
            std::memset(outputs[i], 0, static_cast<size_t>(frames) * sizeof(float));
}
} // namespace host
