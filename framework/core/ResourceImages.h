#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

// Message thread. The PNG or JPEG image decoded (imagedecoder::decode) from
// an embedded resource found by its file-like name ("knob.png"), or a null
// image when there is none or it does not decode.
juce::Image getResourceAsImage (const juce::String& fileName);
