#include "framework/core/ResourceImages.h"
#include "framework/core/ResourceLoader.h"

#include <gtest/gtest.h>

TEST (ResourceLoader, FindsEmbeddedFilesByFileLikeName)
{
    auto data = loadResourceData ("parameters.xml");
    ASSERT_NE (data, nullptr);
    EXPECT_GT (data->getSize(), 1000u);

    auto upper = loadResourceData ("PARAMETERS.XML");
    ASSERT_NE (upper, nullptr);
    EXPECT_EQ (*upper, *data);

    const auto text = getResourceAsString ("events.xml");
    EXPECT_TRUE (text.contains ("Tap Accent Accented"));
    EXPECT_EQ (text.length(), static_cast<int> (loadResourceData ("events.xml")->getSize()));
}

TEST (ResourceLoader, MissingOrMalformedNamesFindNothing)
{
    for (auto* name : { "", "parameters", ".xml", "parameters.png", "nothing.xml", "parameters.xml.bak" })
    {
        EXPECT_EQ (loadResourceData (name), nullptr) << name;
        EXPECT_EQ (getResourceAsString (name), juce::String()) << name;
        EXPECT_FALSE (getResourceAsImage (name).isValid()) << name;
    }
}

TEST (ResourceLoader, TextIsNoImage)
{
    EXPECT_FALSE (getResourceAsImage ("parameters.xml").isValid());
}
