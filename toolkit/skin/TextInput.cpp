#include "toolkit/skin/TextInput.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
// The skin's colour attributes and the ids they set.
const struct
{
    const char* attribute;
    int colourId;
} colourAttributes[] = {
    { "textColour", juce::TextEditor::textColourId },
    { "highlightedTextColour", juce::TextEditor::highlightedTextColourId },
    { "caretColour", juce::CaretComponent::caretColourId },
    { "backgroundColour", juce::TextEditor::backgroundColourId },
    { "highlightColour", juce::TextEditor::highlightColourId },
    { "outlineColour", juce::TextEditor::outlineColourId },
    { "focusedOutlineColour", juce::TextEditor::focusedOutlineColourId },
};
} // namespace

TextInput::TextInput (const juce::String& name) : juce::Component (name), font (toolkit::makeFont (13.0f))
{
    setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xFFE3E3E3));
    setColour (juce::TextEditor::textColourId, juce::Colours::black);
    setColour (juce::TextEditor::highlightColourId, juce::Colour (0xFFFFA500));
    setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    setColour (juce::TextEditor::outlineColourId, juce::Colours::white);
}

TextInput::~TextInput() = default;

void TextInput::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setText (parameter->toString());
}

void TextInput::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);
    setText (element.getStringAttribute ("name"));

    const auto editable = element.getStringAttribute ("editable");

    if (editable == "no")
        setEditable (false, false);
    else if (editable == "onClick")
        setEditable (true, false);
    else if (editable == "onDoubleClick")
        setEditable (false, true);
    else if (editable.isNotEmpty())
        reader.report ("editable \"" + editable + "\" is none of \"no\", \"onClick\", \"onDoubleClick\": left as it was");

    if (auto* fontElement = findChildWithTag (&element, "font"))
    {
        // A height of 0 (the attribute absent) keeps the input's own.
        const auto height = static_cast<float> (reader.readDecimal (*fontElement, "height", 0.0, toolkit::skinbounds::textHeight));
        const bool bold = fontElement->getStringAttribute ("style").equalsIgnoreCase ("bold");
        const auto kerning = static_cast<float> (reader.readDecimal (*fontElement, "extraKerning", 0.0, toolkit::skinbounds::kerning));
        setFont (toolkit::makeFont (height > 0.0f ? height : font.getHeight(), bold).withExtraKerningFactor (kerning));
    }

    for (const auto& colour : colourAttributes)
        if (const auto value = toolkit::readColour (element, colour.attribute))
            setColour (colour.colourId, *value);

    auto bounds = getBounds();

    if (const auto position = toolkit::readPosition (element, reader))
        bounds.setPosition (*position);

    if (const auto size = toolkit::readSize (element, reader))
        bounds.setSize (size->x, size->y);

    setBounds (bounds);
    repaint();
}

void TextInput::setText (const juce::String& newText)
{
    if (newText == text)
        return;

    text = newText;

    if (isEditorShowing() && editor->getText() != text)
        editor->setText (text, false);

    repaint();
}

void TextInput::setFont (const juce::Font& newFont)
{
    font = newFont;
    repaint();
}

void TextInput::setJustification (juce::Justification newJustification)
{
    justification = newJustification;
    repaint();
}

void TextInput::setIndent (int pixels)
{
    indent = pixels;
    repaint();
}

void TextInput::setEditable (bool onClick, bool onDoubleClick)
{
    editOnClick = onClick;
    editOnDoubleClick = onDoubleClick;

    // The editor, a child while it is not floating, still takes its clicks.
    setInterceptsMouseClicks (onClick || onDoubleClick, true);
}

bool TextInput::isEditorShowing() const noexcept
{
    return editor != nullptr && editor->isVisible();
}

void TextInput::showEditor()
{
    if (! isEnabled())
        return;

    if (editor == nullptr)
        makeEditor();

    placeEditor();
    editor->setText (text, false);
    editor->selectAll();
    editor->setVisible (true);
    editor->toFront (false);

    // Without a window on screen there is no focus to give.
    if (isShowing())
        editor->grabKeyboardFocus();

    repaint();
}

void TextInput::hideEditor()
{
    if (! isEditorShowing())
        return;

    const juce::Component::SafePointer<TextInput> alive (this);
    editor->endEdit();

    // An editor that never floated (it never had the keyboard focus) is not
    // told that it closed.
    if (alive != nullptr && editor->isVisible())
    {
        editor->setVisible (false);
        repaint();
    }
}

void TextInput::makeEditor()
{
    editor = std::make_unique<ModalTextEditor> (getName());
    editor->addModalListener (this);

    for (auto* listener : extraListeners)
        editor->addModalListener (listener);

    addChildComponent (*editor);
}

void TextInput::placeEditor()
{
    // While floating on the desktop the editor keeps its place on screen.
    if (editor == nullptr || editor->getParentComponent() != this)
        return;

    editor->setBounds (getLocalBounds());
    editor->applyFontToAllText (font);

    for (const int id : { (int) juce::CaretComponent::caretColourId, (int) juce::TextEditor::textColourId,
                          (int) juce::TextEditor::highlightedTextColourId, (int) juce::TextEditor::highlightColourId })
        editor->setColour (id, findColour (id));

    for (const int id : { (int) juce::TextEditor::backgroundColourId, (int) juce::TextEditor::outlineColourId,
                          (int) juce::TextEditor::focusedOutlineColourId })
        editor->setColour (id, juce::Colours::transparentBlack);

    const int fontHeight = juce::roundToInt (font.getHeight());
    editor->setIndents (indent - 1, juce::jmax (0, (getHeight() - fontHeight) / 2));
}

void TextInput::addModalListener (ModalTextEditor::ModalListener* listener)
{
    if (listener == nullptr || extraListeners.contains (listener))
        return;

    extraListeners.add (listener);

    if (editor != nullptr)
        editor->addModalListener (listener);
}

void TextInput::removeModalListener (ModalTextEditor::ModalListener* listener)
{
    extraListeners.removeAllInstancesOf (listener);

    if (editor != nullptr)
        editor->removeModalListener (listener);
}

void TextInput::modalTextChanged (ModalTextEditor* source)
{
    if (source == editor.get())
        setText (source->getText());
}

void TextInput::modalTextCommitted (ModalTextEditor* source)
{
    if (source != editor.get())
        return;

    setText (source->getText());

    const juce::Component::SafePointer<TextInput> alive (this);
    writeText (text);

    // A parameter that reads the text its own way ("12 steps" as 12) shows
    // what it kept.
    if (alive != nullptr)
        if (auto* parameter = getBoundParameter())
            setText (parameter->toString());
}

void TextInput::modalEditCancelled (ModalTextEditor* source)
{
    if (source == editor.get())
        setText (source->getText());
}

void TextInput::modalEditorClosed (ModalTextEditor* source)
{
    if (source != editor.get())
        return;

    editor->setVisible (false);
    repaint();
}

void TextInput::paint (juce::Graphics& g)
{
    const auto background = findColour (juce::TextEditor::backgroundColourId);
    const auto outline = findColour (isEditorShowing() ? juce::TextEditor::focusedOutlineColourId
                                                       : juce::TextEditor::outlineColourId);
    const auto area = getLocalBounds().toFloat();

    if (background.isTransparent())
    {
        if (! outline.isTransparent())
        {
            g.setColour (outline);
            toolkit::strokeRoundedRectangle (g, area, 4.0f, 1.0f);
        }
    }
    else if (outline.isTransparent())
    {
        g.setColour (background);
        toolkit::fillRoundedRectangle (g, area, 3.5f);
    }
    else
    {
        toolkit::fillAndStrokeRoundedRectangle (g, area, 3.5f, background, outline, 1.0f);
    }

    if (isEditorShowing())
        return;

    g.setColour (findColour (juce::TextEditor::textColourId));
    g.setFont (font);
    g.drawText (text, indent, 0, getWidth() - 2 * indent, getHeight(), justification, false);
}

void TextInput::resized()
{
    placeEditor();
}

void TextInput::mouseDown (const juce::MouseEvent&)
{
    if (editOnClick)
        showEditor();
}

void TextInput::mouseDoubleClick (const juce::MouseEvent&)
{
    if (editOnDoubleClick)
        showEditor();
}
