#pragma once

#include "toolkit/windows/AlertWindow.h"

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

// What tests of a save site need besides scripted dialogs: a folder that
// cannot be written, and the alert a save shows.
namespace toolkit_test
{
// Makes a folder read-only while it lives. Root ignores permissions, so a
// test run as root takes an ordinary user's file identity meanwhile
// (setfsuid: this thread's file access only).
class ScopedReadOnlyFolder
{
public:
    explicit ScopedReadOnlyFolder (const juce::File& folder) : path (folder.getFullPathName())
    {
        ::chmod (path.toRawUTF8(), 0555);
        if (::geteuid() == 0)
            previousFileUser = ::setfsuid (65534);
    }

    ~ScopedReadOnlyFolder()
    {
        if (previousFileUser >= 0)
            ::setfsuid ((uid_t) previousFileUser);
        ::chmod (path.toRawUTF8(), 0755);
    }

    ScopedReadOnlyFolder (const ScopedReadOnlyFolder&) = delete;
    ScopedReadOnlyFolder& operator= (const ScopedReadOnlyFolder&) = delete;

private:
    const juce::String path;
    int previousFileUser = -1;
};

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
} // namespace toolkit_test
