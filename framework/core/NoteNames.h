#pragma once

#include <juce_core/juce_core.h>

// Three-character MIDI note names: letter, "-" or "#", octave figure 0-9 or
// "H" for octave 10. Note 0 is "C-0", 60 is "C-5", 127 is "G-H".

constexpr int highestNoteNumber = 127;

// Any thread. The name of note n, or empty text when n is outside 0..127.
juce::String noteNumberToName (int noteNumber);

// Any thread. The note number of a name (capped at 127), or -1 when the text
// is no note name.
int noteNameToNumber (const juce::String& name) noexcept;

// Any thread. 0 to 6 for the white key at or below the note within its
// octave (C and C# give 0, ..., B gives 6); -1 for a negative note.
int whiteKeyIndex (int noteNumber) noexcept;

// Any thread. False for a black key or a negative note.
bool isWhiteKey (int noteNumber) noexcept;
