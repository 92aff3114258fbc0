#pragma once

#include <juce_graphics/juce_graphics.h>

// The toolkit's one font family, compiled into the module (DejaVu Sans and
// DejaVu Sans Bold), so text has the same shapes and metrics on every machine.
// Skins and pages ask for "Tahoma"; every toolkit font is made here instead.
namespace toolkit
{
// Message thread. A font of the embedded family, height in pixels.
juce::Font makeFont (float height, bool bold = false);

// Message thread. The embedded typeface that stands for the given font: bold
// when the font is bold, regular otherwise, whatever family it names. Used by
// the look and feel so that fonts made elsewhere ("Tahoma" by name, or a font
// whose style was changed) still draw in the embedded family.
juce::Typeface::Ptr getEmbeddedTypeface (const juce::Font& font);
juce::Typeface::Ptr getEmbeddedTypeface (bool bold);
} // namespace toolkit
