#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"

#include <gtest/gtest.h>

TEST (TextNumbers, NonFiniteTextReadsAsZeroAndConversionsSaturate)
{
    // An exponent past the int range overflowed JUCE's own reader.
    for (auto* text : { "nan", "NaN", "inf", "-inf", "infinity", "1e999", "1e99999999999", "-1e2147483648", "abc", "" })
        EXPECT_EQ (parseFiniteDouble (text), 0.0) << text;
    EXPECT_DOUBLE_EQ (parseFiniteDouble (" -3.5xyz"), -3.5);
    EXPECT_DOUBLE_EQ (parseFiniteDouble ("1e-99999999999"), 0.0);
    EXPECT_DOUBLE_EQ (parseFiniteDouble ("2.5e2"), 250.0);

    const std::pair<const char*, int> leading[] = { { "42abc", 42 }, { "  -7", -7 }, { "+5", 5 }, { "x12", 0 }, { "", 0 },
                                                    { "99999999999999999999", std::numeric_limits<int>::max() },
                                                    { "-99999999999999999999", std::numeric_limits<int>::min() } };
    for (auto& [text, value] : leading)
        EXPECT_EQ (parseLeadingInt (text), value) << text;

    EXPECT_EQ (truncateToInt (-2.9), -2);
    EXPECT_EQ (truncateToInt (1e30), std::numeric_limits<int>::max());
    EXPECT_EQ (truncateToInt (std::nan ("")), 0);
    EXPECT_EQ (toFiniteFloat (1e300), std::numeric_limits<float>::max());
    EXPECT_EQ (toFiniteFloat (std::nan ("")), 0.0f);
}

TEST (XmlTags, TagsCompareWithoutCase)
{
    auto root = juce::parseXML ("<pluginparameters><PARAM/><Other/><param/></pluginparameters>");
    ASSERT_NE (root, nullptr);

    EXPECT_TRUE (tagIs (root.get(), "PluginParameters"));
    EXPECT_FALSE (tagIs (root.get(), "PluginParameter"));
    EXPECT_FALSE (tagIs (nullptr, "PluginParameters"));
    ASSERT_NE (findChildWithTag (root.get(), "param"), nullptr);
    EXPECT_EQ (findChildWithTag (root.get(), "param")->getTagName(), juce::String ("PARAM"));
    EXPECT_EQ (findChildWithTag (root.get(), "missing"), nullptr);
    EXPECT_EQ (findChildWithTag (nullptr, "param"), nullptr);
}
