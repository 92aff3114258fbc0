#include "tools/ReplaceFile.h"

#include <cstdio>

namespace clihost
{
ReplacingFile::ReplacingFile(std::string path)
    : target(std::move(path)), temporary(target + ".tmp"), file(temporary, std::ios::binary | std::ios::trunc)
{
}

ReplacingFile::~ReplacingFile()
{
    if (committed)
        return;
    file.close();
    std::remove(temporary.c_str());
}

bool ReplacingFile::write(const void* data, size_t size)
{
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return isGood();
}

bool ReplacingFile::writeAt(uint64_t offset, const void* data, size_t size)
{
    const auto end = file.tellp();
    file.seekp(static_cast<std::streamoff>(offset));
    write(data, size);
    file.seekp(end);
    return isGood();
}

bool ReplacingFile::commit()
{
    if (committed || !file.is_open())
        return false;
    file.flush();
    const bool written = isGood();
    file.close();
    committed = written && !file.fail() && std::rename(temporary.c_str(), target.c_str()) == 0;
    return committed;
}

bool replaceFileWith(const std::string& path, const std::vector<const std::vector<uint8_t>*>& parts)
{
    ReplacingFile file(path);
    for (const auto* part : parts)
        file.write(part->data(), part->size());
    return file.commit();
}
} // namespace clihost
