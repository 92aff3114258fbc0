#pragma once

#include "toolkit/windows/OwnerWatch.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A text editor that, while it has the keyboard focus, floats above the host
// window as a temporary desktop window at the same place on the screen, so
// that it gets the keys even where the host keeps them from the editor. When
// the edit ends (focus lost or Return) it goes back into its parent and tells
// its listeners whether the text was committed; Escape restores the text the
// edit began with. Message thread.
//
// Floating, it looks as it did in its parent: it draws with the parent's look
// and feel over a picture of what lies beneath it (a window of its own has
// neither, and would show its text on black). It never outlives or drifts
// from its parent: when the parent stops showing (the editor is hidden or
// closed) or moves (in the editor, or with the host's window on the screen),
// the edit ends as a click elsewhere ends it, what was typed committed.
class ModalTextEditor : public juce::TextEditor,
                        private juce::TextEditor::Listener
{
public:
    class ModalListener
    {
    public:
        virtual ~ModalListener() = default;

        // Message thread, each after its event.
        virtual void modalTextChanged (ModalTextEditor*) {}
        // The edit ended with a text that differs from the kept one.
        virtual void modalTextCommitted (ModalTextEditor*) {}
        // Escape restored the kept text.
        virtual void modalEditCancelled (ModalTextEditor*) {}
        // The editor went back into its parent.
        virtual void modalEditorClosed (ModalTextEditor*) {}
    };

    explicit ModalTextEditor (const juce::String& name = {});
    ~ModalTextEditor() override;

    void addModalListener (ModalListener* listener);
    void removeModalListener (ModalListener* listener);

    // The text when the edit began or was last committed.
    const juce::String& getKeptText() const noexcept { return keptText; }

    // Ends the edit as Return does: back into the parent, a changed text
    // committed. Message thread.
    void endEdit();

    // Message thread, from JUCE.
    void paint (juce::Graphics& g) override;

    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;

    // The editor's own listener callbacks (message thread), public so that
    // key handling can be driven without a display.
    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;

private:
    template <typename Callback>
    void notify (Callback&& callback);

    void floatOverParent();
    juce::Image pictureBeneath();
    juce::Rectangle<int> placeOnScreen();

    juce::ListenerList<ModalListener> modalListeners;
    juce::Component::SafePointer<juce::Component> storedParent;
    juce::Rectangle<int> storedBounds;
    juce::String keptText;
    juce::Image backdrop; // what lies beneath the editor in its parent, while it floats
    std::unique_ptr<OwnerWatch> parentWatch;
    bool leavingDesktop = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalTextEditor)
};
