#pragma once
// A folder of this test process under the system's temp folder, removed with everything in it.
#include <filesystem>
#include <string>
#include <unistd.h>

struct TempFolder
{
    explicit TempFolder(const std::string& prefix)
        : path(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};
