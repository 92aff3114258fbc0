#pragma once

#include "tools/skinart/SkinLayout.h"

#include <map>

// The pictures made from the whole layout: the panel's background, and a
// preview of the panel with every control drawn at its place. Build tool only.
namespace skinart
{
// The background: the panel face with its plates, voice columns, legends and
// the wells the displays and keys sit in.
juce::Image drawBackground (const SkinLayout& layout, const Fonts& fonts);

// The background with every control showing a frame a playing machine might
// show (a running pattern, its step lit, displays filled in), as the editor
// will paint it. images holds every strip by file name.
juce::Image drawPreview (const SkinLayout& layout, const juce::Image& background,
                         const std::map<juce::String, juce::Image>& images);
} // namespace skinart
