#include "framework/core/NaturalOrder.h"
#include "framework/core/PresetTags.h"

#include <gtest/gtest.h>

TEST (PresetTags, ParseAndWriteBack)
{
    PresetTags tags;
    tags.parse ("style:dark|hard;bpm:120");
    ASSERT_EQ (tags.getNumTags(), 2);
    EXPECT_EQ (tags.getTagName (0), juce::String ("style"));
    EXPECT_EQ (tags.getValues (0), (juce::StringArray { "dark", "hard" }));
    EXPECT_EQ (tags.getValues (5), juce::StringArray());

    // A token without ":" is one nameless value; empty tokens are kept.
    const std::pair<const char*, const char*> written[] = {
        { "style:dark|hard;bpm:120", "style:dark|hard;bpm:120" },
        { "loud|fast;kind:kick", ":loud|fast;kind:kick" },
        { "a:1;;b:", "a:1;:;b:" },
        { "", "" },
    };
    for (auto& [text, expected] : written)
    {
        tags.parse (text);
        EXPECT_EQ (tags.toString(), juce::String (expected)) << text;
    }

    tags.parse ("loud|fast;kind:kick");
    EXPECT_EQ (tags.getValues (0), (juce::StringArray { "loud|fast" }));

    PresetTags copy (tags);
    tags.parse ("x:y");
    EXPECT_EQ (copy.getTagName (1), juce::String ("kind"));
    const auto& same = copy;
    copy = same;
    EXPECT_EQ (copy.getNumTags(), 2);
    copy.clearValues();
    EXPECT_EQ (copy.getNumTags(), 0);
}

TEST (NaturalOrder, DigitRunsCompareByValue)
{
    const std::pair<const char*, const char*> ascending[] = {
        { "Kit 2", "Kit 10" }, { "Kit", "Kit 1" }, { "", "a" }, { "a9b", "a10a" }, { "A", "a" },
        { "x1y2", "x1y10" }, { "7", "007" }, { "007", "8" },
        { "Preset 99999999999999999999998", "Preset 99999999999999999999999" },
        { "Kit \xc3\xa4", "Kit \xc3\xb6" },
    };

    for (auto& [a, b] : ascending)
    {
        const auto first = juce::String::fromUTF8 (a), second = juce::String::fromUTF8 (b);
        EXPECT_LT (compareNatural (first, second), 0) << a << " / " << b;
        EXPECT_GT (compareNatural (second, first), 0) << a << " / " << b;
    }

    EXPECT_EQ (compareNatural ("Kit 10", "Kit 10"), 0);
}
