#include "framework/core/NoteNames.h"

#include <gtest/gtest.h>

TEST (NoteNames, NamesAndNumbersBothWays)
{
    for (int n = 0; n <= 127; ++n)
        EXPECT_EQ (noteNameToNumber (noteNumberToName (n)), n);

    EXPECT_EQ (noteNumberToName (36), juce::String ("C-3"));
    EXPECT_EQ (noteNumberToName (120), juce::String ("C-H"));

    // Numbers outside the MIDI range have no name (no table read out of bounds).
    for (int n : { 128, -1, std::numeric_limits<int>::min() })
        EXPECT_EQ (noteNumberToName (n), juce::String()) << n;

    const std::pair<const char*, int> names[] = {
        { "C-3", 36 }, { "C#3", 37 }, { "A#H", 127 }, { "G-H", 127 }, { "A#9", 118 }, { "B-H", 127 },
        { "E#4", 52 }, { "B#0", 11 }, { "C3", -1 }, { "c-5", -1 }, { "C-55", -1 }, { "", -1 },
        { "H-3", -1 }, { "C+3", -1 }, { "C-h", -1 }, { "C-X", -1 }, { "C#-1", -1 },
    };
    for (auto& [name, number] : names)
        EXPECT_EQ (noteNameToNumber (name), number) << name;
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
