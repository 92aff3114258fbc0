#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testing_support
{
// A fresh folder where a module loaded into this process keeps its user
// settings (it finds them under XDG_CONFIG_HOME) while this lives; then the
// variable is unset and the folder goes with everything in it. The folder's
// name is made unique by mkdtemp, so test programs running side by side
// never share one.
class TemporarySettingsHome
{
public:
    explicit TemporarySettingsHome (const std::string& prefix) : folder (makeFolder (prefix))
    {
        ::setenv ("XDG_CONFIG_HOME", folder.c_str(), 1);
    }

    ~TemporarySettingsHome()
    {
        ::unsetenv ("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all (folder, ignored);
    }

    TemporarySettingsHome (const TemporarySettingsHome&) = delete;
    TemporarySettingsHome& operator= (const TemporarySettingsHome&) = delete;

    const std::filesystem::path folder;

private:
    static std::filesystem::path makeFolder (const std::string& prefix)
    {
        auto pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (::mkdtemp (pattern.data()) == nullptr)
            throw std::runtime_error ("could not make a temporary folder like " + pattern);
        return pattern;
    }
};
} // namespace testing_support
