#pragma once

#include <juce_core/juce_core.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support
{
// Makes a folder read-only while it lives, so that writing into it fails.
// Root ignores permissions, so a test run as root takes an ordinary user's
// file identity meanwhile (setfsuid: this thread's file access only).
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
} // namespace testing_support
