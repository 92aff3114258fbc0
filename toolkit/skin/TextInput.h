#pragma once

#include "toolkit/binding/GUIController.h"
#include "toolkit/windows/ModalTextEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A line of text in the toolkit's font on a rounded field, which the user
// edits through a ModalTextEditor laid over it: a click (or a double click,
// or a caller's showEditor) opens the editor with the whole text selected.
// Bound to a parameter it shows the parameter's text and writes what the user
// commits; unbound (a name in a list, a route's label) it is a plain field
// whose owner listens to the editor. Message thread.
//
//   <TextInput name="Untitled" editable="onClick" backgroundColour="FFE3E3E3">
//     <links><link as="connectedTo" param="Pattern Name"/></links>
//     <font name="Tahoma" height="13" extraKerning="0" style="bold"/>
//     <pos left="10" top="10"/><size width="120" height="20"/>
//   </TextInput>
// "editable" is "no" (clicks pass through to what lies behind), "onClick"
// (the default) or "onDoubleClick". The colours are hexadecimal ARGB:
// textColour, highlightedTextColour, caretColour, backgroundColour,
// highlightColour, outlineColour, focusedOutlineColour. Fonts are always of
// the toolkit's embedded family (whatever name the skin gives): height and
// bold style are taken from the element.
//
// The colours are the juce::TextEditor ids (and juce::CaretComponent's caret
// id), set on the input; the editor gets copies when it opens.
class TextInput : public juce::Component,
                  public GUIController,
                  public ModalTextEditor::ModalListener
{
public:
    explicit TextInput (const juce::String& name = {});
    ~TextInput() override;

    // Shows the parameter's text.
    void updateFromParameter (Parameter* parameter) override;

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // The text shown; a different one is also given to an open editor.
    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    void setFont (const juce::Font& newFont);
    const juce::Font& getFont() const noexcept { return font; }

    // Where the text sits (left and vertically centred at first), and its
    // distance in pixels from the left and right edges.
    void setJustification (juce::Justification newJustification);
    void setIndent (int pixels);

    // How the user opens the editor: a click, a double click, both or
    // neither. With neither the input takes no clicks at all: they reach
    // the component behind it.
    void setEditable (bool onClick, bool onDoubleClick);
    bool isEditableOnClick() const noexcept { return editOnClick; }
    bool isEditableOnDoubleClick() const noexcept { return editOnDoubleClick; }

    // Opens the editor over the input with the whole text selected and gives
    // it the keyboard focus (when the input is on screen): how a caller
    // starts a rename. Nothing happens when the input is disabled. The
    // editor ends the edit itself (Return, Escape, focus lost) and reports
    // through the modal listeners.
    void showEditor();
    bool isEditorShowing() const noexcept;

    // Ends an open edit as Return does (a changed text is committed) and
    // hides the editor: how a caller ends a rename itself.
    void hideEditor();

    // The editor, made on the first edit (null before); owned by the input.
    ModalTextEditor* getEditor() const noexcept { return editor.get(); }

    // More listeners of the editor (the owner of an unbound input); they are
    // added to the editor when it is made and, being added after the input,
    // are told before it. Null and duplicates are refused.
    void addModalListener (ModalTextEditor::ModalListener* listener);
    void removeModalListener (ModalTextEditor::ModalListener* listener);

    // The editor's reports (message thread). A change or a cancel shows the
    // editor's text; a commit writes it to the bound parameter and tells the
    // controller's listeners when the value changed, then shows what the
    // parameter holds; closing hides the editor.
    void modalTextChanged (ModalTextEditor* source) override;
    void modalTextCommitted (ModalTextEditor* source) override;
    void modalEditCancelled (ModalTextEditor* source) override;
    void modalEditorClosed (ModalTextEditor* source) override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    // Message thread, from JUCE.
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;

private:
    void makeEditor();
    void placeEditor();

    juce::String text;
    juce::Font font;
    juce::Justification justification { juce::Justification::centredLeft };
    int indent = 0;
    bool editOnClick = true, editOnDoubleClick = false;

    std::unique_ptr<ModalTextEditor> editor;
    juce::Array<ModalTextEditor::ModalListener*> extraListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TextInput)
};
