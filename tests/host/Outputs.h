#pragma once
// The host's output buffers for a block, and what the test module's recording
// processor writes into them.
#include <cstddef>
#include <vector>

namespace testmodule
{
// What the recording processor writes to channel c at frame n.
inline float expectedSample(int channel, long long frame)
{
    return static_cast<float>((channel + 1) * 1000 + frame % 1000);
}

// Output buffers for a block, one per pin, filled with a marker value.
struct Outputs
{
    explicit Outputs(int frames, int pins = 12, float marker = -7.0f)
        : storage(static_cast<size_t>(pins), std::vector<float>(static_cast<size_t>(frames), marker))
    {
        for (auto& channel : storage)
            pointers.push_back(channel.data());
    }
    bool silent() const
    {
        for (const auto& channel : storage)
            for (const float sample : channel)
                if (sample != 0.0f)
                    return false;
        return true;
    }
    std::vector<std::vector<float>> storage;
    std::vector<float*> pointers;
};
} // namespace testmodule
