#include "platform/EmbeddedResources.h"

#include <gtest/gtest.h>

namespace
{
TEST (EmbeddedResources, EveryListedResourceIsFoundByFileNameAndByNameAndType)
{
    for (std::size_t i = 0; i < platform::getNumResources(); ++i)
    {
        const auto fileName = platform::getResourceFileName (i);
        const auto dot = fileName.rfind ('.');
        ASSERT_NE (dot, std::string_view::npos) << fileName;

        const auto byFileName = platform::findResource (fileName);
        const auto byNameAndType = platform::findResource (fileName.substr (0, dot), fileName.substr (dot + 1));
        ASSERT_TRUE (byFileName) << fileName;
        EXPECT_EQ (byFileName.data, byNameAndType.data) << fileName;
        EXPECT_EQ (byFileName.data[byFileName.size], 0) << "text resources end in a zero byte";
    }
}

TEST (EmbeddedResources, LookUpIgnoresCase)
{
    if (platform::getNumResources() == 0)
        GTEST_SKIP() << "no resources embedded yet";

    std::string upper (platform::getResourceFileName (0));
    for (auto& c : upper)
        c = static_cast<char> (std::toupper (static_cast<unsigned char> (c)));

    EXPECT_EQ (platform::findResource (upper).data, platform::findResource (platform::getResourceFileName (0)).data);
}

TEST (EmbeddedResources, UnknownNamesGiveAnEmptyResource)
{
    EXPECT_FALSE (platform::findResource ("no-such-resource.xml"));
    EXPECT_FALSE (platform::findResource ("", ""));
    EXPECT_FALSE (platform::findResource ("parameters", ""));
    EXPECT_TRUE (platform::getResourceFileName (platform::getNumResources()).empty());
}
} // namespace
