#include <gtest/gtest.h>

#include <limits>

#include "drummachine/sequencer/Pattern.h"
#include "SequencerTestSupport.h"

// Each field's clamping, one table: the given value and what each setter stores.
TEST (Pattern, FieldsAreClampedIntoRange)
{
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const struct { int given, length, scale; } integers[] = {
        { 0, 1, 4 }, { -5, 1, 4 }, { 3, 3, 3 }, { 5, 5, 4 }, { 6, 6, 6 }, { 8, 8, 8 }, { 16, 16, 4 }, { 17, 16, 4 }, { 1000, 16, 4 },
    };
    for (const auto& c : integers)
    {
        Pattern pattern;
        pattern.setLength (c.given);
        pattern.setScale (c.given);
        EXPECT_EQ (pattern.getLength(), c.length) << c.given;
        EXPECT_EQ (pattern.getScale(), c.scale) << c.given;
    }
    // Tempo is rounded to a tenth, halves up; NaN falls back to 120.
    const struct { double given, tempo, shuffle, flam; } reals[] = {
        { -1.0, 30.0, 0.0, 0.121 }, { 0.3, 30.0, 0.3, 0.3 }, { 0.5, 30.0, 0.5, 0.383 }, { 0.9, 30.0, 0.8, 0.383 },
        { 29.96, 30.0, 0.8, 0.383 }, { 120.04, 120.0, 0.8, 0.383 }, { 120.05, 120.1, 0.8, 0.383 }, { 97.5, 97.5, 0.8, 0.383 },
        { 301.0, 300.0, 0.8, 0.383 }, { inf, 300.0, 0.0, 0.383 }, { nan, 120.0, 0.0, 0.121 },
    };
    for (const auto& c : reals)
    {
        Pattern pattern;
        pattern.setTempo (c.given);
        pattern.setShuffle (c.given);
        pattern.setFlam (c.given);
        EXPECT_NEAR (pattern.getTempo(), c.tempo, 1e-9) << c.given;
        EXPECT_DOUBLE_EQ (pattern.getShuffle(), c.shuffle) << c.given;
        EXPECT_DOUBLE_EQ (pattern.getFlam(), c.flam) << c.given;
    }
}

TEST (Pattern, AccentTrackStoresOnlyZeroOrTwoAndOutsideWritesAreIgnored)
{
    Pattern pattern;
    pattern.setStep (11, 3, 1);
    EXPECT_EQ (pattern.getStep (11, 3), 2);
    pattern.setStep (11, 4, 3);
    EXPECT_EQ (pattern.getStep (11, 4), 2);
    pattern.setStep (11, 3, 0);
    EXPECT_EQ (pattern.getStep (11, 3), 0);
    pattern.setStep (0, 0, 3);
    EXPECT_EQ (pattern.getStep (0, 0), 3);

    const Pattern before = pattern;
    for (const auto& [track, step] : { std::pair { 12, 0 }, { 0, 16 }, { -1, 0 }, { 0, -1 }, { 1 << 30, 1 << 30 } })
        pattern.setStep (track, step, 1);
    EXPECT_EQ (pattern, before);
    EXPECT_EQ (pattern.getStep (12, 0), 0);
    EXPECT_EQ (pattern.getStep (0, -7), 0);
}

namespace
{
Pattern patternWithRow (const char* steps, int length)
{
    Pattern pattern;
    pattern.setLength (length);
    for (int step = 0; steps[step] != 0; ++step)
        pattern.setStep (2, step, steps[step] - '0');
    return pattern;
}
} // namespace

TEST (Pattern, RotationStaysWithinTheLength)
{
    const struct { int length, n; bool left; const char* before; const char* after; } cases[] = {
        { 5, 1, true, "1230300000000001", "2303100000000001" },
        { 5, 1, false, "1230300000000001", "3123000000000001" },
        { 5, 5, true, "1230300000000001", "1230300000000001" },
        { 5, 6, true, "1230300000000001", "2303100000000001" },
        { 5, -1, true, "1230300000000001", "1230300000000001" },
        { 16, 4, false, "1000200030000000", "0000100020003000" },
        { 1, 3, true, "3000000000000000", "3000000000000000" },
    };
    for (const auto& c : cases)
    {
        Pattern pattern = patternWithRow (c.before, c.length);
        if (c.left)
            pattern.shiftRowLeft (2, c.n);
        else
            pattern.shiftRowRight (2, c.n);
        EXPECT_EQ (rowText (pattern, 2), c.after) << c.length << " " << c.n;
    }
}

TEST (Pattern, LongNamesAreCutAtACharacterBoundary)
{
    Pattern pattern;
    juce::String name;
    for (int i = 0; i < 40; ++i)
        name << juce::String::charToString ((juce::juce_wchar) 0xE9); // two UTF-8 bytes each
    pattern.setName (name);
    const auto stored = pattern.getName();
    EXPECT_EQ (stored.length(), 31);
    EXPECT_TRUE (name.startsWith (stored));
}
