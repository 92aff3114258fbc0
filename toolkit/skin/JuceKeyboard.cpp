// The keyboard sources of JUCE's juce_audio_utils module, which need nothing
// of it but each other (see JuceKeyboard.h).
#include "toolkit/skin/JuceKeyboard.h"

#include <juce_audio_utils/gui/juce_KeyboardComponentBase.cpp>
#include <juce_audio_utils/gui/juce_MidiKeyboardComponent.cpp>
