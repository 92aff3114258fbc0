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
    EXPECT_EQ (tags.getTagName (1), juce::String ("bpm"));
    EXPECT_EQ (tags.getValues (1), (juce::StringArray { "120" }));
    EXPECT_EQ (tags.toString(), juce::String ("style:dark|hard;bpm:120"));
    EXPECT_EQ (tags.getValues (5), juce::StringArray());
}

TEST (PresetTags, TokenWithoutColonIsOneNamelessValue)
{
    PresetTags tags;
    tags.parse ("loud|fast;kind:kick");

    ASSERT_EQ (tags.getNumTags(), 2);
    EXPECT_EQ (tags.getTagName (0), juce::String());
    EXPECT_EQ (tags.getValues (0), (juce::StringArray { "loud|fast" }));
    EXPECT_EQ (tags.toString(), juce::String (":loud|fast;kind:kick"));
}

TEST (PresetTags, EmptyTokensAndCopies)
{
    PresetTags tags;
    tags.parse ("a:1;;b:");
    EXPECT_EQ (tags.getValues (0), (juce::StringArray { "1" }));
    ASSERT_EQ (tags.getNumTags(), 3);
    EXPECT_EQ (tags.getValues (1), (juce::StringArray { "" }));
    EXPECT_EQ (tags.getTagName (2), juce::String ("b"));
    EXPECT_TRUE (tags.getValues (2).isEmpty());
    EXPECT_EQ (tags.toString(), juce::String ("a:1;:;b:")) << "the empty middle token is kept";

    PresetTags copy (tags);
    tags.parse ("x:y");
    EXPECT_EQ (copy.getNumTags(), 3);
    EXPECT_EQ (copy.getTagName (2), juce::String ("b"));

    copy = tags;
    EXPECT_EQ (copy.toString(), juce::String ("x:y"));
    copy = copy;
    EXPECT_EQ (copy.toString(), juce::String ("x:y"));

    copy.clearValues();
    EXPECT_EQ (copy.getNumTags(), 0);
    tags.parse ("");
    EXPECT_EQ (tags.getNumTags(), 0);
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
    EXPECT_EQ (compareNatural ("", ""), 0);
}
