#pragma once

#include <juce_graphics/juce_graphics.h>

// What every drawing of the built-in skin shares: the palette, the fonts and
// the few shapes (caps, lamps, labels) the strips and the panel are made of.
// Build tool only; all sizes are pixels at 1:1.
namespace skinart
{
namespace colour
{
// The panel: a dark slate face, raised plates for the groups, light print.
const juce::Colour panelTop { 0xff262b32 };
const juce::Colour panelBottom { 0xff1a1d22 };
const juce::Colour plate { 0xff2d333b };
const juce::Colour plateEdge { 0xff3e4550 };
const juce::Colour print { 0xffd2d7de };     // labels
const juce::Colour printDim { 0xff8a939f };  // group titles, secondary legends
const juce::Colour recess { 0xff121418 };    // knob tracks, display wells

// Caps of buttons and bodies of knobs.
const juce::Colour capTop { 0xff535b67 };
const juce::Colour capBottom { 0xff363c45 };
const juce::Colour capText { 0xffe4e7eb };

// Lights: one warm orange for everything the sequencer and the sound show,
// teal for the randomiser, green for signal, red and yellow for mute and solo.
const juce::Colour orange { 0xffff7a22 };
const juce::Colour orangeDim { 0xff9a4814 };
const juce::Colour teal { 0xff3fd0c8 };
const juce::Colour green { 0xff6ee05a };
const juce::Colour muteRed { 0xffe8503c };
const juce::Colour soloYellow { 0xfff2c230 };
const juce::Colour selectBlue { 0xff78bcff };

// Segment and character displays.
const juce::Colour displayGlass { 0xff0c0d10 };
const juce::Colour segmentLit { 0xffff6a1e };
const juce::Colour segmentGhost { 0xff21140e };
const juce::Colour lcdText { 0xffffb45e };
const juce::Colour lcdGlass { 0xff101215 };
} // namespace colour

// The embedded font family (DejaVu Sans and DejaVu Sans Bold), read straight
// from the TTF files the module embeds, so the art is lettered in the same
// family as the toolkit's own text.
class Fonts
{
public:
    // False when either file is missing or unreadable.
    bool load (const juce::File& folder);

    juce::Font regular (float height) const;
    juce::Font bold (float height) const;

private:
    juce::Typeface::Ptr regularFace, boldFace;
};

// A transparent image of the given size.
juce::Image makeImage (int width, int height);

// Writes one line of text into the area, squeezed horizontally (down to 70%)
// when it is wider than the area.
void drawLabel (juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Colour colour,
                juce::Rectangle<float> area, juce::Justification justification = juce::Justification::centred);

// A raised button cap with a soft shadow; pressed caps sit one pixel lower,
// darker and without shadow. face is the cap's middle colour.
void drawCap (juce::Graphics& g, juce::Rectangle<float> area, float corner, juce::Colour face, bool pressed);

// A round lamp; lit lamps glow around their body.
void drawLamp (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit);

// A bar lamp (the lamp window of a mode button, the step length lights).
void drawBarLamp (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, bool lit);

// A plate: a raised rounded panel for a group of controls.
void drawPlate (juce::Graphics& g, juce::Rectangle<float> area);

// Knobs and the selector turn through 270 degrees, from seven to five
// o'clock. Angles in radians, clockwise from twelve o'clock.
float knobAngle (float value); // value 0..1
float selectorAngle (int position, int positions);

// The unit vector of an angle.
juce::Point<float> direction (float angle);
} // namespace skinart
