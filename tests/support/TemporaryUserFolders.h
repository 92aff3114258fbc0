#pragma once

#include "platform/UserFolders.h"

#include <juce_core/juce_core.h>

#include <unistd.h>

namespace testing_support
{
// A fresh folder under the system's temp folder that stands for the user's
// folders (settings, presets, skins) while it lives, then goes with all in
// it. Named after the process: the test programs run side by side, and one
// must not take (and then delete) another's folder. A test fixture derives
// from it, so that the folder outlives everything the fixture holds.
class TemporaryUserFolders
{
public:
    explicit TemporaryUserFolders (const juce::String& prefix)
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile (prefix + juce::String (::getpid()), "", false))
    {
        folder.createDirectory();
        platform::redirectApplicationDataFolders (folder.getFullPathName().toStdString());
    }

    ~TemporaryUserFolders()
    {
        platform::redirectApplicationDataFolders ("");
        folder.deleteRecursively();
    }

    TemporaryUserFolders (const TemporaryUserFolders&) = delete;
    TemporaryUserFolders& operator= (const TemporaryUserFolders&) = delete;

    const juce::File folder;
};
} // namespace testing_support
