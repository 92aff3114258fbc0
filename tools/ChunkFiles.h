#pragma once
// State chunks saved to and loaded from files.
#include "tools/PluginInstance.h"

#include <string>

namespace clihost
{
// Writes the instance's chunk (effGetChunk) to `path`; false when nothing could be written.
bool saveChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
// Hands the file's bytes to the instance (effSetChunk); false when the file cannot be read.
bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly = false);
} // namespace clihost
