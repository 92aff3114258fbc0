#pragma once

#include <juce_graphics/juce_graphics.h>

// Skin images are vertical strips of equal frames: frame i occupies rows
// i × frameHeight to (i + 1) × frameHeight - 1. Every image widget chooses its
// frame and draws it through these, so all strips agree at both ends and no
// index ever reads outside its strip.
namespace toolkit
{
// Any thread. The frame that shows a normalised value (0..1, clamped; NaN is
// 0) on a strip of framesNum frames: the nearest of the evenly spaced frames,
// computed in single precision, always within 0..framesNum - 1.
int frameForValue (float normalised, int framesNum) noexcept;

// Any thread. The number of frames a strip of imageHeight rows can hold when
// a skin asks for framesNum: at least 1, at most one frame per row.
int clampFrameCount (int framesNum, int imageHeight) noexcept;

// Message thread. Copies frame frameIndex of the strip, clamped into the
// strip, to (0, 0, frameWidth, frameHeight) at 1:1, opaque and without
// smoothing. Nothing is drawn for a null image or an empty frame.
void drawFrame (juce::Graphics& g, const juce::Image& strip, int frameIndex, int frameWidth, int frameHeight);
} // namespace toolkit
