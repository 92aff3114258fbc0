#include "PagesTestSupport.h"

#include "editor/drummachine/PatternsSettingsComponent.h"

using PatternsPage = PageTest<PatternsSettingsComponent>;
using Store = PatternsSettingsComponent::Store;
using Source = DrumMachineSeq::PatternSource;

// The product's sequencer keeps one store: only its group shows.
TEST_F (PatternsPage, ShowsOnlyDefaultPatterns)
{
    EXPECT_FALSE (page->getGroup (PatternsSettingsComponent::hostStore).isVisible());
    EXPECT_FALSE (page->getGroup (PatternsSettingsComponent::nativeStore).isVisible());
    EXPECT_TRUE (page->getGroup (PatternsSettingsComponent::singleStore).isVisible());
    EXPECT_GT (page->getGroup (PatternsSettingsComponent::singleStore).getPathComponent().getWidth(), 0);
}

// A choice sets the source; a bank file chosen makes the user's bank the source.
TEST_F (PatternsPage, AChoiceOrAPathReachesTheSequencersDefaultSource)
{
    auto& patterns = page->getGroup (PatternsSettingsComponent::singleStore);
    patterns.setSelectedIndex (1, true);
    EXPECT_EQ (product->getPatternSource (0).source, Source::clearPatterns);

    const auto bank = folder.getChildFile ("mine.xrptrb").getFullPathName();
    patterns.getPathComponent().setPath (bank, true);
    EXPECT_EQ (product->getPatternSource (0).source, Source::userDefinedPatterns);
    EXPECT_EQ (product->getPatternSource (0).file, bank);
    EXPECT_EQ (patterns.getSelectedIndex(), 2);
}
