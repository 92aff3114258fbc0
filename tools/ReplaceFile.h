#pragma once
// Writing a file so that a failed or interrupted write never leaves it half written.
#include <cstdint>
#include <string>
#include <vector>

namespace clihost
{
// Writes the parts, in order, to `path` + ".tmp", then renames that over `path`.
// On failure the temporary file is removed and `path` stays as it was.
bool replaceFileWith(const std::string& path, const std::vector<const std::vector<uint8_t>*>& parts);
} // namespace clihost
