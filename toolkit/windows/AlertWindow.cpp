#include "toolkit/windows/AlertWindow.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace Kyx
{
AlertWindow::AlertWindow (const juce::String& alertTitle, const juce::String& message, Caller* alertCaller)
    : WindowComponent ("AlertWindow"), caller (alertCaller)
{
    setTitle (alertTitle);
    setWantsKeyboardFocus (true);

    messageLabel.setJustificationType (juce::Justification::centredLeft);
    messageLabel.setBorderSize ({});
    messageLabel.setInterceptsMouseClicks (false, false);
    messageLabel.setText (message, juce::dontSendNotification);
    addAndMakeVisible (messageLabel);
    addAndMakeVisible (buttonRow);

    lookAndFeelChanged();
}

AlertWindow::~AlertWindow()
{
    cancelPendingUpdate();
    buttons.clear();
}

juce::TextButton& AlertWindow::addButton (const juce::String& text, int result)
{
    auto* button = buttons.add (std::make_unique<juce::TextButton> (text));
    button->addListener (this);
    // The alert keeps the keyboard focus, so Return and Escape reach it.
    button->setWantsKeyboardFocus (false);
    button->setSize (getLookAndFeel().getTextButtonWidthToFitText (*button, 22), 22);
    resultCodes.add (result);
    buttonRow.addAndMakeVisible (button);

    layout();
    resized();
    return *button;
}

void AlertWindow::setMessage (const juce::String& message)
{
    messageLabel.setText (message, juce::dontSendNotification);
    layout();
}

bool AlertWindow::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey && escapeKeyButton != nullptr)
    {
        resultButtonClicked (escapeKeyButton);
        return true;
    }

    if (key == juce::KeyPress::returnKey && returnKeyButton != nullptr)
    {
        resultButtonClicked (returnKeyButton);
        return true;
    }

    return false;
}

void AlertWindow::buttonClicked (juce::Button* button)
{
    WindowComponent::buttonClicked (button);

    if (indexOfButton (button) >= 0)
        resultButtonClicked (button);
}

int AlertWindow::indexOfButton (const juce::Button* button) const
{
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons.getUnchecked (i) == button)
            return i;

    return -1;
}

void AlertWindow::resultButtonClicked (juce::Button* button)
{
    if (resultPending)
        return;

    // An index without a result code gives 0 (juce::Array's bounds-checked read).
    pendingResult = resultCodes[indexOfButton (button)];
    resultPending = true;
    hide();
    triggerAsyncUpdate();
}

void AlertWindow::handleAsyncUpdate()
{
    resultPending = false;

    // Last statement: the caller may delete this alert.
    if (caller != nullptr)
        caller->alertWindowClosed (this, pendingResult);
}

void AlertWindow::layout()
{
    const auto font = messageLabel.getFont();
    const int width = juce::jmax ((int) font.getStringWidthFloat (messageLabel.getText()), buttonRow.getWidth());
    const int height = (int) font.getHeight() + buttonRow.getHeight() + 20;
    setContentSize (width, height);
}

void AlertWindow::resized()
{
    WindowComponent::resized();

    auto area = getContentArea();
    const auto rowArea = area.removeFromBottom (buttonRow.getHeight());
    area.removeFromBottom (10);
    buttonRow.setTopLeftPosition (rowArea.getRight() - buttonRow.getWidth(), rowArea.getY());
    messageLabel.setBounds (area);
}

void AlertWindow::lookAndFeelChanged()
{
    WindowComponent::lookAndFeelChanged();

    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
        messageLabel.setFont (toolkitLook->getRegularFont());
    else
        messageLabel.setFont (toolkit::makeFont (13.0f));

    layout();
}

void AlertWindow::parentHierarchyChanged()
{
    ModalComponent::parentHierarchyChanged();
    // Take the look and feel of the editor the alert was added to.
    sendLookAndFeelChange();
}

std::unique_ptr<AlertWindow> showOkAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller)
{
    auto alert = std::make_unique<AlertWindow> (title, message, caller);
    auto& ok = alert->addButton ("OK", AlertWindow::okResult);
    alert->setReturnKeyButton (&ok);
    alert->setEscapeKeyButton (&ok);
    return alert;
}

std::unique_ptr<AlertWindow> showYesNoAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller)
{
    auto alert = std::make_unique<AlertWindow> (title, message, caller);
    alert->setReturnKeyButton (&alert->addButton ("Yes", AlertWindow::yesResult));
    alert->setEscapeKeyButton (&alert->addButton ("No", AlertWindow::noResult));
    return alert;
}

std::unique_ptr<AlertWindow> showYesCancelAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller)
{
    auto alert = std::make_unique<AlertWindow> (title, message, caller);
    alert->addButton ("Yes", AlertWindow::yesResult);
    alert->addButton ("Cancel", AlertWindow::cancelResult);
    return alert;
}

std::unique_ptr<AlertWindow> showSaveOverwriteDiscardAlert (const juce::String& title, const juce::String& message, AlertWindow::Caller* caller)
{
    auto alert = std::make_unique<AlertWindow> (title, message, caller);
    alert->addButton ("Save as", AlertWindow::saveAsResult);
    alert->addButton ("Overwrite", AlertWindow::overwriteResult);
    alert->addButton ("Discard", AlertWindow::discardResult);
    return alert;
}
} // namespace Kyx
