#pragma once
// State chunks saved to and loaded from files.
#include "tools/PluginInstance.h"

#include <cstdint>
#include <string>
#include <vector>

namespace clihost
{
// Far above any chunk or script we write.
constexpr uint64_t maxInputFileBytes = 64u * 1024 * 1024;

// The bytes of a file the command line names; false for anything but a regular file (a device or a FIFO
// would never end or block), for a file larger than maxInputFileBytes, or when it cannot be read.
bool readInputFile(const std::string& path, std::vector<uint8_t>& bytes);
bool readInputFile(const std::string& path, std::string& text);

// Writes a chunk to `path` through a temporary file; false (and the file untouched)
// for an empty chunk or a failed write.
bool writeChunkFile(const std::vector<uint8_t>& chunk, const std::string& path);
// Writes the instance's chunk (effGetChunk) with writeChunkFile.
bool saveChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
// Hands the file's bytes to the instance (effSetChunk); false when readInputFile refuses
// the file or it is empty.
bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
} // namespace clihost
