#pragma once
// 32-bit float WAV files, little-endian: plain IEEE float (format 3) for one
// or two channels, WAVE_FORMAT_EXTENSIBLE with the float sub-format and no
// speaker positions for more.
#include "tools/ReplaceFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace clihost
{
// A WAV file written as the frames come, so its size costs no memory: the header goes first with its
// sizes open, the frames follow, and finish() fills in the sizes and renames the file over `path`.
class WavWriter
{
public:
    WavWriter(const std::string& path, size_t numChannels, double sampleRate);

    // False when the file cannot be started (no channel, more than 65535, no rate, no temporary file)
    // or once a write failed.
    bool isGood() const;
    // Appends `frames` frames, one pointer per channel; false when the data would pass what a WAV file
    // can hold (4 GB) or the write fails.
    bool append(const float* const* channels, size_t frames);
    // False (and any earlier file at `path` untouched) when anything failed.
    bool finish();

    // The most frames a WAV file of `numChannels` channels can hold.
    static uint64_t maxFrames(size_t numChannels);

private:
    std::optional<ReplacingFile> file; // none when the format cannot be written
    const size_t numChannels;
    uint64_t frames = 0;
    size_t headerBytes = 0, factFramesAt = 0; // where the header's sizes go
    std::vector<uint8_t> interleaved;         // one slice of frames at a time
};

// Writes the channels (all of one length) at `sampleRate` Hz through a temporary file renamed
// over `path`; false (and any earlier file untouched) when it cannot be written.
bool writeWav(const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate);

// Reads a 32-bit float file of either layout (as writeWav writes them); false for anything else or a
// truncated file.
bool readWav(const std::string& path, std::vector<std::vector<float>>& channels, double& sampleRate);
} // namespace clihost
