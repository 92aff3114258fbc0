#pragma once

#include <juce_graphics/juce_graphics.h>

// The 16 x 16 icons of the preset browser's columns, drawn by this code: a
// folder for a group and a sheet of settings for a preset, each in a light
// form for a selected row. Made once and shared through JUCE's image cache.
// Message thread.
namespace presetbrowser
{
constexpr int iconSize = 16; // pixels

juce::Image getGroupIcon (bool selected);
juce::Image getPresetIcon (bool selected);
} // namespace presetbrowser
