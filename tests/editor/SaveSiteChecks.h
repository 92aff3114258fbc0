#pragma once

#include "support/ReadOnlyFolder.h"
#include "toolkit/windows/ShownAlerts.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace editor_testing
{
// A place of the editor that saves a user's document through the shared
// saver, and the file it is checked on.
struct SaveSite
{
    juce::Component& alertsShownOn;
    juce::File existing;                                 // "name.ext", saved over
    std::function<void (const juce::File& chosen)> save; // answers the dialog with chosen, then saves
    std::function<juce::File()> recentFolder = {};       // the folder the site's dialogs start in, if it keeps one
};

// What every save site must do with the saver: a name chosen without the
// extension is settled before the overwrite question, and Cancel keeps the
// old file; a write that fails is told and leaves the old file; only a
// saved file moves the recently used folder.
inline void checkSaveSite (const SaveSite& site)
{
    const auto folder = site.existing.getParentDirectory();
    const auto recentBefore = site.recentFolder ? site.recentFolder() : juce::File();
    const auto overwrite = "Do you want to overwrite '" + site.existing.getFileName() + "' ?";
    const struct
    {
        bool readOnly; // the folder; the name is then chosen with its extension
        juce::String told, answer;
    } cases[] = {
        { false, overwrite, "Cancel" },
        { true, "Could not write '" + site.existing.getFullPathName() + "'.", "OK" },
        { false, overwrite, "Yes" },
    };

    ASSERT_TRUE (site.existing.replaceWithText ("old"));
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.answer);
        {
            std::optional<testing_support::ScopedReadOnlyFolder> locked;
            if (c.readOnly)
                locked.emplace (folder);
            site.save (c.readOnly ? site.existing : folder.getChildFile (site.existing.getFileNameWithoutExtension()));
            auto* alert = toolkit_test::findShownAlert (site.alertsShownOn);
            EXPECT_EQ (alert != nullptr ? alert->getMessage() : juce::String(), c.told);
            toolkit_test::answerShownAlert (site.alertsShownOn, c.answer);
        }
        const bool saved = c.answer == "Yes";
        EXPECT_EQ (site.existing.loadFileAsString() != "old", saved);
        EXPECT_EQ (toolkit_test::findShownAlert (site.alertsShownOn), nullptr);
        if (site.recentFolder)
        {
            EXPECT_EQ (site.recentFolder(), saved ? folder : recentBefore);
        }
    }
}
} // namespace editor_testing
