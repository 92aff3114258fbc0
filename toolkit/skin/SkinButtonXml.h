#pragma once

#include "toolkit/binding/SkinReader.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Button settings shared by the skin's button elements.
namespace toolkit
{
// clickEvent="onRelease" (the default) triggers on mouse-up, "onPress" on
// mouse-down; any other value keeps the button's timing.
void readClickTiming (juce::Button& button, const juce::XmlElement& element);

// radioGroupId="n" (default 0) sets the button's radio group when it differs.
void readRadioGroup (juce::Button& button, const juce::XmlElement& element, SkinReader& reader);
} // namespace toolkit
