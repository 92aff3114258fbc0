#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The drawing shared by the toolkit's check boxes, radio buttons and icon
// buttons: one shaded face colour, the raised fill of a box or circle, and the
// label beside it. Message thread (they draw into the given context).
namespace toolkit
{
// The button's face (juce::TextButton::buttonColourId): more saturated while
// the keyboard focus is on or in the button, fainter when it or a parent is
// disabled, and lifted towards its contrasting colour under the mouse.
juce::Colour getButtonFaceColour (const juce::Button& button, bool isMouseOver, bool isButtonDown);

// Fills the shape with a vertical gradient from the face made brighter at
// its top to the face made darker at its bottom, with a white highlight and
// a dark outline at 0.4 of the face's alpha.
void fillToggleShape (juce::Graphics& g, const juce::Path& shape, juce::Colour face);

// The button's text beside its box: from x = 1.2 x height to the right edge,
// left-aligned and vertically centred, in the look and feel's text-button
// font and juce::Label::textColourId, at half alpha when disabled.
void drawToggleLabel (juce::Graphics& g, juce::TextButton& button);

// Fits a check box or radio button to its text: the given height (a
// negative one keeps the current height) and the text's width plus
// 1.2 x height for the box.
void fitToggleButtonToText (juce::TextButton& button, int height);
} // namespace toolkit
