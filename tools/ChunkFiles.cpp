#include "tools/ChunkFiles.h"

#include "tools/ReplaceFile.h"

#include <fstream>
#include <iterator>

namespace clihost
{
bool writeChunkFile(const std::vector<uint8_t>& chunk, const std::string& path)
{
    // An empty answer is no state: writing it would destroy the file (which may be
    // the very file the state was loaded from).
    if (chunk.empty())
        return false;
    return replaceFileWith(path, { &chunk });
}

bool saveChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly)
{
    return writeChunkFile(instance.getChunk(currentProgramOnly), path);
}

bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::vector<uint8_t> chunk((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (chunk.empty())
        return false;
    instance.setChunk(chunk, currentProgramOnly);
    return true;
}
} // namespace clihost
