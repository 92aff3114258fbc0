#include "support/MessageLoop.h"
#include "support/ReadOnlyFolder.h"
#include "tools/TempFolder.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include "toolkit/widgets/FileSaver.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace
{
using toolkit_test::findShownAlert;
using testing_support::ScopedReadOnlyFolder;

// A page of the editor saving "new" as a pattern bank into a temp folder.
struct SaveSite
{
    SaveSite()
    {
        desktop.addAndMakeVisible (page);
        page.setBounds (0, 0, 400, 300);
    }

    juce::File file (const juce::String& name) const { return juce::File (juce::String (folder.path.string())).getChildFile (name); }

    void save (bool writerFails = false, const juce::String& documentName = {})
    {
        const FileSaver::Request request { "Save pattern bank", file (""), "*.xrptrb;*.xml", ".xrptrb",
                                           [writerFails] (juce::OutputStream& out) { return out.writeString ("new") && ! writerFails; },
                                           documentName };
        ASSERT_TRUE (saver->save (request, [this] (FileSaver::Outcome o, const juce::File& f)
                                  {
                                      outcome = o;
                                      saved = f;
                                      if (ownerDeletesTheSaver)
                                          saver.reset();
                                  }));
        EXPECT_FALSE (saver->save (request, {})); // one save at a time
        testing_support::runPendingMessages();
    }

    // Clicks a button of the alert shown over the Desktop.
    void answer (const juce::String& buttonText) { toolkit_test::answerShownAlert (desktop, buttonText); }

    TempFolder folder { "pulsetta-file-saver-" };
    toolkit_test::DialogDesktop desktop;
    juce::Component page;
    std::unique_ptr<FileSaver> saver = std::make_unique<FileSaver> (page);
    bool ownerDeletesTheSaver = false; // in its callback, as a page closing after its save would
    std::optional<FileSaver::Outcome> outcome;
    juce::File saved;
};
} // namespace

// The dialog only asked about the name chosen: when the extension makes
// another name, an existing file of that name is asked about first.
TEST (FileSaver, SettlesTheExtensionBeforeAskingToOverwrite)
{
    using Outcome = FileSaver::Outcome;
    struct Case
    {
        std::optional<juce::String> chosen; // none: the dialog is cancelled
        bool bankExists;                    // "bank.xrptrb" holds "old"
        const char* overwriteAnswer;        // null: no question is asked
        Outcome outcome;
        const char* savedName;              // the file holding "new" afterwards
    };
    const Case cases[] = {
        { juce::String ("bank"), false, nullptr, Outcome::saved, "bank.xrptrb" },
        { std::nullopt, true, nullptr, Outcome::cancelled, nullptr },
        { juce::String ("bank"), true, "Yes", Outcome::saved, "bank.xrptrb" },
        { juce::String ("bank"), true, "Cancel", Outcome::cancelled, nullptr },
        { juce::String ("bank.XRPTRB"), false, nullptr, Outcome::saved, "bank.XRPTRB" },
        { juce::String ("bank.xml"), true, nullptr, Outcome::saved, "bank.xml" }, // the filter's other extension
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.chosen.value_or ("cancelled") + (c.bankExists ? " over bank.xrptrb" : ""));
        SaveSite site;
        const auto bank = site.file ("bank.xrptrb");
        if (c.bankExists)
            (void) bank.replaceWithText ("old");
        if (c.chosen)
            site.desktop.choose (site.file (*c.chosen));
        else
            site.desktop.cancel();

        site.save();
        EXPECT_EQ (site.desktop.requests.at (0).mode, FileDialogRequest::saveFile);

        if (c.overwriteAnswer != nullptr)
        {
            EXPECT_FALSE (site.outcome.has_value());
            EXPECT_EQ (toolkit_test::ref (findShownAlert (site.desktop)).getMessage(), "Do you want to overwrite 'bank.xrptrb' ?");
            site.answer (c.overwriteAnswer);
        }

        EXPECT_EQ (findShownAlert (site.desktop), nullptr);
        EXPECT_EQ (site.outcome, c.outcome);
        EXPECT_EQ (site.saved, c.savedName != nullptr ? site.file (c.savedName) : juce::File());
        EXPECT_EQ (site.saved.loadFileAsString(), c.savedName != nullptr ? "new" : "");
        EXPECT_EQ (bank.loadFileAsString(), site.saved == bank ? "new" : c.bankExists ? "old" : "");
    }
}

// The dialog proposes the document's own name, fit for a file name and with
// the extension settled; without a name, the folder.
TEST (FileSaver, ProposesTheDocumentsNameInTheStartFolder)
{
    const struct
    {
        const char* documentName;
        const char* proposed; // null: the folder itself
    } cases[] = {
        { "Deep House", "Deep House.xrptrb" },
        { "Kick/Snare: 2?", "KickSnare 2.xrptrb" },
        { "Groove.xml", "Groove.xml" },
        { " Beat 1.5 ", "Beat 1.5.xrptrb" },
        { "", nullptr },
        { "/?", nullptr },
        { "..", nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.documentName);
        SaveSite site;
        site.desktop.cancel();
        site.save (false, c.documentName);
        EXPECT_EQ (site.desktop.requests.at (0).start, c.proposed != nullptr ? site.file (c.proposed) : site.file (""));
    }

    // A start that is a file in the folder: the name goes beside it.
    SaveSite site;
    ASSERT_TRUE (site.file ("Old.xrptrb").create());
    EXPECT_EQ (FileSaver::proposeFile (site.file ("Old.xrptrb"), "Deep House", "*.xrptrb;*.xml", ".xrptrb"), site.file ("Deep House.xrptrb"));
}

// A write that fails (into a read-only folder, or by the document's writer)
// is told to the user, and then to the owner, which may delete the saver; the
// old file stays as it was.
TEST (FileSaver, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    for (const bool readOnlyFolder : { true, false })
    for (const bool ownerDeletesTheSaver : { false, true })
    {
        SCOPED_TRACE (juce::String (readOnlyFolder ? "read-only folder" : "the writer fails")
                      + (ownerDeletesTheSaver ? ", the saver deleted in its callback" : ""));
        SaveSite site;
        site.ownerDeletesTheSaver = ownerDeletesTheSaver;
        const auto bank = site.file ("bank.xrptrb");
        ASSERT_TRUE (bank.replaceWithText ("old"));
        site.desktop.choose (bank);
        {
            std::optional<ScopedReadOnlyFolder> readOnly;
            if (readOnlyFolder)
                readOnly.emplace (bank.getParentDirectory());
            site.save (! readOnlyFolder);
        }

        EXPECT_EQ (bank.loadFileAsString(), "old");
        EXPECT_EQ (bank.getParentDirectory().getNumberOfChildFiles (juce::File::findFiles), 1); // no temporary file left
        EXPECT_EQ (toolkit_test::ref (findShownAlert (site.desktop)).getMessage(), "Could not write '" + bank.getFullPathName() + "'.");
        EXPECT_FALSE (site.outcome.has_value()) << "the owner hears of it once the user has read it";
        site.answer ("OK");
        EXPECT_EQ (site.outcome, FileSaver::Outcome::failed);
        EXPECT_EQ (site.saver == nullptr, ownerDeletesTheSaver);
        EXPECT_EQ (findShownAlert (site.desktop), nullptr);
    }
}
