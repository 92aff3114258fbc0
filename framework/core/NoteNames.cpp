#include "framework/core/NoteNames.h"

namespace
{
constexpr int semitonesPerOctave = 12;

constexpr const char* semitoneNames[semitonesPerOctave] = { "C-", "C#", "D-", "D#", "E-", "F-",
                                                            "F#", "G-", "G#", "A-", "A#", "B-" };

constexpr int whiteKeyIndexes[semitonesPerOctave] = { 0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6 };
constexpr bool whiteKeys[semitonesPerOctave] = { true, false, true, false, true, true,
                                                 false, true, false, true, false, true };

// Natural semitone of a letter, or -1.
int naturalSemitone (juce::juce_wchar letter) noexcept
{
    switch (letter)
    {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
        default:  return -1;
    }
}
} // namespace

juce::String noteNumberToName (int noteNumber)
{
    if (noteNumber < 0 || noteNumber > highestNoteNumber)
        return {};

    const int octave = noteNumber / semitonesPerOctave;
    const juce::String octaveText = octave == 10 ? juce::String ("H") : juce::String (octave);
    return juce::String (semitoneNames[noteNumber % semitonesPerOctave]) + octaveText;
}

int noteNameToNumber (const juce::String& name) noexcept
{
    if (name.length() != 3)
        return -1;

    const auto letter = name[0], accidental = name[1], octaveChar = name[2];
    int semitone = naturalSemitone (letter);

    if (semitone < 0 || (accidental != '-' && accidental != '#'))
        return -1;

    int octave = -1;
    if (octaveChar >= '0' && octaveChar <= '9')
        octave = static_cast<int> (octaveChar - '0');
    else if (octaveChar == 'H')
        octave = 10;
    else
        return -1;

    // E and B have no black key above them within the octave: "E#" reads as E.
    if (accidental == '#' && letter != 'E' && letter != 'B')
        ++semitone;

    return juce::jmin (semitone + octave * semitonesPerOctave, highestNoteNumber);
}

int whiteKeyIndex (int noteNumber) noexcept
{
    return noteNumber < 0 ? -1 : whiteKeyIndexes[noteNumber % semitonesPerOctave];
}

bool isWhiteKey (int noteNumber) noexcept
{
    return noteNumber >= 0 && whiteKeys[noteNumber % semitonesPerOctave];
}
