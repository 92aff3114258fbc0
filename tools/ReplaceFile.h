#pragma once
// Writing a file so that a failed or interrupted write never leaves it half written.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace clihost
{
// A file written piece by piece to `path` + ".tmp" and renamed over `path` only by commit(). Until then, and
// after any failure, `path` stays as it was; the temporary file is removed unless committed.
class ReplacingFile
{
public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False once anything failed, opening the temporary file included.
    bool isGood() const { return static_cast<bool>(file); }
    // Appends at the end.
    bool write(const void* data, size_t size);
    // Overwrites bytes already written (a header's sizes), leaving the end where it was.
    bool writeAt(uint64_t offset, const void* data, size_t size);
    // Renames the whole file over `path`; false (and `path` untouched) when any write failed.
    bool commit();

private:
    const std::string target, temporary;
    std::ofstream file;
    bool committed = false;
};

// Writes the parts, in order, through a ReplacingFile.
bool replaceFileWith(const std::string& path, const std::vector<const std::vector<uint8_t>*>& parts);
} // namespace clihost
