#pragma once

#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/WindowComponent.h"

#include <memory>

namespace Kyx
{
// A message window with a row of result buttons, shown over the editor with
// a white veil. A click on a result button (or Return or Escape where the
// alert maps them to a button) hides the alert at once and reports the
// button's result code to the Caller from the message loop, never from inside
// the click: the Caller may delete the alert in its callback. The title-bar
// close button only hides it. Message thread only.
class AlertWindow : public WindowComponent,
                    private juce::AsyncUpdater
{
public:
    // The result codes of the factories' buttons.
    enum Result
    {
        cancelResult = 0,
        noResult = 1,
        yesResult = 2,
        okResult = 3,
        overwriteResult = 4,
        saveAsResult = 5,
        discardResult = 6
    };

    class Caller
    {
    public:
        virtual ~Caller() = default;

        // Message thread, from the message loop after the click. The alert
        // is already hidden; the caller may delete it here.
        virtual void alertWindowClosed (AlertWindow* window, int result) = 0;
    };

    AlertWindow (const juce::String& title, const juce::String& message, Caller* caller);
    ~AlertWindow() override;

    // Appends a result button, 22 pixels high and as wide as the look and
    // feel makes a text button of that text; the alert is laid out again.
    juce::TextButton& addButton (const juce::String& text, int result);

    // The buttons that Return and Escape click (null: the key does nothing).
    void setReturnKeyButton (juce::TextButton* button) noexcept { returnKeyButton = button; }
    void setEscapeKeyButton (juce::TextButton* button) noexcept { escapeKeyButton = button; }

    void setMessage (const juce::String& message);
    juce::String getMessage() const { return messageLabel.getText(); }

    int getNumButtons() const noexcept { return buttons.size(); }
    juce::TextButton* getButton (int index) const noexcept { return buttons[index]; }

    bool shouldDimBackground() const override { return true; }

    // Message thread: Return and Escape click their buttons when set.
    bool keyPressed (const juce::KeyPress& key) override;
    // Message thread: a result button reports its result; the close button
    // hides the alert without a result.
    void buttonClicked (juce::Button* button) override;

    void resized() override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;

private:
    int indexOfButton (const juce::Button* button) const;
    void resultButtonClicked (juce::Button* button);
    void handleAsyncUpdate() override;
    void layout();

    ComponentRow buttonRow { ComponentRow::horizontal, ComponentRow::alignEnd, 6 };
    juce::OwnedArray<juce::TextButton> buttons;
    juce::Array<int> resultCodes;
    juce::Label messageLabel;
    Caller* caller = nullptr;
    juce::TextButton* returnKeyButton = nullptr;
    juce::TextButton* escapeKeyButton = nullptr;
    int pendingResult = 0;
    bool resultPending = false; // a result waits for delivery

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlertWindow)
};

// Each factory makes an alert with its buttons; the caller adds it to its
// Desktop component (or a child of it), calls show() and owns it.
// "OK" (3); Return and Escape click it.
std::unique_ptr<AlertWindow> showOkAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller);
// "Yes" (2), "No" (1); Return clicks Yes, Escape clicks No.
std::unique_ptr<AlertWindow> showYesNoAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller);
// "Yes" (2), "Cancel" (0); no keys: the answer takes a click.
std::unique_ptr<AlertWindow> showYesCancelAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller);
// "Save as" (5), "Overwrite" (4), "Discard" (6); no keys.
std::unique_ptr<AlertWindow> showSaveOverwriteDiscardAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller);
} // namespace Kyx
