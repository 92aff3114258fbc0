#include "tools/ChunkFiles.h"

#include <fstream>
#include <iterator>

namespace clihost
{
bool saveChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly)
{
    const auto chunk = instance.getChunk(currentProgramOnly);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    return static_cast<bool>(file.flush());
}

bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::vector<uint8_t> chunk((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    instance.setChunk(chunk, currentProgramOnly);
    return true;
}
} // namespace clihost
