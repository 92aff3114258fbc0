// The pattern menus under Ctrl+Prev and Ctrl+Next: what they offer and when,
// and the patterns and banks they load and save through the dialogs the test
// answers.
#include "DrumMachineEditorTestSupport.h"

#include "tests/editor/SaveSiteChecks.h"
#include "toolkit/menus/PopupMenuComponent.h"

namespace
{
// One kind of file the menus load and save.
struct FileKind
{
    const char* name;
    int item;            // in both menus
    const char* extension;
    const char* loadTitle;
    const char* saveTitle;
    const char* filter;
};

const FileKind patternFile { "pattern", DrumMachineEditor::patternItem, ".xrptr", "Load single pattern", "Save current pattern",
                             "*.xrptr;*.xml" };
const FileKind bankFile { "bank", DrumMachineEditor::bankItem, ".xrptrb", "Load pattern bank", "Save pattern bank",
                          "*.xrptrb;*.xml" };
} // namespace

class PatternMenus : public DrumMachineEditorTest
{
protected:
    PatternMenus()
    {
        files.createDirectory();
        product->setRecentlyUsedDirectory (folder);
    }

    // Ctrl+click on the arrow that opens the menu, then a click on the item.
    void choose (bool load, int item)
    {
        click (load ? "PattPrevButton" : "PattNextButton", ctrlClick());
        auto& menu = load ? editor().getLoadMenu() : editor().getSaveMenu();
        ASSERT_TRUE (menu.isShown());
        auto& window = toolkit_test::ref (menu.getMenuComponent()->getWindow (0));
        const auto centre = window.getRowBounds (item).getCentre().toFloat();
        window.mouseDown (widget_testing::mouseAt (window, centre, centre));
        flush();
    }

    void load (const FileKind& kind, const juce::File& file)
    {
        desktop.choose (file);
        choose (true, kind.item);
    }

    // What the file of that kind would hold now.
    juce::String contents (const FileKind& kind)
    {
        auto& sequencer = *product->getSequencer();
        const auto xml = kind.item == DrumMachineEditor::patternItem
                             ? sequencer.createPatternXml (sequencer.getEditedPatternIndex(), DrumMachineSeq::singleBank)
                             : sequencer.createBankXml (DrumMachineSeq::singleBank);
        return xml->toString();
    }

    juce::File files { folder.getChildFile ("patterns") };
};

TEST_F (PatternMenus, OpenOnlyWhileTheInternalSequencerIsOn)
{
    product->handleEvent (3000); // the internal sequencer off
    flush();
    ASSERT_FALSE (product->isInternalSequencerOn());
    click ("PattPrevButton", ctrlClick());
    click ("PattNextButton", ctrlClick());
    EXPECT_FALSE (editor().getLoadMenu().isShown());
    EXPECT_FALSE (editor().getSaveMenu().isShown());

    product->handleEvent (3000);
    flush();
    click ("PattPrevButton", ctrlClick());
    ASSERT_TRUE (editor().getLoadMenu().isShown());
    EXPECT_EQ (editor().getLoadMenu().getItem (0)->text, "Load pattern");
    EXPECT_EQ (editor().getLoadMenu().getItem (1)->text, "Load pattern bank");
    EXPECT_EQ (editor().getSaveMenu().getItem (0)->text, "Save pattern");
    EXPECT_EQ (editor().getSaveMenu().getItem (1)->text, "Save pattern bank");
}

TEST_F (PatternMenus, SaveAPatternAndABankAndLoadThemBack)
{
    product->handleEvent (3004); // write mode: the name shown is the edited pattern's
    auto& sequencer = *product->getSequencer();
    for (const auto* kind : { &patternFile, &bankFile })
    {
        SCOPED_TRACE (kind->name);
        desktop.requests.clear();
        product->setRecentlyUsedDirectory (folder);
        sequencer.setEditedPatternName ("Saved");
        const auto saved = contents (*kind);

        desktop.choose (files.getChildFile ("mine"));
        choose (false, kind->item);
        const auto file = files.getChildFile (juce::String ("mine") + kind->extension);
        EXPECT_TRUE (file.loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

        sequencer.clearEditedPattern();
        sequencer.setEditedPatternName ("Cleared");
        ASSERT_NE (contents (*kind), saved);
        product->setRecentlyUsedDirectory (folder);
        load (*kind, file);
        EXPECT_EQ (contents (*kind), saved);
        EXPECT_EQ (parameters().toString (3024), "Saved") << "the pattern's state is shown afresh";
        EXPECT_EQ (product->getRecentlyUsedDirectory(), files);

        ASSERT_EQ (desktop.requests.size(), 2u);
        EXPECT_EQ (desktop.requests[0].title, kind->saveTitle);
        EXPECT_EQ (desktop.requests[0].filter, kind->filter);
        // The pattern's name is proposed; a bank has none.
        EXPECT_EQ (desktop.requests[0].start, kind == &patternFile ? folder.getChildFile ("Saved.xrptr") : folder);
        EXPECT_EQ (desktop.requests[1].title, kind->loadTitle);
        EXPECT_EQ (desktop.requests[1].filter, kind->filter);
        EXPECT_EQ (desktop.requests[1].start, folder) << "the recently used folder";
    }
}

// A cancelled dialog, or a file that holds nothing of ours, changes no
// pattern, no file and not the recently used folder.
TEST_F (PatternMenus, ACancelOrAForeignFileChangesNothing)
{
    const auto foreign = files.getChildFile ("notes.xrptr");
    ASSERT_TRUE (foreign.replaceWithText ("<DrumMap/>"));
    for (const auto* kind : { &patternFile, &bankFile })
    {
        SCOPED_TRACE (kind->name);
        const auto before = contents (*kind);
        for (const bool loading : { true, false })
        {
            desktop.cancel();
            choose (loading, kind->item);
        }
        load (*kind, foreign);
        ASSERT_NE (shownAlert(), nullptr);
        EXPECT_TRUE (shownAlert()->getMessage().contains (foreign.getFullPathName()));
        answer ("OK");

        EXPECT_EQ (contents (*kind), before);
        EXPECT_EQ (product->getRecentlyUsedDirectory(), folder);
        EXPECT_EQ (files.getNumberOfChildFiles (juce::File::findFiles), 1);
    }
}

TEST_F (PatternMenus, SavingAsksBeforeOverwritingTheSettledNameAndTellsAFailedWrite)
{
    for (const auto* kind : { &patternFile, &bankFile })
    {
        SCOPED_TRACE (kind->name);
        editor_testing::checkSaveSite ({ desktop, files.getChildFile (juce::String ("old") + kind->extension),
                                         [this, kind] (const juce::File& chosen) {
                                             desktop.choose (chosen);
                                             choose (false, kind->item);
                                         },
                                         [this] { return product->getRecentlyUsedDirectory(); } });
    }
}
