#include "framework/core/NoteNames.h"

#include <gtest/gtest.h>

TEST (NoteNames, NamesOfNumbers)
{
    const std::pair<int, const char*> cases[] = {
        { 0, "C-0" }, { 1, "C#0" }, { 36, "C-3" }, { 37, "C#3" }, { 60, "C-5" },
        { 61, "C#5" }, { 71, "B-5" }, { 118, "A#9" }, { 120, "C-H" }, { 127, "G-H" },
    };

    for (auto& [number, name] : cases)
        EXPECT_EQ (noteNumberToName (number), juce::String (name)) << number;
}

TEST (NoteNames, NumbersOutsideTheMidiRangeHaveNoName)
{
    EXPECT_EQ (noteNumberToName (128), juce::String());
    EXPECT_EQ (noteNumberToName (-1), juce::String());
    EXPECT_EQ (noteNumberToName (std::numeric_limits<int>::min()), juce::String());
}

TEST (NoteNames, NumbersOfNames)
{
    const std::pair<const char*, int> cases[] = {
        { "C-3", 36 }, { "C#3", 37 }, { "A#H", 127 }, { "G-H", 127 }, { "A#9", 118 },
        { "C-0", 0 }, { "B-H", 127 }, { "E#4", 52 }, { "B#0", 11 }, { "F#5", 66 },
    };

    for (auto& [name, number] : cases)
        EXPECT_EQ (noteNameToNumber (name), number) << name;
}

TEST (NoteNames, UnreadableNames)
{
    for (auto* text : { "C3", "c-5", "C-55", "", "H-3", "C+3", "C-h", "C-X", "C#-1" })
        EXPECT_EQ (noteNameToNumber (text), -1) << text;
}

TEST (NoteNames, EveryNoteRoundTrips)
{
    for (int n = 0; n <= 127; ++n)
        EXPECT_EQ (noteNameToNumber (noteNumberToName (n)), n);
}

TEST (NoteNames, WhiteKeys)
{
    const int indexes[12] = { 0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6 };
    const bool white[12] = { true, false, true, false, true, true, false, true, false, true, false, true };

    for (int n = 0; n < 128; ++n)
    {
        EXPECT_EQ (whiteKeyIndex (n), indexes[n % 12]) << n;
        EXPECT_EQ (isWhiteKey (n), white[n % 12]) << n;
    }

    EXPECT_EQ (whiteKeyIndex (-1), -1);
    EXPECT_FALSE (isWhiteKey (-13));
}
