#pragma once

// JUCE's on-screen MIDI keyboard, on which the skin's image keyboard is
// built. Its module (juce_audio_utils) is not part of the project's JUCE
// library, as it would bring the audio device and audio file modules with it,
// none of which a plug-in needs; its two keyboard sources are compiled into
// the toolkit instead (JuceKeyboard.cpp).
#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <juce_audio_utils/gui/juce_KeyboardComponentBase.h>
#include <juce_audio_utils/gui/juce_MidiKeyboardComponent.h>
