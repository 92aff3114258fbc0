#include "toolkit/windows/ModalTextEditor.h"

ModalTextEditor::ModalTextEditor (const juce::String& name)
    : juce::TextEditor (name)
{
    setWantsKeyboardFocus (true);
    juce::TextEditor::addListener (this);
}

ModalTextEditor::~ModalTextEditor()
{
    juce::TextEditor::removeListener (this);
}

void ModalTextEditor::addModalListener (ModalListener* listener)
{
    if (listener != nullptr)
        modalListeners.add (listener);
}

void ModalTextEditor::removeModalListener (ModalListener* listener)
{
    modalListeners.remove (listener);
}

template <typename Callback>
void ModalTextEditor::notify (Callback&& callback)
{
    const juce::Component::BailOutChecker checker (this);
    modalListeners.callChecked (checker, [this, &callback] (ModalListener& l) { callback (l, this); });
}

void ModalTextEditor::focusGained (FocusChangeType cause)
{
    juce::TextEditor::focusGained (cause);

    if (! isOnDesktop())
    {
        keptText = getText();
        storedBounds = getBounds();
        storedParent = getParentComponent();

        // A desktop window is placed in screen coordinates.
        const auto screenBounds = getScreenBounds();
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setBounds (screenBounds);
        grabKeyboardFocus();
    }

    repaint();
}

void ModalTextEditor::focusLost (FocusChangeType cause)
{
    juce::TextEditor::focusLost (cause);
    endEdit();
}

void ModalTextEditor::endEdit()
{
    // Leaving the desktop takes the focus away, which ends the edit again.
    if (leavingDesktop)
        return;

    const bool wasOnDesktop = isOnDesktop();

    if (wasOnDesktop)
    {
        leavingDesktop = true;
        removeFromDesktop();

        // The parent may have gone while the edit ran (the host closed the
        // editor); then the editor stays where it is.
        if (storedParent != nullptr)
            storedParent->addAndMakeVisible (this);

        setBounds (storedBounds);
        leavingDesktop = false;
    }

    const juce::Component::BailOutChecker checker (this);

    if (getText() != keptText)
    {
        notify ([] (ModalListener& l, ModalTextEditor* editor) { l.modalTextCommitted (editor); });

        if (checker.shouldBailOut())
            return;

        keptText = getText();
    }

    if (wasOnDesktop)
    {
        notify ([] (ModalListener& l, ModalTextEditor* editor) { l.modalEditorClosed (editor); });

        if (checker.shouldBailOut())
            return;
    }

    repaint();
}

void ModalTextEditor::textEditorTextChanged (juce::TextEditor&)
{
    notify ([] (ModalListener& l, ModalTextEditor* editor) { l.modalTextChanged (editor); });
}

void ModalTextEditor::textEditorReturnKeyPressed (juce::TextEditor&)
{
    endEdit();
}

void ModalTextEditor::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    setText (keptText, false);
    notify ([] (ModalListener& l, ModalTextEditor* editor) { l.modalEditCancelled (editor); });
}
