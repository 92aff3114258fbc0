#include "toolkit/skin/NoteDisplay.h"

#include "framework/core/NoteNames.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "toolkit/binding/FrameStrip.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
constexpr const char* cellTags[] = { "notes", "tones", "octaves" };

int limitToNote (int value) noexcept
{
    return clampToRange (value, 0, highestNoteNumber);
}
} // namespace

NoteDisplay::NoteDisplay (const juce::String& name) : juce::Component (name)
{
    for (auto& cell : cells)
        cell.bounds.setSize (10, 16);

    layOutCells();
}

NoteDisplay::~NoteDisplay() = default;

void NoteDisplay::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setNote (parameter->getInt());
}

void NoteDisplay::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (! tagIs (&element, "NoteDisplay"))
        return;

    if (const auto size = toolkit::readSize (element, reader))
        for (auto& cell : cells)
            cell.bounds.setSize (size->x / 3, size->y);

    const auto* gfx = findChildWithTag (&element, "gfx");

    for (size_t i = 0; i < cells.size(); ++i)
    {
        const auto* image = findChildWithTag (gfx, cellTags[i]);

        if (image == nullptr)
            continue;

        const auto resource = image->getStringAttribute ("resource");
        auto strip = reader.findImage (resource);

        if (! strip.isValid())
            continue;

        const int frames = reader.checkFrameCount (resource, strip, framesPerCell[i]);
        cells[i].strip = strip;
        cells[i].bounds.setSize (strip.getWidth(), strip.getHeight() / frames);
    }

    layOutCells();

    if (const auto position = toolkit::readPosition (element, reader))
        setTopLeftPosition (*position);

    repaint();
}

void NoteDisplay::layOutCells()
{
    // Left to right, each where the one before ends; the display as wide as
    // the three and as high as the highest.
    int x = 0, height = 0;

    for (auto& cell : cells)
    {
        cell.bounds.setPosition (x, 0);
        x += cell.bounds.getWidth();
        height = juce::jmax (height, cell.bounds.getHeight());
    }

    setSize (x, height);
}

void NoteDisplay::setNote (int newNote)
{
    newNote = limitToNote (newNote);

    if (newNote == note)
        return;

    note = newNote;
    repaint();
}

int NoteDisplay::getCellFrame (Cell cell) const noexcept
{
    if (! isEnabled() || isBlinkDark())
        return 0;

    switch (cell)
    {
        case notesCell: return whiteKeyIndex (note) + 1;
        case tonesCell: return isWhiteKey (note) ? 2 : 1;
        case octavesCell: return note / 12 + 1;
    }

    return 0;
}

juce::String NoteDisplay::getCellText (Cell cell) const
{
    // The cells are the three characters of the note's name ("C#5").
    if (getCellFrame (cell) == 0)
        return {};

    return juce::String::charToString (noteNumberToName (note)[static_cast<int> (cell)]);
}

void NoteDisplay::paint (juce::Graphics& g)
{
    for (size_t i = 0; i < cells.size(); ++i)
    {
        const auto cell = static_cast<Cell> (i);
        const auto& look = cells[i];
        const juce::Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (look.bounds);
        g.setOrigin (look.bounds.getPosition());

        if (look.strip.isValid())
        {
            toolkit::drawFrame (g, look.strip, getCellFrame (cell), look.bounds.getWidth(), look.bounds.getHeight());
            continue;
        }

        const auto area = look.bounds.withZeroOrigin();
        g.setColour (juce::Colours::white);
        g.fillRect (area);
        g.setColour (juce::Colours::black);
        g.setFont (toolkit::makeFont (static_cast<float> (juce::jmax (1, area.getHeight()))));
        g.drawFittedText (getCellText (cell), area, juce::Justification::centred, 1, 0.7f);
    }
}

void NoteDisplay::mouseDown (const juce::MouseEvent&)
{
    gesture.emplace (*this);
    dragStartNote = note;
}

void NoteDisplay::mouseDrag (const juce::MouseEvent& event)
{
    if (! gesture.has_value())
        return;

    // Up raises the note: a step for every whole 20 pixels moved.
    const int distance = juce::roundToInt (event.position.y - event.mouseDownPosition.y);
    const int stepped = limitToNote (dragStartNote - distance / pixelsPerStep);

    if (stepped == note)
        return;

    setNote (stepped);
    writeInt (note);
}

void NoteDisplay::mouseUp (const juce::MouseEvent&)
{
    gesture.reset();
}
