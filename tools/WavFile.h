#pragma once
// Multichannel 32-bit float WAV files (WAVE_FORMAT_EXTENSIBLE), little-endian.
#include <string>
#include <vector>

namespace clihost
{
// Writes the channels (all of one length) at `sampleRate` Hz; false when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate);

// Reads a file written by writeWav; false for anything else or a truncated file.
bool readWav(const std::string& path, std::vector<std::vector<float>>& channels, double& sampleRate);
} // namespace clihost
