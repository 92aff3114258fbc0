#include "support/MessageLoop.h"
#include "tools/TempFolder.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"

#include "toolkit/widgets/FileSaver.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

using toolkit_test::DialogDesktop;

namespace
{
// Makes a folder read-only for the file operations of this thread while it
// lives. Root ignores permissions, so a test run as root takes an ordinary
// user's file identity meanwhile (setfsuid changes only this thread's file
// access).
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

Kyx::AlertWindow* findAlert (juce::Component& component)
{
    for (auto* child : component.getChildren())
    {
        if (auto* alert = dynamic_cast<Kyx::AlertWindow*> (child))
            if (alert->isVisible())
                return alert;

        if (auto* found = findAlert (*child))
            return found;
    }

    return nullptr;
}

// A save of "new" from a page of the editor into a temp folder.
struct SaveSite
{
    SaveSite()
    {
        desktop.addAndMakeVisible (page);
        page.setBounds (0, 0, 400, 300);
    }

    juce::File folder() const { return juce::File (juce::String (temp.path.string())); }
    juce::File file (const juce::String& name) const { return folder().getChildFile (name); }

    void save (bool writerFails = false)
    {
        FileSaver::Request request { "Save pattern bank", folder(), "*.xrptrb;*.xml", ".xrptrb",
                                     [writerFails] (juce::OutputStream& out) { return out.writeText ("new", false, false, nullptr) && ! writerFails; } };
        ASSERT_TRUE (saver.save (request, [this] (FileSaver::Outcome o, const juce::File& f) { outcome = o; saved = f; }));
        EXPECT_FALSE (saver.save (request, {})); // one save at a time
        testing_support::runPendingMessages();
    }

    // Clicks the button of the alert shown on the Desktop.
    void answer (const juce::String& buttonText)
    {
        auto* alert = findAlert (desktop);
        ASSERT_NE (alert, nullptr);
        for (int i = 0; i < alert->getNumButtons(); ++i)
            if (alert->getButton (i)->getButtonText() == buttonText)
                alert->buttonClicked (alert->getButton (i));
        testing_support::runPendingMessages();
    }

    TempFolder temp { "pulsetta-file-saver-" };
    DialogDesktop desktop;
    juce::Component page;
    FileSaver saver { page };
    std::optional<FileSaver::Outcome> outcome;
    juce::File saved;
};
} // namespace

TEST (FileSaver, SettlesTheExtensionAndAsksBeforeOverwritingAFileOfTheFinalName)
{
    using Outcome = FileSaver::Outcome;
    struct Case
    {
        const char* what;
        std::optional<juce::String> chosen; // none: the dialog is cancelled
        bool bankExists;                    // "bank.xrptrb" holds "old"
        const char* overwriteAnswer;        // the button clicked on the question; null: no question
        Outcome outcome;
        const char* savedName;              // the file holding "new" afterwards
    };
    const Case cases[] = {
        { "a name without extension", juce::String ("bank"), false, nullptr, Outcome::saved, "bank.xrptrb" },
        { "cancelled", std::nullopt, true, nullptr, Outcome::cancelled, nullptr },
        { "an existing file, Yes", juce::String ("bank"), true, "Yes", Outcome::saved, "bank.xrptrb" },
        { "an existing file, Cancel", juce::String ("bank"), true, "Cancel", Outcome::cancelled, nullptr },
        { "the extension in capitals", juce::String ("bank.XRPTRB"), false, nullptr, Outcome::saved, "bank.XRPTRB" },
        { "the filter's other extension", juce::String ("bank.xml"), true, nullptr, Outcome::saved, "bank.xml" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        SaveSite site;
        const auto bank = site.file ("bank.xrptrb");
        if (c.bankExists)
        {
            ASSERT_TRUE (bank.replaceWithText ("old"));
        }

        if (c.chosen)
            site.desktop.choose (site.file (*c.chosen));
        else
            site.desktop.cancel();

        site.save();
        ASSERT_EQ (site.desktop.requests.size(), 1u);
        EXPECT_EQ (site.desktop.requests[0].mode, FileDialogRequest::saveFile);

        if (c.overwriteAnswer != nullptr)
        {
            EXPECT_FALSE (site.outcome.has_value()); // waiting for the answer
            EXPECT_EQ (toolkit_test::ref (findAlert (site.desktop)).getMessage(), "Do you want to overwrite 'bank.xrptrb' ?");
            site.answer (c.overwriteAnswer);
        }

        EXPECT_EQ (findAlert (site.desktop), nullptr);
        ASSERT_TRUE (site.outcome.has_value());
        EXPECT_EQ (*site.outcome, c.outcome);
        EXPECT_FALSE (site.saver.isSaving());

        if (c.savedName != nullptr)
        {
            EXPECT_EQ (site.saved, site.file (c.savedName));
            EXPECT_EQ (site.saved.loadFileAsString(), "new");
        }

        if (c.bankExists && (c.savedName == nullptr || site.saved != bank))
        {
            EXPECT_EQ (bank.loadFileAsString(), "old");
        }

        EXPECT_TRUE (site.folder().findChildFiles (juce::File::findFiles, false, ".*").isEmpty()); // no temporary file left
    }
}

// A write that fails (a read-only folder, or the document's own writer) is
// told to the user, and the old file stays as it was.
TEST (FileSaver, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    for (const bool readOnlyFolder : { true, false })
    {
        SCOPED_TRACE (readOnlyFolder ? "read-only folder" : "the writer fails");
        SaveSite site;
        const auto bank = site.file ("bank.xrptrb");
        ASSERT_TRUE (bank.replaceWithText ("old"));
        site.desktop.choose (bank);

        {
            std::optional<ScopedReadOnlyFolder> readOnly;
            if (readOnlyFolder)
                readOnly.emplace (bank.getParentDirectory());

            site.save (! readOnlyFolder);
        }

        ASSERT_TRUE (site.outcome.has_value());
        EXPECT_EQ (*site.outcome, FileSaver::Outcome::failed);
        EXPECT_EQ (site.saved, bank);
        EXPECT_EQ (bank.loadFileAsString(), "old");
        EXPECT_EQ (site.folder().getNumberOfChildFiles (juce::File::findFiles, "*"), 1); // no temporary file left

        auto& notice = toolkit_test::ref (findAlert (site.desktop));
        EXPECT_EQ (notice.getMessage(), "Could not write '" + bank.getFullPathName() + "'.");
        site.answer ("OK");
        EXPECT_EQ (findAlert (site.desktop), nullptr);
    }
}

// The saver's owner closed before the dialog answered: nothing is written.
TEST (FileSaver, AnAnswerAfterTheOwnerWasDeletedIsDropped)
{
    TempFolder folder ("pulsetta-file-saver-gone-");
    DialogDesktop desktop;
    auto page = std::make_unique<juce::Component>();
    auto saver = std::make_unique<FileSaver> (*page);
    desktop.addAndMakeVisible (*page);
    const auto target = juce::File (juce::String (folder.path.string())).getChildFile ("map.xrdrmap");
    desktop.choose (target);
    bool called = false;

    saver->save ({ "Save drum map", {}, "*.xrdrmap", ".xrdrmap", [] (juce::OutputStream&) { return true; } },
                 [&called] (FileSaver::Outcome, const juce::File&) { called = true; });
    saver.reset();
    page.reset();
    testing_support::runPendingMessages();

    EXPECT_FALSE (called);
    EXPECT_FALSE (target.exists());
}
