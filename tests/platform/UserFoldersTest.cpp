#include "platform/UserFolders.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace
{
TEST (UserFolders, FollowsXdgConfigHomeAndIgnoresARelativeOne)
{
    const char* saved = std::getenv ("XDG_CONFIG_HOME");
    const std::string savedValue = saved != nullptr ? saved : "";

    setenv ("XDG_CONFIG_HOME", "/tmp/somewhere/", 1);
    EXPECT_EQ (platform::getUserApplicationDataFolder(), "/tmp/somewhere");

    setenv ("XDG_CONFIG_HOME", "relative/path", 1);
    EXPECT_NE (platform::getUserApplicationDataFolder(), "relative/path");
    EXPECT_EQ (platform::getUserApplicationDataFolder().front(), '/');

    if (saved != nullptr)
        setenv ("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else
        unsetenv ("XDG_CONFIG_HOME");
}

TEST (UserFolders, RedirectionWinsAndCanBeEnded)
{
    platform::redirectApplicationDataFolders ("/tmp/pulsetta-test/");
    EXPECT_EQ (platform::getUserApplicationDataFolder(), "/tmp/pulsetta-test");
    EXPECT_EQ (platform::getCommonApplicationDataFolder(), "/tmp/pulsetta-test/common");

    platform::redirectApplicationDataFolders ("");
    EXPECT_NE (platform::getUserApplicationDataFolder(), "/tmp/pulsetta-test");
}
} // namespace
