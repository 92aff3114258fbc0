#include "tools/ChunkFiles.h"

#include "tools/ReplaceFile.h"

#include <filesystem>
#include <fstream>

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

namespace
{
template <typename Bytes>
bool readWhole(const std::string& path, Bytes& bytes)
{
    bytes.clear();
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status))
        return false;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > maxInputFileBytes)
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.resize(static_cast<size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    return file.gcount() == static_cast<std::streamsize>(size);
}
} // namespace

bool readInputFile(const std::string& path, std::vector<uint8_t>& bytes) { return readWhole(path, bytes); }
bool readInputFile(const std::string& path, std::string& text) { return readWhole(path, text); }

bool loadChunk(PluginInstance& instance, const std::string& path, bool currentProgramOnly)
{
    std::vector<uint8_t> chunk;
    if (!readInputFile(path, chunk) || chunk.empty())
        return false;
    instance.setChunk(chunk, currentProgramOnly);
    return true;
}
} // namespace clihost
