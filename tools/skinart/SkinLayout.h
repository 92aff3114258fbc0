#pragma once

#include "tools/skinart/Strips.h"

#include <deque>
#include <vector>

// The built-in skin's layout: every control with its place, strip, parameter
// and events, and the print of the panel around them (plates, titles,
// legends). The skin document and the background are both written from it,
// so a control and its legend cannot drift apart. Build tool only.
namespace skinart
{
enum class Element
{
    knob,
    switchKnob,
    animation,
    button,
    multiStateButton,
    numericDisplay,
    display,
    patternNumberDisplay
};

// The element's tag in the skin document ("Knob", "MultiStateButton", ...).
juce::String tagOf (Element element);

struct Action
{
    juce::String type;  // "onClick", "onClickWithCtrl", "onClickWithShift", "onRightClick"
    juce::String event; // the event's name
};

struct Control
{
    juce::String name;
    Element element = Element::knob;
    juce::Rectangle<int> bounds; // on the panel
    juce::String image;          // the strip, the digit strip or the font
    int frames = 1;              // of the image
    juce::String link;           // the parameter's name, or empty
    std::vector<Action> actions;

    // Multi-state buttons: number of states, 3D (released and pressed
    // frames per state) or 2D.
    int states = 2;
    bool threeD = false;

    // Numeric displays: digit count, place value of the first digit, range
    // in the parameter's units, dragging by one unit anywhere, and one strip
    // per digit. The pattern number display keeps its four strips here too.
    int digits = 0;
    int firstDigitOrder = 0;
    double minValue = 0.0, maxValue = 0.0;
    bool continuous = false;
    std::vector<juce::String> digitImages;

    // Character displays: the glass and caret colours.
    juce::Colour background, caret;

    // Further attributes of the element, written as they stand.
    std::vector<std::pair<juce::String, juce::String>> attributes;

    Control& linkTo (const juce::String& parameter) { link = parameter; return *this; }
    Control& on (const juce::String& type, const juce::String& event) { actions.push_back ({ type, event }); return *this; }
    Control& with (const juce::String& attribute, const juce::String& value) { attributes.push_back ({ attribute, value }); return *this; }

    // Acts when pressed rather than when released: keys played in time.
    Control& onPress() { return with ("clickEvent", "onPress"); }
};

// Print on the panel.
struct Legend
{
    enum class Style
    {
        label,  // under a control
        title,  // a group's name
        small,  // secondary notes
        number, // the step numbers
        code    // a voice's code in its column header
    };

    juce::String text;
    juce::Rectangle<int> area;
    Style style = Style::label;
    juce::Colour colour;
    juce::Justification justification = juce::Justification::centred;
};

// A voice's column: its colour bar and header.
struct Column
{
    juce::Rectangle<int> area;
    juce::Colour colour;
};

struct SkinLayout
{
    int width = 0, height = 0;
    std::vector<juce::Rectangle<int>> plates;
    std::vector<Column> columns;
    std::vector<juce::Line<float>> rules; // thin dividers and brackets
    std::vector<Legend> legends;
    std::deque<Control> controls; // grows without moving the controls already placed
};

// The layout on the given strips (their frame sizes place the controls).
SkinLayout makeLayout (const std::vector<Strip>& strips);

// The strip of that file; the build stops when there is none.
const Strip& findStrip (const std::vector<Strip>& strips, const juce::String& file);
} // namespace skinart
