#pragma once

#include "support/MessageLoop.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/AlertWindow.h"

#include <gtest/gtest.h>

// The alerts a component shows, found and answered as a person would.
namespace toolkit_test
{
// The alert shown somewhere under the component, or null.
inline Kyx::AlertWindow* findShownAlert (juce::Component& component)
{
    for (auto* child : component.getChildren())
    {
        if (auto* alert = dynamic_cast<Kyx::AlertWindow*> (child); alert != nullptr && alert->isVisible())
            return alert;
        if (auto* found = findShownAlert (*child))
            return found;
    }
    return nullptr;
}

// Clicks the alert's button with that text; false when there is none.
inline bool clickAlertButton (Kyx::AlertWindow& alert, const juce::String& buttonText)
{
    for (int i = 0; i < alert.getNumButtons(); ++i)
    {
        if (alert.getButton (i)->getButtonText() == buttonText)
        {
            alert.buttonClicked (alert.getButton (i));
            return true;
        }
    }
    return false;
}

// Clicks the button with that text on the alert shown under the component,
// then runs what the answer left on the message loop. No alert shown, or no
// such button, fails the test.
inline void answerShownAlert (juce::Component& component, const juce::String& buttonText)
{
    EXPECT_TRUE (clickAlertButton (ref (findShownAlert (component)), buttonText)) << buttonText;
    testing_support::runPendingMessages();
}
} // namespace toolkit_test
