#include "framework/core/ResourceImages.h"
#include "framework/core/ResourceLoader.h"

#include <gtest/gtest.h>

TEST (ResourceLoader, FindsEmbeddedFilesByFileLikeNameWithoutRegardToCase)
{
    auto data = loadResourceData ("parameters.xml");
    ASSERT_NE (data, nullptr);
    auto upper = loadResourceData ("PARAMETERS.XML");
    ASSERT_NE (upper, nullptr);
    EXPECT_EQ (*upper, *data);
    EXPECT_TRUE (getResourceAsString ("events.xml").contains ("Tap Accent Accented"));
    EXPECT_FALSE (getResourceAsImage ("parameters.xml").isValid()) << "text is no image";

    for (auto* name : { "", "parameters", ".xml", "parameters.png", "nothing.xml", "parameters.xml.bak" })
    {
        EXPECT_EQ (loadResourceData (name), nullptr) << name;
        EXPECT_EQ (getResourceAsString (name), juce::String()) << name;
        EXPECT_FALSE (getResourceAsImage (name).isValid()) << name;
    }
}
