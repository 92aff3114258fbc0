#pragma once
// 32-bit float WAV files, little-endian: plain IEEE float (format 3) for one
// or two channels, WAVE_FORMAT_EXTENSIBLE with the float sub-format and no
// speaker positions for more.
#include <string>
#include <vector>

namespace clihost
{
// Writes the channels (all of one length) at `sampleRate` Hz through a temporary file renamed
// over `path`; false (and any earlier file untouched) when it cannot be written.
bool writeWav(const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate);

// Reads a 32-bit float file of either layout (as writeWav writes them); false for anything else or a
// truncated file.
bool readWav(const std::string& path, std::vector<std::vector<float>>& channels, double& sampleRate);
} // namespace clihost
