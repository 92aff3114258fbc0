#include "tools/skinart/SkinLayout.h"

#include <cstdlib>
#include <iostream>

namespace skinart
{
namespace
{
//==== The panel's plan (pixels) ================================================================
//
//  +----------------------------------------------------------------------------------------+
//  | logo                             [ PRESET: name  < >  BROWSE  COPY  PASTE  STORE ]       |
//  | [BD][SD][LT][MT][HT][RS][HC][CH][OH][CR][RD][AC] [MAIN]                                  |
//  |   one column per voice: header with activity lamp,      options, about,                  |
//  |   sound knobs, level (or randomiser threshold),         main volume,                     |
//  |   mute, solo, select, output number                     MIDI learn and lamp              |
//  | [ PATTERN: number, name, < >, copy ] [ TEMPO: display, knobs, play ] [ MODE: buttons ]   |
//  | [ TRACK: selector, tap, shift ]      [ STEPS: 16 keys, length lamps, legends ]           |
//  +----------------------------------------------------------------------------------------+

constexpr int panelWidth = 1012;
constexpr int panelHeight = 608;
constexpr int margin = 12;

constexpr int columnTop = 66;
constexpr int columnPitch = 74;
constexpr int columnWidth = 70;
constexpr int columnHeight = 308;
constexpr int numVoiceColumns = 12; // the eleven voices and the accent

constexpr int rowATop = 384;
constexpr int rowAHeight = 88;
constexpr int rowBTop = 480;
constexpr int rowBHeight = 116;

const juce::Colour drumsColour { 0xffe8603c };
const juce::Colour tomsColour { 0xffe8a83a };
const juce::Colour handsColour { 0xff52c48c };
const juce::Colour hatsColour { 0xff3eb2e6 };
const juce::Colour cymbalsColour { 0xff8d92f0 };
const juce::Colour accentColour { 0xffd8dce2 };

// Where a sound knob sits in its column: a row of the knob grid, and left,
// right or centred in it.
enum class Side
{
    left,
    right,
    centre
};

struct SoundKnob
{
    const char* control; // the parameter's name after the voice's
    const char* legend;
    int row;
    Side side;
};

struct Voice
{
    const char* name; // as the parameters and events spell it
    const char* code;
    juce::Colour colour;
    std::vector<SoundKnob> knobs;
};

const std::vector<SoundKnob> tomKnobs { { "Tune", "TUNE", 0, Side::left },         { "Tone", "TONE", 0, Side::right },
                                        { "Tune Decay", "T.DECAY", 1, Side::left }, { "Decay", "DECAY", 1, Side::right },
                                        { "Tune Depth", "T.DEPTH", 2, Side::centre } };
const std::vector<SoundKnob> tuneDecayKnobs { { "Tune", "TUNE", 0, Side::centre }, { "Decay", "DECAY", 1, Side::centre } };

// Track order: the eleven voices, then the accent.
std::vector<Voice> voices()
{
    return {
        { "Bass Drum", "BD", drumsColour,
          { { "Tune", "TUNE", 0, Side::left }, { "Pitch", "PITCH", 0, Side::right }, { "Attack", "ATTACK", 1, Side::left },
            { "Decay", "DECAY", 1, Side::right }, { "Tune Depth", "T.DEPTH", 2, Side::centre } } },
        { "Snare Drum", "SD", drumsColour,
          { { "Tune", "TUNE", 0, Side::left }, { "Tone", "TONE", 0, Side::right }, { "Snappy", "SNAPPY", 1, Side::left },
            { "Decay", "DECAY", 1, Side::right }, { "Tune Depth", "T.DEPTH", 2, Side::centre } } },
        { "Low Tom", "LT", tomsColour, tomKnobs },
        { "Mid Tom", "MT", tomsColour, tomKnobs },
        { "Hi Tom", "HT", tomsColour, tomKnobs },
        { "Rim Shot", "RS", handsColour, tuneDecayKnobs },
        { "Hand Clap", "HC", handsColour, { { "Tune", "TUNE", 0, Side::centre }, { "Reverb", "REVERB", 1, Side::centre } } },
        { "Closed Hi Hat", "CH", hatsColour, tuneDecayKnobs },
        { "Open Hi Hat", "OH", hatsColour, tuneDecayKnobs },
        { "Crash", "CR", cymbalsColour, tuneDecayKnobs },
        { "Ride", "RD", cymbalsColour, tuneDecayKnobs },
        { "Accent", "AC", accentColour, {} },
    };
}

juce::String withoutSpaces (const juce::String& text) { return text.removeCharacters (" "); }
juce::String twoDigits (int n) { return juce::String (n).paddedLeft ('0', 2); }

const juce::String onClick ("onClick"), onClickWithCtrl ("onClickWithCtrl"), onClickWithShift ("onClickWithShift"),
    onRightClick ("onRightClick");

// Adds controls and print to the layout; a control takes its size from its
// strip.
class Builder
{
public:
    Builder (const std::vector<Strip>& s, SkinLayout& l) : strips (s), layout (l) {}

    Control& add (Element element, const juce::String& name, juce::Point<int> position, const juce::String& image)
    {
        const auto& strip = findStrip (strips, image);
        Control control;
        control.name = name;
        control.element = element;
        control.image = image;
        control.frames = strip.frames;
        control.bounds = { position.x, position.y, strip.width, strip.height };
        layout.controls.push_back (control);
        return layout.controls.back();
    }

    Control& knob (const juce::String& name, juce::Point<int> position, const juce::String& image, const juce::String& parameter)
    {
        return add (Element::knob, name, position, image).linkTo (parameter);
    }

    Control& stateButton (const juce::String& name, juce::Point<int> position, const juce::String& image, int states, bool threeD)
    {
        auto& control = add (Element::multiStateButton, name, position, image);
        control.states = states;
        control.threeD = threeD;
        if (control.frames != states * (threeD ? 2 : 1))
            fail (name + ": " + image + " does not hold " + juce::String (states) + " states");
        return control;
    }

    Control& button (const juce::String& name, juce::Point<int> position, const juce::String& image)
    {
        return add (Element::button, name, position, image);
    }

    Control& lamp (const juce::String& name, juce::Point<int> position, const juce::String& image)
    {
        return add (Element::animation, name, position, image);
    }

    void legend (const juce::String& text, juce::Rectangle<int> area, Legend::Style style = Legend::Style::label,
                 juce::Colour colour = colour::print, juce::Justification justification = juce::Justification::centred)
    {
        layout.legends.push_back ({ text, area, style, colour, justification });
    }

    // A legend in the 10 pixels under a control, as wide as the given width.
    void legendUnder (const Control& control, const juce::String& text, int width)
    {
        legend (text, juce::Rectangle<int> (width, 10).withCentre ({ control.bounds.getCentreX(), control.bounds.getBottom() + 5 }));
    }

    void title (const juce::String& text, juce::Rectangle<int> plate)
    {
        legend (text, { plate.getX() + 10, plate.getY() + 4, plate.getWidth() - 20, 10 }, Legend::Style::title,
                colour::printDim, juce::Justification::centredLeft);
    }

    juce::Rectangle<int> plate (juce::Rectangle<int> area, const juce::String& name)
    {
        layout.plates.push_back (area);
        title (name, area);
        return area;
    }

    void rule (float x0, float y0, float x1, float y1) { layout.rules.push_back ({ x0, y0, x1, y1 }); }

    static void fail (const juce::String& what)
    {
        std::cerr << "skin layout: " << what << std::endl;
        std::exit (1);
    }

private:
    const std::vector<Strip>& strips;
    SkinLayout& layout;
};

//==== The groups ===============================================================================

void addPresetBar (Builder& b)
{
    const auto plate = b.plate ({ 398, 8, panelWidth - margin - 398, 48 }, "PRESET");
    const int y = plate.getY() + 17;
    auto& name = b.add (Element::display, "PresetNameDisplay", { plate.getX() + 10, y }, "LcdFont.png")
                     .linkTo ("Current Preset Name");
    name.bounds.setSize (256, 22);
    name.background = colour::lcdGlass;
    name.caret = colour::lcdText;

    int x = name.bounds.getRight() + 10;
    auto next = [&x] (const Control& control, int gap = 4) { x = control.bounds.getRight() + gap; };
    // Held, the arrows step on through the presets.
    next (b.button ("PresetPrevButton", { x, y + 1 }, "ButtonLeft.png").on (onClick, "Select previous preset").with ("autorepeat", "yes"), 2);
    next (b.button ("PresetNextButton", { x, y + 1 }, "ButtonRight.png").on (onClick, "Select next preset").with ("autorepeat", "yes"), 10);
    next (b.button ("PresetBrowseButton", { x, y + 1 }, "ButtonBrowse.png").on (onClick, "Browse presets"));
    next (b.button ("PresetCopyButton", { x, y + 1 }, "ButtonCopy.png").on (onClick, "Copy current preset"));
    next (b.button ("PresetPasteButton", { x, y + 1 }, "ButtonPaste.png").on (onClick, "Paste copied preset"));
    next (b.button ("PresetStoreButton", { x, y + 1 }, "ButtonStore.png").on (onClick, "Store current preset"));
}

void addVoiceColumn (Builder& b, SkinLayout& layout, const Voice& voice, int index)
{
    const int x = margin + index * columnPitch, y = columnTop;
    const juce::String name (voice.name), prefix = withoutSpaces (name);
    const bool isAccent = voice.knobs.empty();
    layout.columns.push_back ({ { x, y, columnWidth, columnHeight }, voice.colour });

    b.legend (voice.code, { x + 8, y + 7, 40, 16 }, Legend::Style::code, voice.colour, juce::Justification::centredLeft);
    b.legend (name, { x + 3, y + 23, columnWidth - 6, 10 }, Legend::Style::small, colour::printDim);
    if (! isAccent)
        b.stateButton (prefix + "ActivityLed", { x + 50, y + 9 }, "LampGreen.png", 2, false).linkTo (name + " Activity");

    // The sound knobs: up to three rows of two.
    for (const auto& sound : voice.knobs)
    {
        const int kx = sound.side == Side::left ? x + 3 : sound.side == Side::right ? x + 37 : x + 20;
        const auto& knob = b.knob (prefix + withoutSpaces (sound.control) + "Knob", { kx, y + 38 + sound.row * 46 },
                                   "KnobSmall.png", name + " " + sound.control);
        b.legendUnder (knob, sound.legend, 34);
    }
    b.rule ((float) x + 6, (float) y + 177, (float) (x + columnWidth - 6), (float) y + 177);

    // The level knob, and the randomiser's threshold knob in the same place:
    // the editor shows one or the other, and the lamp beside them says which.
    // The level knob comes later, so it is the one on top until then.
    b.knob (prefix + "RandThresholdKnob", { x + 6, y + 182 }, "KnobRand.png", name + " Rand Threshold");
    const auto& level = b.knob (prefix + "LevelKnob", { x + 6, y + 182 }, "KnobLevel.png", name + " Level");
    b.legendUnder (level, "LEVEL", 44);
    b.lamp (prefix + "LevelModeLed", { x + 51, y + 186 }, "LampTeal.png").linkTo (name + " Rand State");
    b.legend ("RND", { x + 47, y + 199, 20, 9 }, Legend::Style::small, colour::teal);
    if (isAccent)
        return;

    b.stateButton (prefix + "MuteButton", { x + 4, y + 238 }, "MuteButton.png", 2, true)
        .onPress()
        .linkTo (name + " Mute")
        .on (onClick, "Toggle " + name + " Mute")
        .on (onClickWithCtrl, "Inverse " + name + " Mute");
    b.stateButton (prefix + "SoloButton", { x + 36, y + 238 }, "SoloButton.png", 2, true)
        .onPress()
        .linkTo (name + " Solo")
        .on (onClick, "Toggle " + name + " Solo")
        .on (onClickWithCtrl, "Inverse " + name + " Solo");
    // A click picks this track alone; Shift, Ctrl or the right button adds it
    // to or takes it from the selected tracks.
    b.stateButton (prefix + "SelectButton", { x + 4, y + 259 }, "SelectButton.png", 2, true)
        .linkTo (name + " Selection")
        .on (onClick, "Select " + name)
        .on (onClickWithShift, "Toggle " + name + " Selection")
        .on (onClickWithCtrl, "Toggle " + name + " Selection")
        .on (onRightClick, "Toggle " + name + " Selection");

    b.legend ("OUT", { x + 6, y + 284, 26, 12 }, Legend::Style::label, colour::printDim, juce::Justification::centredLeft);
    auto& output = b.add (Element::numericDisplay, prefix + "OutputDisplay", { x + 36, y + 279 }, "DigitSmall.png")
                       .linkTo (name + " Output Number");
    output.digits = 2;
    output.firstDigitOrder = 10;
    output.minValue = 1.0;
    output.maxValue = 12.0;
    output.continuous = true;
    output.digitImages = { "DigitSmall.png", "DigitSmall.png" };
    output.bounds.setWidth (output.bounds.getWidth() * 2);
}

void addMasterColumn (Builder& b, SkinLayout& layout)
{
    const int x = margin + numVoiceColumns * columnPitch, y = columnTop;
    const int width = panelWidth - margin - x;
    layout.columns.push_back ({ { x, y, width, columnHeight }, colour::orange });
    b.legend ("MAIN", { x + 8, y + 7, 60, 16 }, Legend::Style::code, colour::orange, juce::Justification::centredLeft);
    b.legend ("Master", { x + 3, y + 23, width - 6, 10 }, Legend::Style::small, colour::printDim);

    const int cx = x + width / 2;
    b.button ("OptionsButton", { cx - 28, y + 46 }, "ButtonOptions.png").on (onClick, "Options");
    b.button ("AboutButton", { cx - 28, y + 74 }, "ButtonAbout.png").on (onClick, "About");
    b.rule ((float) x + 6, (float) y + 170, (float) (x + width - 6), (float) y + 170);

    // Level with the voices' level knobs.
    const auto& volume = b.knob ("MainVolumeKnob", { cx - 26, y + 176 }, "KnobLarge.png", "Main Volume");
    b.legendUnder (volume, "VOLUME", 60);

    b.legend ("MIDI", { x + 8, y + 250, 40, 10 }, Legend::Style::title, colour::printDim, juce::Justification::centredLeft);
    b.stateButton ("MidiLearnButton", { x + 8, y + 262 }, "LearnButton.png", 2, false).on (onClick, "Toggle Midi Learn");
    b.lamp ("MidiActivityLed", { x + 70, y + 266 }, "LampGreen.png");
    b.legend ("IN", { x + 66, y + 279, 20, 9 }, Legend::Style::small, colour::printDim);
}

void addPatternPlate (Builder& b)
{
    const auto plate = b.plate ({ margin, rowATop, 330, rowAHeight }, "PATTERN");
    const int x = plate.getX() + 10, y = plate.getY() + 18;

    // Bank and slot ("1-01") while the sequencer plays its own patterns, the
    // MIDI note that selects it ("P.C#1") in host mode; blank while off.
    auto& number = b.add (Element::patternNumberDisplay, "PatternNumberDisplay", { x, y }, "PatternDigit1.png")
                       .linkTo ("Pattern Number");
    number.digitImages = { "PatternDigit1.png", "PatternDigit2.png", "PatternDigit3.png", "PatternDigit4.png" };
    number.bounds.setWidth (number.bounds.getWidth() * 4);
    // Host mode numbers the patterns by their MIDI keys, 12 to 107.
    number.attributes = { { "slotMax", "12" },          { "bankAndSlotPatternMin", "1" }, { "bankAndSlotPatternMax", "96" },
                          { "notePatternMin", "12" },   { "notePatternMax", "107" },      { "numericPatternMin", "1" },
                          { "numericPatternMax", "96" } };

    auto& name = b.add (Element::display, "PatternNameDisplay", { x + 90, y }, "LcdFont.png").linkTo ("Pattern Name");
    name.bounds.setSize (220, 22);
    name.background = colour::lcdGlass;
    name.caret = colour::lcdText;

    const int row = y + 36;
    b.button ("PattPrevButton", { x, row }, "ButtonLeft.png").on (onClick, "Prev").on (onClickWithCtrl, "Load Patterns");
    b.button ("PattNextButton", { x + 28, row }, "ButtonRight.png").on (onClick, "Next").on (onClickWithCtrl, "Save Patterns");
    b.button ("CopyButton", { x + 90, row }, "ButtonCopy.png").on (onClick, "Copy Tracks").on (onClickWithCtrl, "Copy Pattern");
    b.button ("PasteButton", { x + 136, row }, "ButtonPaste.png").on (onClick, "Paste");
    b.button ("ClearButton", { x + 182, row }, "ButtonClear.png").on (onClick, "Clear").on (onClickWithCtrl, "Clear All Instruments");
    b.legend ("ON THE", { x + 232, row + 1, 78, 9 }, Legend::Style::small, colour::printDim, juce::Justification::centredLeft);
    b.legend ("SELECTED TRACKS", { x + 232, row + 10, 78, 9 }, Legend::Style::small, colour::printDim,
              juce::Justification::centredLeft);
    b.legend (juce::CharPointer_UTF8 ("CTRL:  \xe2\x97\x80 LOAD   \xe2\x96\xb6 SAVE   COPY, CLEAR THE WHOLE PATTERN"),
              { x, row + 23, 310, 9 }, Legend::Style::small, colour::printDim, juce::Justification::centredLeft);
}

void addTempoPlate (Builder& b)
{
    const auto plate = b.plate ({ 350, rowATop, 300, rowAHeight }, "TEMPO");
    const int x = plate.getX() + 10, y = plate.getY() + 18;

    auto& tempo = b.add (Element::numericDisplay, "TempoDisplay", { x, y }, "DigitLarge.png").linkTo ("Pattern Tempo");
    tempo.digits = 4;
    tempo.firstDigitOrder = 100;
    tempo.minValue = 30.0;
    tempo.maxValue = 300.0;
    tempo.digitImages = { "DigitLarge.png", "DigitLarge.png", "DigitLargePoint.png", "DigitLarge.png" };
    tempo.bounds.setWidth (tempo.bounds.getWidth() * 4);
    b.legendUnder (tempo, "BPM", 60);

    const char* const knobs[][3] = { { "TempoKnob", "Pattern Tempo", "TEMPO" },
                                     { "ShuffleKnob", "Pattern Shuffle", "SHUFFLE" },
                                     { "FlamKnob", "Pattern Flam", "FLAM" } };
    for (int i = 0; i < 3; ++i)
        b.legendUnder (b.knob (knobs[i][0], { x + 92 + i * 48, y - 4 }, "KnobMedium.png", knobs[i][1]), knobs[i][2], 48);

    b.stateButton ("PlayButton", { x + 234, y + 1 }, "ModePlay.png", 2, true)
        .onPress()
        .linkTo ("Play State")
        .on (onClick, "Start/Stop");
    b.legend ("START/STOP", { x + 228, y + 31, 60, 9 }, Legend::Style::small, colour::printDim);
}

void addModePlate (Builder& b)
{
    const auto plate = b.plate ({ 658, rowATop, panelWidth - margin - 658, rowAHeight }, "MODE");
    const int x = plate.getX() + 10, y = plate.getY() + 16;

    const char* const modes[][4] = {
        { "IntSeqButton", "ModeSequencer.png", "Internal Sequencer State", "Toggle Internal Sequencer" },
        { "IntSyncButton", "ModeClock.png", "Internal Sync State", "Toggle Internal Sync" },
        { "WriteModeButton", "ModeWrite.png", "Write Mode State", "Toggle Pattern Write Mode" },
        { "AutoFollowButton", "ModeFollow.png", "Auto Follow State", "Toggle Auto Follow Mode" },
        { "TapModeButton", "ModeTap.png", "Tap Mode State", "Toggle Tap Mode" },
        { "FlamModeButton", "ModeFlam.png", "Flam Mode State", "Toggle Flam Mode" },
        { "PattRandModeButton", "ModeRandom.png", "Randomizer State", "Toggle Randomizer" },
        { "PattLengthButton", "ModeLength.png", "Length Mode State", "Toggle Length Mode" },
    };
    for (int i = 0; i < 8; ++i)
        b.stateButton (modes[i][0], { x + i * 41, y }, modes[i][1], 2, true).linkTo (modes[i][2]).on (onClick, modes[i][3]);

    const int row = y + 36;
    b.legend ("SCALE", { x, row + 5, 32, 12 }, Legend::Style::label, colour::printDim, juce::Justification::centredLeft);
    const int scales[] = { 3, 4, 6, 8 };
    for (int i = 0; i < 4; ++i)
    {
        const juce::String n (scales[i]);
        b.stateButton ("Scale" + n + "Button", { x + 36 + i * 27, row }, "ModeScale" + n + ".png", 2, true)
            .linkTo ("Pattern Scale " + n + " SPB State")
            .on (onClick, "Select Scale " + n + " SPB");
    }
    b.legend ("steps per beat", { x + 36, row + 23, 105, 9 }, Legend::Style::small, colour::printDim,
              juce::Justification::centredLeft);

    b.button ("AcceptButton", { x + 238, row + 1 }, "ButtonAccept.png").on (onClick, "Accept");
    b.button ("UndoButton", { x + 284, row + 1 }, "ButtonUndo.png").on (onClick, "Undo");
}

void addTrackPlate (Builder& b)
{
    const auto plate = b.plate ({ margin, rowBTop, 148, rowBHeight }, "TRACK");
    const juce::Point<int> centre (plate.getCentreX(), plate.getY() + 54);

    // The selector starts at the accent, then the voices in track order; the
    // codes are printed around it at the angles of its twelve positions.
    auto& selector = b.add (Element::switchKnob, "InstrumentSwitch", centre - juce::Point<int> (22, 22), "InstrumentSwitch.png")
                         .linkTo ("Instrument Selection With Accent First");
    const char* const codes[] = { "AC", "BD", "SD", "LT", "MT", "HT", "RS", "HC", "CH", "OH", "CR", "RD" };
    for (int i = 0; i < selector.frames; ++i)
    {
        const auto at = centre.toFloat() + direction (selectorAngle (i, selector.frames)) * 36.0f;
        b.legend (codes[i], juce::Rectangle<int> (20, 10).withCentre (at.roundToInt()), Legend::Style::small,
                  i == 0 ? accentColour : colour::print);
    }

    const int row = plate.getBottom() - 27;
    b.button ("TapButton", { plate.getX() + 10, row }, "ButtonTap.png")
        .onPress()
        .on (onClick, "Tap")
        .on (onClickWithCtrl, "Tap Accented")
        .on (onRightClick, "Tap Accented");
    b.legend ("SHIFT", { plate.getX() + 56, row + 5, 30, 9 }, Legend::Style::small, colour::printDim);
    b.button ("ShiftLeftButton", { plate.getX() + 86, row }, "ButtonLeft.png")
        .on (onClick, "Shift Left")
        .on (onClickWithCtrl, "Shift Left All Tracks");
    b.button ("ShiftRightButton", { plate.getX() + 114, row }, "ButtonRight.png")
        .on (onClick, "Shift Right")
        .on (onClickWithCtrl, "Shift Right All Tracks");
}

void addStepsPlate (Builder& b)
{
    const auto plate = b.plate ({ 168, rowBTop, panelWidth - margin - 168, rowBHeight }, "STEPS");
    constexpr int pitch = 48, groupGap = 8, keySize = 44, numSteps = 16, captionWidth = 34;
    const int span = (numSteps - 1) * pitch + 3 * groupGap + keySize;
    const int x0 = plate.getRight() - 10 - span;
    const int keysTop = plate.getY() + 24;
    const int numbersTop = keysTop + keySize + 2, padsTop = numbersTop + 12, playTop = padsTop + 15;

    // What the keys play with the sequencer off: the voices, the five drums
    // each plain and accented.
    const struct { const char* text; juce::Colour colour; } pads[numSteps] = {
        { "BD", drumsColour },  { "BD ACC", drumsColour }, { "SD", drumsColour },   { "SD ACC", drumsColour },
        { "LT", tomsColour },   { "LT ACC", tomsColour },  { "MT", tomsColour },    { "MT ACC", tomsColour },
        { "HT", tomsColour },   { "HT ACC", tomsColour },  { "RS", handsColour },   { "HC", handsColour },
        { "CH", hatsColour },   { "OH", hatsColour },      { "CR", cymbalsColour }, { "RD", cymbalsColour },
    };

    // The captions of the rows under the keys.
    const int captionX = plate.getX() + 8;
    b.legend ("STEP", { captionX, numbersTop + 1, captionWidth, 9 }, Legend::Style::small, colour::printDim,
              juce::Justification::centredLeft);
    b.legend ("PADS", { captionX, padsTop, captionWidth, 9 }, Legend::Style::small, colour::printDim, juce::Justification::centredLeft);
    b.legend ("PLAY", { captionX, playTop, captionWidth, 9 }, Legend::Style::small, colour::printDim, juce::Justification::centredLeft);

    std::vector<int> keyX;
    for (int s = 0; s < numSteps; ++s)
    {
        const int x = x0 + s * pitch + (s / 4) * groupGap;
        keyX.push_back (x);
        const auto nn = twoDigits (s + 1);
        b.lamp ("Step" + nn + "LengthLed", { x + 7, keysTop - 9 }, "StepLengthLamp.png").linkTo ("Step " + nn + " Length State");
        b.stateButton ("Step" + nn + "Button", { x, keysTop }, "StepKey.png", 3, true)
            .onPress()
            .linkTo ("Step " + nn + " State")
            .on (onClick, "Press Step " + nn)
            .on (onClickWithCtrl, "Press Step " + nn + " With Ctrl")
            .on (onClickWithShift, "Press Step " + nn + " With Shift")
            .on (onRightClick, "Press Step " + nn + " With Shift");
        b.legend (juce::String (s + 1), { x, numbersTop, keySize, 11 }, Legend::Style::number);
        b.legend (pads[s].text, { x, padsTop, keySize, 9 }, Legend::Style::small, pads[s].colour);
    }

    // In play mode keys 1-12 pick a pattern of the bank and 13-16 the bank
    // (pressed again: the upper four).
    const float line = (float) playTop + 4.5f;
    auto bracket = [&b, line] (int left, int right, const juce::String& text, int textWidth) {
        const int middle = (left + right) / 2;
        b.rule ((float) left, line - 3.0f, (float) left, line);
        b.rule ((float) left, line, (float) (middle - textWidth / 2 - 4), line);
        b.rule ((float) (middle + textWidth / 2 + 4), line, (float) right, line);
        b.rule ((float) right, line - 3.0f, (float) right, line);
        b.legend (text, juce::Rectangle<int> (textWidth, 9).withCentre ({ middle, (int) line }), Legend::Style::small, colour::print);
    };
    bracket (keyX[0] + 2, keyX[11] + keySize - 2, "PATTERNS 1-12 OF THE BANK", 130);
    bracket (keyX[12] + 2, keyX[15] + keySize - 2, "BANKS 1-4, PRESSED TWICE 5-8", 150);
}
} // namespace

juce::String tagOf (Element element)
{
    switch (element)
    {
        case Element::knob: return "Knob";
        case Element::switchKnob: return "Switch";
        case Element::animation: return "Animation";
        case Element::button: return "Button";
        case Element::multiStateButton: return "MultiStateButton";
        case Element::numericDisplay: return "NumericDisplay";
        case Element::display: return "Display";
        case Element::patternNumberDisplay: return "PatternNumberDisplay";
    }
    return {};
}

const Strip& findStrip (const std::vector<Strip>& strips, const juce::String& file)
{
    for (const auto& strip : strips)
        if (strip.file == file)
            return strip;
    Builder::fail ("no strip named " + file);
    return strips.front();
}

SkinLayout makeLayout (const std::vector<Strip>& strips)
{
    SkinLayout layout;
    layout.width = panelWidth;
    layout.height = panelHeight;
    Builder builder (strips, layout);

    addPresetBar (builder);
    const auto table = voices();
    for (int t = 0; t < (int) table.size(); ++t)
        addVoiceColumn (builder, layout, table[(size_t) t], t);
    addMasterColumn (builder, layout);
    addPatternPlate (builder);
    addTempoPlate (builder);
    addModePlate (builder);
    addTrackPlate (builder);
    addStepsPlate (builder);
    return layout;
}
} // namespace skinart
