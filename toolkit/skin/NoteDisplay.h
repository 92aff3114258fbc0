#pragma once

#include "toolkit/binding/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <optional>

// A MIDI note (0 to 127) shown in three image cells laid left to right: its
// letter, its accidental and its octave. Dragging it up or down by 20 pixels
// steps the note by one, one gesture per drag, and writes the note as its
// parameter's integer. Message thread.
//
//   <NoteDisplay name="RootNote">
//     <links><link as="connectedTo" param="Root Note"/></links>
//     <size width="30" height="16"/>
//     <gfx><notes resource="NoteLetters.png"/><tones resource="NoteSigns.png"/>
//          <octaves resource="NoteOctaves.png"/></gfx>
//     <pos left="10" top="20"/>
//   </NoteDisplay>
// The size gives each cell a third of the width and the whole height; a cell
// with its strip takes the strip's frame size instead. The strips' frames:
//   notes    9: blank, C, D, E, F, G, A, B, a dash
//   tones    3: blank, "#", "-"
//   octaves 13: blank, octaves 0 to 10, a dash
// A cell without its strip writes its letter, sign or octave figure ("H" for
// octave 10) in black on white. Disabled, or in the dark phase of a blink,
// every cell is blank.
class NoteDisplay : public GUIController, public juce::Component
{
public:
    enum Cell
    {
        notesCell,
        tonesCell,
        octavesCell
    };

    explicit NoteDisplay (const juce::String& name = {});
    ~NoteDisplay() override;

    // Shows the parameter's integer, limited to 0..127.
    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Shows the note, limited to 0..127; repaints when it changed.
    void setNote (int newNote);
    int getNote() const noexcept { return note; }

    // The frame each cell shows now (0: blank).
    int getCellFrame (Cell cell) const noexcept;
    juce::Rectangle<int> getCellBounds (Cell cell) const noexcept { return cells[static_cast<size_t> (cell)].bounds; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    static constexpr int pixelsPerStep = 20;
    static constexpr int framesPerCell[] = { 9, 3, 13 };

protected:
    void enablementChanged() override { repaint(); }
    void blinkStateChanged() override { repaint(); }

private:
    struct CellLook
    {
        juce::Image strip;
        juce::Rectangle<int> bounds;
    };

    juce::String getCellText (Cell cell) const;
    void layOutCells();

    std::array<CellLook, 3> cells;
    int note = 0;
    int dragStartNote = 0;
    std::optional<ScopedGesture> gesture;
};
