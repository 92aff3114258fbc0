#include "toolkit/windows/ModalTextEditor.h"

#include "toolkit/windows/NativeWindow.h"

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

    if (! isOnDesktop() && getParentComponent() != nullptr)
    {
        keptText = getText();
        storedBounds = getBounds();
        storedParent = getParentComponent();
        floatOverParent();
    }

    repaint();
}

void ModalTextEditor::floatOverParent()
{
    backdrop = pictureBeneath();
    setLookAndFeel (&storedParent->getLookAndFeel());

    // A desktop window is placed in screen coordinates.
    const auto screenBounds = placeOnScreen();
    addToDesktop (juce::ComponentPeer::windowIsTemporary);
    setBounds (screenBounds);
    grabKeyboardFocus();

    parentWatch = std::make_unique<OwnerWatch> (*storedParent, OwnerWatch::Ends::whenGoneOrMoved, [this] { endEdit(); });
}

juce::Image ModalTextEditor::pictureBeneath()
{
    // The whole window painted under the editor, the editor itself left out.
    auto* top = getTopLevelComponent();
    const auto area = top->getLocalArea (this, getLocalBounds());
    const auto alpha = getAlpha();
    setAlpha (0.0f);
    auto picture = top->createComponentSnapshot (area, true, 1.0f);
    setAlpha (alpha);
    return picture;
}

juce::Rectangle<int> ModalTextEditor::placeOnScreen()
{
    // JUCE's idea of where a window inside the host's is on the screen waits
    // for the next mouse event; the server knows.
    auto* top = getTopLevelComponent();

    if (const auto window = windowScreenPosition (*top))
        return top->getLocalArea (this, getLocalBounds()) + *window;

    return getScreenBounds();
}

void ModalTextEditor::paint (juce::Graphics& g)
{
    if (isOnDesktop() && backdrop.isValid())
        g.drawImageAt (backdrop, 0, 0);

    juce::TextEditor::paint (g);
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
        // Called by the watch itself when the parent went: it is done with.
        parentWatch.reset();
        removeFromDesktop();
        setLookAndFeel (nullptr);
        backdrop = {};

        // The parent may have been deleted while the edit ran; then the
        // editor, off the desktop, stays where it is.
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
