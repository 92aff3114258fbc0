#pragma once
// State chunks saved to and loaded from files.
#include "tools/PluginInstance.h"

#include <cstdint>
#include <string>
#include <vector>

namespace clihost
{
// Writes a chunk to `path` through a temporary file; false (and the file untouched)
// for an empty chunk or a failed write.
bool writeChunkFile(const std::vector<uint8_t>& chunk, const std::string& path);
// Writes the instance's chunk (effGetChunk) with writeChunkFile.
bool saveChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
// Hands the file's bytes to the instance (effSetChunk); false when the file cannot be
// read or is empty.
bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
} // namespace clihost
