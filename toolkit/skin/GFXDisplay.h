#pragma once

#include "toolkit/binding/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

class GFXDisplay;

// Hears of the user's edits of a display: the editor, which knows what an
// edit means (renaming the preset or the pattern).
class GFXDisplayListener
{
public:
    virtual ~GFXDisplayListener() = default;

    // Message thread: an edit ended (Return, or the focus went elsewhere) with
    // a text other than the one it began with; display->getText() holds it.
    // The listener may delete the display.
    virtual void displayTextEdited (GFXDisplay* display) = 0;
};

// A line of text drawn with a bitmap font cut from a skin image, one glyph per
// cell, which the user edits in place with the keyboard (the preset and
// pattern names). The display never writes its parameter: its listeners do
// what an edit means. Message thread.
//
//   <Display name="PresetNameDisplay" backgroundColour="FF1E2A1C" caretColour="FFFFB040" readonly="no">
//     <links><link as="connectedTo" param="Current Preset Name"/></links>
//     <gfx resource="LcdFont.png" fontHeight="15" firstASCII=" "/>
//     <size width="256" height="22"/><pos left="408" top="25"/>
//   </Display>
// The font image is one column of glyph rows, fontHeight pixels each, as wide
// as one cell: the upper half holds the glyphs from firstASCII on, the lower
// half the same glyphs drawn as the caret cell. The element's name is the
// text shown until the parameter's value arrives; "readonly" "yes" disables
// the display.
//
// Editing: a click (or startEditing) takes the keyboard focus, and the edit
// runs while the display holds it, with the caret at the start of the text.
// The display edits in place, inside the editor's window: on Linux the
// editor's own window gets the keys once clicked, inside any host. Return
// ends the edit; Escape restores the text first; a click anywhere else, or
// the focus going elsewhere, ends it too. While editing, every key is
// consumed: Backspace, Delete, Home, End, Left and Right move through the
// text, and a character the font holds is inserted at the caret.
class GFXDisplay : public GUIController, public juce::Component, private juce::Timer
{
public:
    explicit GFXDisplay (const juce::String& name = {});
    ~GFXDisplay() override;

    // Shows the parameter's text.
    void updateFromParameter (Parameter* parameter) override;

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // The text shown, and edited while an edit runs (the caret stays within
    // it). Any text is safe: a character the font lacks draws the nearest
    // glyph at that end of the font (any character beyond ASCII the first),
    // and what does not fit in the cells is cut off.
    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    // The bitmap font: the image (as wide as one cell), the height of a glyph
    // row and the character of the first glyph. An image too short for one
    // glyph in each half, or a height below 1, holds no glyphs: the text is
    // then written with the toolkit's font instead.
    void setFont (const juce::Image& fontImage, int fontHeight, juce::juce_wchar firstCharacter = ' ');
    bool hasFont() const noexcept { return numGlyphs > 0; }
    int getNumGlyphs() const noexcept { return numGlyphs; }
    juce::juce_wchar getFirstCharacter() const noexcept { return firstASCII; }
    juce::juce_wchar getLastCharacter() const noexcept { return lastASCII; }

    // The cells across the display (width / glyph width); 0 without a font.
    int getNumCells() const noexcept;

    // Starts an edit as a click does (how a caller offers "rename"): the
    // display takes the keyboard focus, and the edit begins when it gets it.
    // Nothing happens when the display is disabled or not on screen.
    void startEditing();
    bool isEditing() const noexcept { return editing; }

    // The caret's character index and the index of the character in the
    // first cell.
    int getCaret() const noexcept { return caret; }
    int getScroll() const noexcept { return scroll; }

    // Listeners are told last added first; null and duplicates are refused.
    void addDisplayListener (GFXDisplayListener* listener);
    void removeDisplayListener (GFXDisplayListener* listener);

    void paint (juce::Graphics& g) override;
    void colourChanged() override;
    void enablementChanged() override;

    // Message thread, from JUCE (tests call them as JUCE would).
    void mouseDown (const juce::MouseEvent& event) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;

    // The caret blinks at this period while editing (milliseconds).
    static constexpr int caretBlinkMs = 500;

protected:
    // In the dark phase of a blink the text is hidden.
    void blinkStateChanged() override { repaint(); }

private:
    // Ends the edit when the user clicks anywhere but on the display: a click
    // on a control that takes no keyboard focus leaves the focus here.
    class ClickElsewhere : public juce::MouseListener
    {
    public:
        explicit ClickElsewhere (GFXDisplay& display) noexcept : owner (display) {}
        void mouseDown (const juce::MouseEvent& event) override; // message thread

    private:
        GFXDisplay& owner;
    };

    void timerCallback() override; // message thread

    void beginEdit();
    void endEdit();
    void finishEditAndLetGoOfFocus();
    void caretMoved();
    void updateScroll();
    bool isInsertable (juce::juce_wchar character) const noexcept;
    int glyphFor (juce::juce_wchar character) const noexcept;

    juce::Image font;
    int glyphWidth = 8, fontHeight = 0;
    juce::juce_wchar firstASCII = ' ', lastASCII = 160;
    int numGlyphs = 0;

    juce::String text, textBeforeEdit;
    int caret = 0, scroll = 0;
    bool caretVisible = false;
    bool editing = false;

    ClickElsewhere clickElsewhere { *this };
    juce::ListenerList<GFXDisplayListener> displayListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GFXDisplay)
};

// A display of a float parameter's number, written as a standard stream
// writes it ("0.5", "120", "1e+07"). When the number fills the cells and its
// last visible character would be the decimal point, it is shifted one cell
// right, so the figures shown do not end in a lone point.
class GFXDisplayFloat : public GFXDisplay
{
public:
    using GFXDisplay::GFXDisplay;

    void updateFromParameter (Parameter* parameter) override;
};
