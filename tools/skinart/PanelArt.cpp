#include "tools/skinart/PanelArt.h"

namespace skinart
{
namespace
{
juce::Font legendFont (Legend::Style style, const Fonts& fonts)
{
    switch (style)
    {
        case Legend::Style::label: return fonts.bold (8.5f);
        case Legend::Style::title: return fonts.bold (9.0f).withExtraKerningFactor (0.16f);
        case Legend::Style::small: return fonts.bold (7.5f);
        case Legend::Style::number: return fonts.bold (10.0f);
        case Legend::Style::code: return fonts.bold (15.0f);
    }
    return fonts.regular (9.0f);
}

void drawFace (juce::Graphics& g, const SkinLayout& layout)
{
    const auto panel = juce::Rectangle<float> ((float) layout.width, (float) layout.height);
    g.setGradientFill (juce::ColourGradient (colour::panelTop, 0.0f, 0.0f, colour::panelBottom, 0.0f, panel.getBottom(), false));
    g.fillRect (panel);

    // The top band carries the name and the preset bar.
    g.setColour (juce::Colours::black.withAlpha (0.18f));
    g.fillRect (panel.withHeight (62.0f));
    g.setColour (juce::Colours::white.withAlpha (0.06f));
    g.drawHorizontalLine (62, 0.0f, panel.getRight());

    // Four screws hold the face.
    for (auto corner : { juce::Point<float> (6.0f, 6.0f), juce::Point<float> (panel.getRight() - 6.0f, 6.0f),
                         juce::Point<float> (6.0f, panel.getBottom() - 6.0f),
                         juce::Point<float> (panel.getRight() - 6.0f, panel.getBottom() - 6.0f) })
    {
        const auto head = juce::Rectangle<float> (7.0f, 7.0f).withCentre (corner);
        g.setGradientFill (juce::ColourGradient (colour::capTop, head.getX(), head.getY(), colour::recess,
                                                 head.getRight(), head.getBottom(), false));
        g.fillEllipse (head);
        g.setColour (colour::recess);
        g.drawLine (corner.x - 2.5f, corner.y + 2.5f, corner.x + 2.5f, corner.y - 2.5f, 1.2f);
    }
}

void drawColumns (juce::Graphics& g, const SkinLayout& layout)
{
    for (const auto& column : layout.columns)
    {
        const auto area = column.area.toFloat();
        drawPlate (g, area);
        // A tint of the voice's colour behind its header, and its colour bar.
        const auto header = area.withHeight (36.0f).reduced (1.0f, 1.0f);
        g.setGradientFill (juce::ColourGradient (column.colour.withAlpha (0.16f), header.getX(), header.getY(),
                                                 column.colour.withAlpha (0.0f), header.getX(), header.getBottom(), false));
        g.fillRoundedRectangle (header, 5.0f);
        g.setColour (column.colour);
        g.fillRoundedRectangle (area.getX() + 6.0f, area.getY() + 2.0f, area.getWidth() - 12.0f, 3.0f, 1.5f);
    }
}

// The recess a display or a key sits in.
void drawWell (juce::Graphics& g, juce::Rectangle<float> area, float corner)
{
    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.fillRoundedRectangle (area, corner);
    g.setColour (juce::Colours::white.withAlpha (0.07f));
    g.drawHorizontalLine ((int) area.getBottom(), area.getX() + corner, area.getRight() - corner);
}

void drawWells (juce::Graphics& g, const SkinLayout& layout)
{
    for (const auto& control : layout.controls)
    {
        const auto area = control.bounds.toFloat();
        switch (control.element)
        {
            case Element::display:
            case Element::numericDisplay:
            case Element::patternNumberDisplay:
                drawWell (g, area.expanded (3.0f), 4.0f);
                g.setColour (control.element == Element::display ? control.background : colour::displayGlass);
                g.fillRect (area);
                break;
            case Element::switchKnob:
            {
                // Twelve ticks mark the selector's positions.
                const auto centre = area.getCentre();
                for (int i = 0; i < control.frames; ++i)
                {
                    const auto d = direction (selectorAngle (i, control.frames));
                    g.setColour (i == 0 ? colour::print : colour::printDim);
                    g.drawLine ({ centre + d * 24.0f, centre + d * 28.0f }, 1.5f);
                }
                break;
            }
            case Element::multiStateButton:
                if (control.states == 3)
                    drawWell (g, area.expanded (2.0f), 7.0f);
                break;
            case Element::knob:
            case Element::animation:
            case Element::button:
                break;
        }
    }
}

// The glyph rows of the character displays' font: the frame for a character.
int glyphFrame (juce::juce_wchar c)
{
    if (c < (juce::juce_wchar) lcdFont::firstGlyph || c > (juce::juce_wchar) lcdFont::lastGlyph)
        return 0;
    return (int) (c - (juce::juce_wchar) lcdFont::firstGlyph);
}

void drawFrame (juce::Graphics& g, const juce::Image& strip, int frames, int frame, juce::Rectangle<int> at)
{
    const int height = strip.getHeight() / frames;
    g.drawImage (strip, at.getX(), at.getY(), strip.getWidth(), height, 0, frame * height, strip.getWidth(), height);
}

// The frame each control shows in the preview: the sequencer on in write
// mode, the bass drum selected, a pattern running at 120 BPM with step 6
// playing, a few voices sounding.
constexpr int playingStep = 5;

int previewFrame (const Control& control)
{
    const auto& name = control.name;
    if (control.element == Element::knob)
    {
        const int value = name.hashCode() % 23;
        return name.contains ("Level") || name == "MainVolumeKnob" ? 40 : 18 + (value < 0 ? -value : value);
    }
    if (control.element == Element::switchKnob)
        return 1;
    if (control.element == Element::animation)
        return name.contains ("Length") || name == "MidiActivityLed" ? 1 : 0;
    if (control.element != Element::multiStateButton)
        return 0;

    int state = 0;
    if (name.startsWith ("Step"))
    {
        const int step = name.substring (4, 6).getIntValue() - 1;
        const int pattern[] = { 2, 0, 1, 0, 2, 0, 1, 1, 2, 0, 1, 0, 2, 0, 1, 2 };
        state = pattern[step];
        if (step == playingStep) // the playing step shows the opposite
            state = state < 1 ? 2 : 0;
    }
    else if (name.endsWith ("ActivityLed"))
        state = name.startsWith ("BassDrum") || name.startsWith ("ClosedHiHat") || name.startsWith ("SnareDrum") ? 1 : 0;
    else
        for (const char* on : { "IntSeqButton", "IntSyncButton", "WriteModeButton", "PlayButton", "Scale4Button",
                                "BassDrumSelectButton", "OpenHiHatMuteButton" })
            state = name == on ? 1 : state;
    return control.threeD ? state * 2 : state;
}

void drawCharacters (juce::Graphics& g, const Control& control, const juce::Image& font, const juce::String& text)
{
    const int cells = control.bounds.getWidth() / lcdFont::glyphWidth;
    const int x0 = control.bounds.getX() + (control.bounds.getWidth() - cells * lcdFont::glyphWidth) / 2;
    const int y0 = control.bounds.getY() + (control.bounds.getHeight() - lcdFont::glyphHeight) / 2;
    for (int i = 0; i < cells; ++i)
        drawFrame (g, font, lcdFont::numGlyphs * 2, glyphFrame (i < text.length() ? text[i] : ' '),
                   { x0 + i * lcdFont::glyphWidth, y0, lcdFont::glyphWidth, lcdFont::glyphHeight });
}

void drawDigits (juce::Graphics& g, const Control& control, const std::map<juce::String, juce::Image>& images,
                 const std::vector<int>& frames)
{
    int x = control.bounds.getX();
    for (size_t i = 0; i < control.digitImages.size(); ++i)
    {
        // Every digit is as tall as the display.
        const auto& strip = images.at (control.digitImages[i]);
        const int height = control.bounds.getHeight();
        drawFrame (g, strip, strip.getHeight() / height, frames[i], { x, control.bounds.getY(), strip.getWidth(), height });
        x += strip.getWidth();
    }
}
} // namespace

juce::Image drawBackground (const SkinLayout& layout, const Fonts& fonts)
{
    auto image = makeImage (layout.width, layout.height);
    juce::Graphics g (image);
    drawFace (g, layout);
    drawLogo (g, { 16.0f, 10.0f, 220.0f, 44.0f }, fonts);
    for (const auto& plate : layout.plates)
        drawPlate (g, plate.toFloat());
    drawColumns (g, layout);
    drawWells (g, layout);

    g.setColour (colour::plateEdge.brighter (0.1f));
    for (const auto& rule : layout.rules)
        g.drawLine (rule, 1.0f);
    for (const auto& legend : layout.legends)
        drawLabel (g, legend.text, legendFont (legend.style, fonts), legend.colour, legend.area.toFloat(), legend.justification);
    return image;
}

juce::Image drawPreview (const SkinLayout& layout, const juce::Image& background,
                         const std::map<juce::String, juce::Image>& images)
{
    auto image = background.createCopy();
    juce::Graphics g (image);
    for (const auto& control : layout.controls)
    {
        switch (control.element)
        {
            case Element::display:
                drawCharacters (g, control, images.at (control.image),
                                control.name == "PatternNameDisplay" ? "Deep House" : "Warehouse Kit");
                break;
            case Element::numericDisplay:
                // Output 1: a blank tens digit; the tempo: 120.0.
                drawDigits (g, control, images, control.digits == 2 ? std::vector<int> { 0, 2 } : std::vector<int> { 2, 3, 1, 1 });
                break;
            case Element::patternNumberDisplay:
                drawDigits (g, control, images, { 2, 18, 1, 2 }); // bank 1, slot 01
                break;
            case Element::knob:
                if (! control.name.contains ("RandThreshold")) // shown only in randomiser mode
                    drawFrame (g, images.at (control.image), control.frames, previewFrame (control), control.bounds);
                break;
            case Element::switchKnob:
            case Element::animation:
            case Element::button:
            case Element::multiStateButton:
                drawFrame (g, images.at (control.image), control.frames, previewFrame (control), control.bounds);
                break;
        }
    }
    return image;
}
} // namespace skinart
