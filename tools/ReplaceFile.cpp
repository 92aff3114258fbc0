#include "tools/ReplaceFile.h"

#include <cstdio>
#include <fstream>

namespace clihost
{
bool replaceFileWith(const std::string& path, const std::vector<const std::vector<uint8_t>*>& parts)
{
    const std::string temporary = path + ".tmp";
    bool written = false;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        for (const auto* part : parts)
            file.write(reinterpret_cast<const char*>(part->data()), static_cast<std::streamsize>(part->size()));
        file.flush();
        written = static_cast<bool>(file);
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
} // namespace clihost
