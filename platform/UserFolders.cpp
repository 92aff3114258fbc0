#include "platform/UserFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform
{
namespace
{
std::string& redirectedFolder()
{
    static std::string folder;
    return folder;
}

std::string homeFolder()
{
    if (const char* home = std::getenv ("HOME"); home != nullptr && *home != '\0')
        return home;

    if (const passwd* entry = getpwuid (getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;

    return "/tmp";
}

std::string withoutTrailingSlash (std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
} // namespace

std::string getUserApplicationDataFolder()
{
    if (! redirectedFolder().empty())
        return redirectedFolder();

    // The XDG base-directory rule says a relative XDG_CONFIG_HOME is invalid.
    if (const char* config = std::getenv ("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
        return withoutTrailingSlash (config);

    return withoutTrailingSlash (homeFolder()) + "/.config";
}

std::string getCommonApplicationDataFolder()
{
    if (! redirectedFolder().empty())
        return redirectedFolder() + "/common";

    return "/usr/local/share";
}

void redirectApplicationDataFolders (const std::string& folder)
{
    redirectedFolder() = withoutTrailingSlash (folder);
}
} // namespace platform
