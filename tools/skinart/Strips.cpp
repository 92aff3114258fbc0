#include "tools/skinart/Strips.h"

namespace skinart
{
namespace
{
constexpr int knobFrames = 61;
constexpr int switchPositions = 12;

//==== Knobs ====================================================================================

void drawKnobBody (juce::Graphics& g, juce::Point<float> centre, float radius)
{
    const auto body = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillEllipse (body.translated (0.0f, 1.5f));
    g.setGradientFill (juce::ColourGradient (colour::capTop.brighter (0.15f), centre.x, body.getY(),
                                             colour::capBottom.darker (0.3f), centre.x, body.getBottom(), false));
    g.fillEllipse (body);
    // A slightly dished face inside the grip ring.
    const auto face = body.reduced (radius * 0.2f);
    g.setGradientFill (juce::ColourGradient (colour::capBottom, centre.x, face.getY(), colour::capTop,
                                             centre.x, face.getBottom(), false));
    g.fillEllipse (face);
    g.setColour (juce::Colours::black.withAlpha (0.75f));
    g.drawEllipse (body.reduced (0.5f), 1.0f);
}

void drawPointer (juce::Graphics& g, juce::Point<float> centre, float radius, float angle, float thickness)
{
    const auto d = direction (angle);
    g.setColour (juce::Colour (0xfff4f4f4));
    g.drawLine ({ centre + d * (radius * 0.3f), centre + d * (radius * 0.88f) }, thickness);
}

// A knob in a recessed value track: the lit arc runs from the start to the
// value, so the setting reads at a glance even from a distance.
Strip knobStrip (const juce::String& file, int size, juce::Colour arc)
{
    return { file, knobFrames, size, size, [size, arc] (juce::Graphics& g, int frame, const Fonts&) {
                const float value = (float) frame / (float) (knobFrames - 1);
                const juce::Point<float> centre (size * 0.5f, size * 0.5f);
                const float thickness = size >= 40 ? 3.5f : 3.0f;
                const float trackRadius = size * 0.5f - thickness * 0.5f - 0.5f;
                const float angle = knobAngle (value);

                juce::Path track;
                track.addCentredArc (centre.x, centre.y, trackRadius, trackRadius, 0.0f, knobAngle (0.0f), knobAngle (1.0f), true);
                const juce::PathStrokeType stroke (thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
                g.setColour (colour::recess);
                g.strokePath (track, stroke);
                if (frame > 0)
                {
                    juce::Path lit;
                    lit.addCentredArc (centre.x, centre.y, trackRadius, trackRadius, 0.0f, knobAngle (0.0f), angle, true);
                    g.setColour (arc);
                    g.strokePath (lit, stroke);
                }

                const float radius = trackRadius - thickness * 0.5f - 2.5f;
                drawKnobBody (g, centre, radius);
                drawPointer (g, centre, radius, angle, size >= 40 ? 2.5f : 2.0f);
            } };
}

// The instrument selector: a knob with a fin that stops at twelve positions;
// the panel prints the instrument codes around it.
Strip switchStrip (const juce::String& file, int size)
{
    return { file, switchPositions, size, size, [size] (juce::Graphics& g, int frame, const Fonts&) {
                const juce::Point<float> centre (size * 0.5f, size * 0.5f);
                const float radius = size * 0.5f - 2.0f;
                const float angle = selectorAngle (frame, switchPositions);
                drawKnobBody (g, centre, radius);
                const auto d = direction (angle);
                g.setColour (colour::orange);
                g.drawLine ({ centre + d * (radius * 0.25f), centre + d * (radius * 0.9f) }, 3.0f);
            } };
}

//==== Buttons ==================================================================================

// The step keys. States: 0 off, 1 half lit (a note), 2 lit (an accented note,
// a chosen pattern or bank, every key in length mode); each released, then
// pressed. The playing step shows the opposite, so the running light is seen
// over empty and filled steps alike.
Strip stepStrip (const juce::String& file, int size)
{
    return { file, 6, size, size, [size] (juce::Graphics& g, int frame, const Fonts&) {
                const int state = frame / 2;
                const bool pressed = (frame % 2) == 1;
                auto area = juce::Rectangle<float> ((float) size, (float) size).reduced (2.0f).withTrimmedBottom (1.0f);
                const auto face = state == 2 ? colour::orange : state == 1 ? colour::orangeDim : colour::capTop.darker (0.1f);
                drawCap (g, area, 5.0f, face, pressed);
                if (pressed)
                    area.translate (0.0f, 1.0f);
                if (state > 0)
                {
                    // Light from behind the key: brightest in the middle.
                    const auto centre = area.getCentre();
                    const float glow = state == 2 ? 0.55f : 0.25f;
                    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (glow), centre,
                                                             juce::Colours::white.withAlpha (0.0f),
                                                             centre.translated (area.getWidth() * 0.45f, 0.0f), true));
                    g.fillRoundedRectangle (area.reduced (2.0f), 4.0f);
                }
            } };
}

// A mode button: a cap with its name and a lamp window above the name.
// States: 0 off, 1 on; each released, then pressed.
Strip modeStrip (const juce::String& file, const juce::String& label, int width, int height)
{
    return { file, 4, width, height, [label, width, height] (juce::Graphics& g, int frame, const Fonts& fonts) {
                const bool on = frame >= 2;
                const bool pressed = (frame % 2) == 1;
                auto area = juce::Rectangle<float> ((float) width, (float) height).reduced (1.0f).withTrimmedBottom (1.0f);
                drawCap (g, area, 3.0f, colour::capTop.darker (0.15f), pressed);
                if (pressed)
                    area.translate (0.0f, 1.0f);
                const auto lamp = juce::Rectangle<float> (area.getWidth() - 12.0f, 4.0f)
                                      .withCentre ({ area.getCentreX(), area.getY() + 5.0f });
                drawBarLamp (g, lamp, colour::orange, on);
                drawLabel (g, label, fonts.bold (8.5f), colour::capText,
                           area.withTrimmedTop (8.0f).reduced (2.0f, 0.0f));
            } };
}

// A button whose whole cap lights (mute, solo, select). States: 0 off,
// 1 on; each released, then pressed.
Strip litCapStrip (const juce::String& file, const juce::String& label, int width, int height, juce::Colour lit,
                   juce::Colour litText)
{
    return { file, 4, width, height, [=] (juce::Graphics& g, int frame, const Fonts& fonts) {
                const bool on = frame >= 2;
                const bool pressed = (frame % 2) == 1;
                auto area = juce::Rectangle<float> ((float) width, (float) height).reduced (1.0f).withTrimmedBottom (1.0f);
                drawCap (g, area, 3.0f, on ? lit : colour::capTop.darker (0.15f), pressed);
                if (pressed)
                    area.translate (0.0f, 1.0f);
                drawLabel (g, label, fonts.bold (height >= 16 ? 10.0f : 8.5f), on ? litText : colour::capText, area);
            } };
}

// The MIDI learn button: two flat frames, off and learning, because the
// editor sets its state directly.
Strip learnStrip (const juce::String& file, int width, int height)
{
    return { file, 2, width, height, [width, height] (juce::Graphics& g, int frame, const Fonts& fonts) {
                const auto area = juce::Rectangle<float> ((float) width, (float) height).reduced (1.0f).withTrimmedBottom (1.0f);
                drawCap (g, area, 3.0f, colour::capTop.darker (0.15f), false);
                drawLamp (g, { area.getX() + 8.0f, area.getCentreY() }, 3.0f, colour::orange, frame == 1);
                drawLabel (g, "LEARN", fonts.bold (8.5f), colour::capText, area.withTrimmedLeft (13.0f).withTrimmedRight (2.0f));
            } };
}

enum class Arrow
{
    none,
    left,
    right
};

// A push button: released, then pressed; with a name or an arrow on the cap.
Strip pushStrip (const juce::String& file, const juce::String& label, int width, int height, Arrow arrow = Arrow::none)
{
    return { file, 2, width, height, [=] (juce::Graphics& g, int frame, const Fonts& fonts) {
                const bool pressed = frame == 1;
                auto area = juce::Rectangle<float> ((float) width, (float) height).reduced (1.0f).withTrimmedBottom (1.0f);
                drawCap (g, area, 3.0f, colour::capTop, pressed);
                if (pressed)
                    area.translate (0.0f, 1.0f);
                if (arrow == Arrow::none)
                {
                    drawLabel (g, label, fonts.bold (8.5f), colour::capText, area.reduced (3.0f, 0.0f));
                    return;
                }
                const auto c = area.getCentre();
                const float s = area.getHeight() * 0.22f;
                const float sign = arrow == Arrow::right ? 1.0f : -1.0f;
                juce::Path triangle;
                triangle.addTriangle (c.x + sign * s * 1.1f, c.y, c.x - sign * s * 0.8f, c.y - s * 1.2f, c.x - sign * s * 0.8f,
                                      c.y + s * 1.2f);
                g.setColour (colour::capText);
                g.fillPath (triangle);
            } };
}

//==== Lamps ====================================================================================

// A round lamp: 0 off, 1 lit.
Strip lampStrip (const juce::String& file, int size, juce::Colour lit)
{
    return { file, 2, size, size, [size, lit] (juce::Graphics& g, int frame, const Fonts&) {
                drawLamp (g, { size * 0.5f, size * 0.5f }, size * 0.3f, lit, frame == 1);
            } };
}

// A bar lamp: 0 off, 1 lit.
Strip barLampStrip (const juce::String& file, int width, int height, juce::Colour lit)
{
    return { file, 2, width, height, [width, height, lit] (juce::Graphics& g, int frame, const Fonts&) {
                drawBarLamp (g, juce::Rectangle<float> ((float) width, (float) height), lit, frame == 1);
            } };
}

//==== Segment digits ===========================================================================

// Segments of a seven-segment figure, as bits: a top, b top right,
// c bottom right, d bottom, e bottom left, f top left, g middle.
namespace seg
{
enum Bits
{
    a = 1, b = 2, c = 4, d = 8, e = 16, f = 32, g = 64
};
} // namespace seg

constexpr int figures[10] = {
    seg::a | seg::b | seg::c | seg::d | seg::e | seg::f, seg::b | seg::c, seg::a | seg::b | seg::d | seg::e | seg::g,
    seg::a | seg::b | seg::c | seg::d | seg::g,          seg::b | seg::c | seg::f | seg::g,
    seg::a | seg::c | seg::d | seg::f | seg::g,          seg::a | seg::c | seg::d | seg::e | seg::f | seg::g,
    seg::a | seg::b | seg::c,                            seg::a | seg::b | seg::c | seg::d | seg::e | seg::f | seg::g,
    seg::a | seg::b | seg::c | seg::d | seg::f | seg::g
};

struct DigitGlyph
{
    int segments = 0;
    bool point = false;
    bool sharp = false; // "#", which seven segments cannot show
};

std::vector<DigitGlyph> blankAndFigures (bool point)
{
    std::vector<DigitGlyph> glyphs { {} };
    for (int figure : figures)
        glyphs.push_back ({ figure, point, false });
    return glyphs;
}

// One hexagonal segment from p to q.
juce::Path segmentPath (juce::Point<float> p, juce::Point<float> q, float thickness)
{
    const auto u = (q - p) / p.getDistanceFrom (q);
    const juce::Point<float> n (-u.y, u.x);
    const float h = thickness * 0.5f;
    juce::Path path;
    path.startNewSubPath (p);
    path.lineTo (p + u * h + n * h);
    path.lineTo (q - u * h + n * h);
    path.lineTo (q);
    path.lineTo (q - u * h - n * h);
    path.lineTo (p + u * h - n * h);
    path.closeSubPath();
    return path;
}

void drawDigitGlyph (juce::Graphics& gr, const DigitGlyph& glyph, int width, int height)
{
    using namespace seg;
    gr.fillAll (colour::displayGlass);

    const float w = (float) width, h = (float) height;
    const float t = juce::jmax (2.0f, w * 0.15f);   // segment thickness
    const float left = w * 0.2f, right = w * 0.74f;  // room at the right for the point
    const float top = h * 0.1f, bottom = h * 0.9f, middle = (top + bottom) * 0.5f;
    const float gap = 0.8f;
    // A slight forward lean, as segment displays have.
    const auto lean = juce::AffineTransform::shear (-0.07f, 0.0f).translated (0.07f * middle, 0.0f);

    const struct { int bit; juce::Point<float> p, q; } segments[] = {
        { a, { left + gap, top }, { right - gap, top } },
        { b, { right, top + gap }, { right, middle - gap } },
        { c, { right, middle + gap }, { right, bottom - gap } },
        { d, { left + gap, bottom }, { right - gap, bottom } },
        { e, { left, middle + gap }, { left, bottom - gap } },
        { f, { left, top + gap }, { left, middle - gap } },
        { g, { left + gap, middle }, { right - gap, middle } },
    };

    auto fill = [&] (const juce::Path& path, bool lit) {
        if (lit)
        {
            gr.setColour (colour::segmentLit.withAlpha (0.22f));
            gr.strokePath (path, juce::PathStrokeType (2.5f), lean);
            gr.setColour (colour::segmentLit);
        }
        else
            gr.setColour (colour::segmentGhost);
        gr.fillPath (path, lean);
    };

    for (const auto& segment : segments)
        if (! glyph.sharp || (glyph.segments & segment.bit) == 0)
            fill (segmentPath (segment.p, segment.q, t), (glyph.segments & segment.bit) != 0);

    if (glyph.sharp)
    {
        // Two uprights and two bars across the upper part of the cell.
        const float x0 = left + (right - left) * 0.3f, x1 = left + (right - left) * 0.7f;
        const float y0 = top + (middle - top) * 0.15f, y1 = middle + (bottom - middle) * 0.35f;
        const float s = t * 0.85f;
        juce::Path sharp;
        sharp.addRectangle (x0 - s * 0.5f, y0, s, y1 - y0);
        sharp.addRectangle (x1 - s * 0.5f, y0 - 1.0f, s, y1 - y0);
        sharp.addRectangle (left, y0 + (y1 - y0) * 0.3f - s * 0.5f, right - left, s);
        sharp.addRectangle (left, y0 + (y1 - y0) * 0.72f - s * 0.5f, right - left, s);
        fill (sharp, true);
    }

    const float dot = t * 1.1f;
    juce::Path point;
    point.addEllipse (right + (w - right - dot) * 0.5f + 0.5f, bottom - dot * 0.5f, dot, dot);
    fill (point, glyph.point);
}

Strip digitStrip (const juce::String& file, int width, int height, std::vector<DigitGlyph> glyphs)
{
    const int frames = (int) glyphs.size();
    return { file, frames, width, height, [width, height, glyphs] (juce::Graphics& g, int frame, const Fonts&) {
                drawDigitGlyph (g, glyphs[(size_t) frame], width, height);
            } };
}

// The four digits of the pattern number display, each with the frames its
// position shows: blank, the figures 0 to 9, then
//   first: "P." (note names);
//   second: the note letters C D E F G A B, then "-" (between bank and slot);
//   third: "#" (sharp notes), then blank;
//   fourth: nothing more (the octave, the slot's ones).
std::vector<Strip> patternDigitStrips (int width, int height)
{
    using namespace seg;
    auto first = blankAndFigures (false);
    first.push_back ({ a | b | e | f | g, true, false });

    auto second = blankAndFigures (false);
    for (int letter : { a | d | e | f, b | c | d | e | g, a | d | e | f | g, a | e | f | g, a | c | d | e | f,
                        a | b | c | e | f | g, c | d | e | f | g })
        second.push_back ({ letter, false, false });
    second.push_back ({ g, false, false });

    auto third = blankAndFigures (false);
    third.push_back ({ 0, false, true });
    third.push_back ({});

    return { digitStrip ("PatternDigit1.png", width, height, first), digitStrip ("PatternDigit2.png", width, height, second),
             digitStrip ("PatternDigit3.png", width, height, third),
             digitStrip ("PatternDigit4.png", width, height, blankAndFigures (false)) };
}

//==== Character display font ===================================================================

// The font of the character displays: glyphs printed in the display's amber,
// on a clear ground (the display fills its own glass colour); in the caret
// half the cell is filled and the glyph cut out of it.
Strip fontStrip()
{
    using namespace lcdFont;
    return { "LcdFont.png", numGlyphs * 2, glyphWidth, glyphHeight, [] (juce::Graphics& g, int frame, const Fonts& fonts) {
                const bool caret = frame >= numGlyphs;
                const auto character = (juce::juce_wchar) (firstGlyph + frame % numGlyphs);
                const auto cell = juce::Rectangle<float> ((float) glyphWidth, (float) glyphHeight);
                if (caret)
                {
                    g.setColour (colour::lcdText);
                    g.fillRect (cell);
                }
                drawLabel (g, juce::String::charToString (character), fonts.bold (13.5f),
                           caret ? colour::lcdGlass : colour::lcdText, cell.withTrimmedLeft (0.5f));
            } };
}
} // namespace

void drawLogo (juce::Graphics& g, juce::Rectangle<float> area, const Fonts& fonts)
{
    // A pulse of five bars, then the name and the line under it.
    const float barsHeight = area.getHeight() * 0.62f;
    const float barWidth = 4.0f;
    const float heights[] = { 0.35f, 0.7f, 1.0f, 0.6f, 0.3f };
    const float baseline = area.getY() + barsHeight + 2.0f;
    float x = area.getX() + 2.0f;
    for (float height : heights)
    {
        const float h = barsHeight * height;
        g.setColour (colour::orange.withMultipliedBrightness (0.75f + 0.25f * height));
        g.fillRoundedRectangle (x, baseline - h, barWidth, h, 1.5f);
        x += barWidth + 2.0f;
    }

    const auto text = area.withTrimmedLeft (x - area.getX() + 6.0f);
    drawLabel (g, "PULSETTA", fonts.bold (area.getHeight() * 0.62f).withExtraKerningFactor (0.06f), colour::print,
               text.withHeight (barsHeight + 4.0f), juce::Justification::bottomLeft);
    drawLabel (g, "DRUM MACHINE", fonts.bold (9.0f).withExtraKerningFactor (0.32f), colour::orange,
               text.withTrimmedTop (barsHeight + 6.0f).withHeight (11.0f), juce::Justification::centredLeft);
}

std::vector<Strip> makeStrips()
{
    std::vector<Strip> strips {
        knobStrip ("KnobSmall.png", 30, colour::orange),
        knobStrip ("KnobMedium.png", 36, colour::orange),
        knobStrip ("KnobLevel.png", 40, colour::orange),
        knobStrip ("KnobRand.png", 40, colour::teal),
        knobStrip ("KnobLarge.png", 52, colour::orange),
        switchStrip ("InstrumentSwitch.png", 44),
        stepStrip ("StepKey.png", 44),
        litCapStrip ("MuteButton.png", "M", 30, 17, colour::muteRed, juce::Colours::white),
        litCapStrip ("SoloButton.png", "S", 30, 17, colour::soloYellow, juce::Colour (0xff2a2000)),
        litCapStrip ("SelectButton.png", "SELECT", 62, 15, colour::selectBlue, juce::Colour (0xff0c1a2c)),
        learnStrip ("LearnButton.png", 56, 20),
        lampStrip ("LampGreen.png", 12, colour::green),
        lampStrip ("LampTeal.png", 12, colour::teal),
        barLampStrip ("StepLengthLamp.png", 30, 5, colour::orange),
        digitStrip ("DigitSmall.png", 14, 22, blankAndFigures (false)),
        digitStrip ("DigitLarge.png", 20, 32, blankAndFigures (false)),
        digitStrip ("DigitLargePoint.png", 20, 32, blankAndFigures (true)),
        fontStrip(),
        { "PluginLogo.png", 1, 220, 44, [] (juce::Graphics& g, int, const Fonts& fonts) {
             drawLogo (g, { 0.0f, 0.0f, 220.0f, 44.0f }, fonts);
         } },
    };

    for (auto& strip : patternDigitStrips (20, 32))
        strips.push_back (std::move (strip));

    const struct { const char* file; const char* label; int width, height; } modes[] = {
        { "ModeSequencer.png", "SEQ", 38, 22 },  { "ModeClock.png", "CLOCK", 38, 22 },   { "ModeWrite.png", "WRITE", 38, 22 },
        { "ModeFollow.png", "FOLLOW", 38, 22 },  { "ModeTap.png", "TAP", 38, 22 },       { "ModeFlam.png", "FLAM", 38, 22 },
        { "ModeRandom.png", "RANDOM", 38, 22 },  { "ModeLength.png", "LENGTH", 38, 22 }, { "ModePlay.png", "PLAY", 48, 26 },
        { "ModeScale3.png", "3", 24, 22 },       { "ModeScale4.png", "4", 24, 22 },      { "ModeScale6.png", "6", 24, 22 },
        { "ModeScale8.png", "8", 24, 22 },
    };
    for (const auto& mode : modes)
        strips.push_back (modeStrip (mode.file, mode.label, mode.width, mode.height));

    const struct { const char* file; const char* label; int width; } pushes[] = {
        { "ButtonOptions.png", "OPTIONS", 56 }, { "ButtonAbout.png", "ABOUT", 56 },   { "ButtonBrowse.png", "BROWSE", 52 },
        { "ButtonStore.png", "STORE", 44 },     { "ButtonCopy.png", "COPY", 44 },     { "ButtonPaste.png", "PASTE", 44 },
        { "ButtonClear.png", "CLEAR", 44 },     { "ButtonAccept.png", "ACCEPT", 44 }, { "ButtonUndo.png", "UNDO", 44 },
        { "ButtonTap.png", "TAP", 44 },
    };
    for (const auto& push : pushes)
        strips.push_back (pushStrip (push.file, push.label, push.width, 20));
    strips.push_back (pushStrip ("ButtonLeft.png", {}, 26, 20, Arrow::left));
    strips.push_back (pushStrip ("ButtonRight.png", {}, 26, 20, Arrow::right));
    return strips;
}

juce::Image renderStrip (const Strip& strip, const Fonts& fonts)
{
    auto image = makeImage (strip.width, strip.height * strip.frames);
    juce::Graphics g (image);
    for (int frame = 0; frame < strip.frames; ++frame)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setOrigin ({ 0, frame * strip.height });
        g.reduceClipRegion (0, 0, strip.width, strip.height);
        strip.drawFrame (g, frame, fonts);
    }
    return image;
}
} // namespace skinart
