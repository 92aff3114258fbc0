#include "toolkit/skin/GFXDisplay.h"

#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

GFXDisplay::GFXDisplay (const juce::String& name) : juce::Component (name)
{
    // The skin's defaults: no background (the panel shows through) and no
    // caret colour.
    setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    setColour (juce::CaretComponent::caretColourId, juce::Colours::transparentBlack);

    // Only a click starts an edit: the display takes no focus from the Tab
    // key, nor back when the window regains it, and a click reaches
    // mouseDown before any focus change.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

GFXDisplay::~GFXDisplay()
{
    // Closed in the middle of an edit (the host shut the editor), the display
    // must leave no listener behind for the next click.
    juce::Desktop::getInstance().removeGlobalMouseListener (&clickElsewhere);
}

void GFXDisplay::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setText (parameter->toString());
}

void GFXDisplay::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);
    setText (element.getStringAttribute ("name"));

    setColour (juce::CaretComponent::caretColourId, toolkit::readColour (element, "caretColour").value_or (juce::Colour()));
    setColour (juce::TextEditor::backgroundColourId, toolkit::readColour (element, "backgroundColour").value_or (juce::Colour()));
    setEnabled (element.getStringAttribute ("readonly", "no") != "yes");

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        const auto resource = gfx->getStringAttribute ("resource");
        const auto image = reader.findImage (resource);
        const int height = reader.readInt (*gfx, "fontHeight", 0, toolkit::skinbounds::fontHeight);
        const auto first = gfx->getStringAttribute ("firstASCII", " ");

        setFont (image.isValid() ? image : font, height, first.isEmpty() ? ' ' : first[0]);

        if (image.isValid() && ! hasFont())
            reader.report ("image \"" + resource + "\" holds no glyphs " + juce::String (height)
                           + " pixels high: the text is written without it");
    }

    auto bounds = getBounds();

    if (const auto position = toolkit::readPosition (element, reader))
        bounds.setPosition (*position);

    if (const auto size = toolkit::readSize (element, reader))
        bounds.setSize (size->x, size->y);

    setBounds (bounds);
    repaint();
}

void GFXDisplay::setText (const juce::String& newText)
{
    if (newText == text)
        return;

    text = newText;

    if (editing)
        caretMoved();
    else
        scroll = 0;

    repaint();
}

void GFXDisplay::setFont (const juce::Image& fontImage, int newFontHeight, juce::juce_wchar firstCharacter)
{
    font = fontImage;
    fontHeight = newFontHeight;
    firstASCII = firstCharacter;

    // Each glyph has a row in both halves: an image shorter than two rows,
    // or a row height below 1, holds none.
    glyphWidth = font.isValid() ? font.getWidth() : 8;
    const int rowsPerHalf = (font.isValid() && fontHeight >= 1) ? font.getHeight() / (fontHeight * 2) : 0;
    numGlyphs = glyphWidth >= 1 ? rowsPerHalf : 0;
    lastASCII = firstASCII + juce::jmax (0, numGlyphs - 1);

    if (editing)
        caretMoved();

    repaint();
}

int GFXDisplay::getNumCells() const noexcept
{
    return hasFont() ? getWidth() / glyphWidth : 0;
}

void GFXDisplay::startEditing()
{
    if (editing || ! isEnabled() || ! isShowing())
        return;

    setWantsKeyboardFocus (true);
    grabKeyboardFocus();

    // Without a window that can hold the focus no key would arrive.
    if (! editing)
        setWantsKeyboardFocus (false);
}

void GFXDisplay::addDisplayListener (GFXDisplayListener* listener)
{
    if (listener != nullptr)
        displayListeners.add (listener);
}

void GFXDisplay::removeDisplayListener (GFXDisplayListener* listener)
{
    displayListeners.remove (listener);
}

int GFXDisplay::glyphFor (juce::juce_wchar character) const noexcept
{
    // Below the font, and anything beyond ASCII, draws the first glyph;
    // above it the last.
    if (character < firstASCII || character > 127)
        return 0;

    if (character > lastASCII)
        return numGlyphs - 1;

    return static_cast<int> (character - firstASCII);
}

void GFXDisplay::paint (juce::Graphics& g)
{
    g.fillAll (findColour (juce::TextEditor::backgroundColourId));

    const auto shown = isBlinkDark() ? juce::String() : text;

    if (! hasFont())
    {
        g.setColour (juce::Colours::black);
        g.setFont (toolkit::makeFont (13.0f));
        g.drawText (shown, getLocalBounds(), juce::Justification::centredLeft, false);
        return;
    }

    const int cells = getNumCells();
    const int x0 = (getWidth() - cells * glyphWidth) / 2;
    const int y0 = (getHeight() - fontHeight) / 2;
    const int caretCell = (editing && caretVisible) ? caret : -1;
    const int length = shown.length();

    for (int i = 0; i < cells; ++i)
    {
        const int j = scroll + i;
        const auto character = (j >= 0 && j < length) ? shown[j] : juce::juce_wchar (' ');
        const int row = glyphFor (character) + (j == caretCell ? numGlyphs : 0);
        g.drawImage (font, x0 + i * glyphWidth, y0, glyphWidth, fontHeight, 0, row * fontHeight, glyphWidth, fontHeight);
    }
}

void GFXDisplay::colourChanged()
{
    // Opaque only when the background covers every pixel: otherwise the
    // panel behind must be painted first.
    setOpaque (findColour (juce::TextEditor::backgroundColourId).isOpaque());
    repaint();
}

void GFXDisplay::enablementChanged()
{
    // Made read-only in the middle of an edit, the display ends it.
    if (! isEnabled())
        finishEditAndLetGoOfFocus();
}

void GFXDisplay::mouseDown (const juce::MouseEvent&)
{
    startEditing();
}

void GFXDisplay::focusGained (FocusChangeType cause)
{
    if (cause == focusChangedDirectly)
        beginEdit();
    else
        moveKeyboardFocusToSibling (true);
}

void GFXDisplay::focusLost (FocusChangeType)
{
    endEdit();
}

void GFXDisplay::beginEdit()
{
    if (editing || ! isEnabled())
        return;

    editing = true;
    setWantsKeyboardFocus (true);
    textBeforeEdit = text;
    caret = 0;
    juce::Desktop::getInstance().addGlobalMouseListener (&clickElsewhere);
    caretMoved();
}

void GFXDisplay::endEdit()
{
    if (! editing)
        return;

    editing = false;
    setWantsKeyboardFocus (false);
    juce::Desktop::getInstance().removeGlobalMouseListener (&clickElsewhere);
    stopTimer();
    caretVisible = false;
    scroll = 0;
    repaint();

    if (text != textBeforeEdit)
    {
        const juce::Component::BailOutChecker checker (this);
        displayListeners.callChecked (checker, [this] (GFXDisplayListener& l) { l.displayTextEdited (this); });
    }
}

void GFXDisplay::finishEditAndLetGoOfFocus()
{
    const juce::Component::SafePointer<GFXDisplay> alive (this);
    endEdit();

    if (alive != nullptr)
        giveAwayKeyboardFocus();
}

bool GFXDisplay::keyPressed (const juce::KeyPress& key)
{
    if (! editing)
        return false;

    const auto modifiers = key.getModifiers();

    if (modifiers.isCtrlDown() || modifiers.isAltDown() || modifiers.isCommandDown())
        return true;

    const int code = key.getKeyCode();

    if (code == juce::KeyPress::returnKey)
    {
        finishEditAndLetGoOfFocus();
        return true;
    }

    if (code == juce::KeyPress::escapeKey)
    {
        setText (textBeforeEdit);
        finishEditAndLetGoOfFocus();
        return true;
    }

    if (code == juce::KeyPress::backspaceKey)
    {
        if (caret > 0)
        {
            text = text.substring (0, caret - 1) + text.substring (caret);
            --caret;
        }
    }
    else if (code == juce::KeyPress::deleteKey)
    {
        text = text.substring (0, caret) + text.substring (caret + 1);
    }
    else if (code == juce::KeyPress::homeKey)
    {
        caret = 0;
    }
    else if (code == juce::KeyPress::endKey)
    {
        caret = text.length();
    }
    else if (code == juce::KeyPress::leftKey)
    {
        --caret;
    }
    else if (code == juce::KeyPress::rightKey)
    {
        ++caret;
    }
    else if (isInsertable (key.getTextCharacter()))
    {
        text = text.substring (0, caret) + juce::String::charToString (key.getTextCharacter()) + text.substring (caret);
        ++caret;
    }

    caretMoved();
    return true;
}

bool GFXDisplay::isInsertable (juce::juce_wchar character) const noexcept
{
    if (character < ' ' || character == 127)
        return false;

    // With its font the display takes only what the font can draw; without
    // one, any printable character.
    return ! hasFont() || (character >= firstASCII && character <= lastASCII && character <= 126);
}

void GFXDisplay::caretMoved()
{
    caret = juce::jlimit (0, text.length(), caret);
    updateScroll();
    caretVisible = true;
    startTimer (caretBlinkMs);
    repaint();
}

void GFXDisplay::updateScroll()
{
    // One cell of context stays visible on each side of the caret where the
    // text has one.
    const int cells = getNumCells();

    if (cells < 1)
    {
        scroll = 0;
        return;
    }

    if (caret >= scroll + cells - 1)
        scroll = caret - cells + 1 + (caret < text.length() ? 1 : 0);

    if (scroll >= caret)
        scroll = caret - 1;

    scroll = juce::jmax (0, scroll);
}

void GFXDisplay::timerCallback()
{
    if (! editing)
    {
        stopTimer();
        return;
    }

    caretVisible = ! caretVisible;
    repaint();
}

void GFXDisplay::ClickElsewhere::mouseDown (const juce::MouseEvent& event)
{
    if (event.eventComponent != &owner)
        owner.finishEditAndLetGoOfFocus();
}

void GFXDisplayFloat::updateFromParameter (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    auto number = toStreamText (parameter->getValue());
    const int cells = getNumCells();

    if (cells > 0 && number.length() >= cells && number[cells - 1] == '.')
        number = " " + number;

    setText (number);
}
