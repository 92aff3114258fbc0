// The "GUI" and "Processing" pages, which this product does not offer: the
// GUI page over skin packages made in a temporary folder, the Processing
// page through an editor whose processor has quality parameters.
#include "editor/base/EditorTestSupport.h"
#include "editor/pages/ProcessingSettingsComponent.h"

using namespace editor_testing;

namespace
{
struct SkinNotes : GUISettingsComponent::Listener
{
    void defaultSkinChanged (GUISettingsComponent* page) override { notes.add ("default " + page->getDefaultSkinChoice()); }
    void currentSkinChanged (GUISettingsComponent* page) override { notes.add ("current " + page->getCurrentSkinChoice()); }
    juce::StringArray notes;
};

struct GuiPage : FolderTest
{
    juce::File skins = folder.getChildFile ("Skins");
};
} // namespace

TEST_F (GuiPage, ListsTheReadableSkinsInOrderAndSelectsThemByName)
{
    skin_testing::writeValidPackage (skins, "gamma", makeSkin (400, 300));
    skin_testing::writeValidPackage (skins, "Alpha", makeSkin (300, 200));
    skin_testing::writeValidPackage (skins, "beta", makeSkin (5000, 10));
    skin_testing::writeValidPackage (skins, "delta", skin_testing::zipOf ({ { "Background.png", skin_testing::pngOf (widget_testing::makeFrameStrip (1, 30, 20)) } }));
    skins.getChildFile ("folder.kyxskin").createDirectory();

    GUISettingsComponent page (skins);
    SkinNotes listener;
    page.addListener (&listener);

    juce::StringArray described;
    for (const auto& skin : page.getSkins())
        described.add (GUISettingsComponent::describeSkin (skin));
    EXPECT_EQ (described, juce::StringArray ({ "Alpha - 300 x 200", "beta - 5000 x 10", "gamma - 400 x 300" }));
    EXPECT_EQ (page.getPreferredSkinName(), "gamma");

    page.setCurrentSkin ("ALPHA", true);
    page.setDefaultSkin ("Beta", false);
    page.setDefaultSkin ("epsilon", true);
    EXPECT_EQ (listener.notes, juce::StringArray ("current Alpha"));
    EXPECT_EQ (page.getCurrentChooser().getText(), "Alpha - 300 x 200");
    EXPECT_EQ (page.getDefaultSkinChoice(), "beta");
    EXPECT_EQ (page.getCurrentPreview().getImage().getBounds(), juce::Rectangle<int> (30, 20));
    page.removeListener (&listener);
}

// The first skin is the fallback unless a later one fits the screen; its own
// size is never asked.
TEST_F (GuiPage, PrefersTheLastSkinThatFitsTheScreenElseTheFirst)
{
    const struct
    {
        std::vector<std::tuple<const char*, int, int>> skins;
        const char* preferred;
    } cases[] = { { { { "a", 5000, 10 }, { "b", 300, 200 }, { "c", 320, 240 }, { "d", 10, 5000 } }, "c" },
                  { { { "a", 5000, 10 }, { "b", 10, 5000 } }, "a" },
                  { {}, "" } };

    for (const auto& c : cases)
    {
        skins.deleteRecursively();
        for (auto [name, width, height] : c.skins)
            skin_testing::writeValidPackage (skins, name, makeSkin (width, height));

        EXPECT_EQ (GUISettingsComponent (skins).getPreferredSkinName(), c.preferred);
    }
}

TEST_F (GuiPage, WithoutASkinsFolderBothChoosersStayEmpty)
{
    GUISettingsComponent page (folder.getChildFile ("none"));
    widget_testing::Stage stage;
    stage.add (page);
    page.setDefaultSkin ("Alpha", true);

    EXPECT_TRUE (page.getSkins().empty());
    EXPECT_EQ (page.getDefaultChooser().getText(), "---");
    EXPECT_EQ (page.getCurrentChooser().getText(), "---");
    EXPECT_EQ (page.getDefaultSkinChoice(), "");
    EXPECT_FALSE (page.getDefaultPreview().getImage().isValid());
    widget_testing::paintImage (page); // previews without a picture
}

TEST_F (FolderTest, TheProcessingPageSetsTheFourQualitiesWithItsLabelsAligned)
{
    StubOptions options;
    options.qualityParameters = true;
    const auto processor = makeStub (options);
    auto& page = toolkit_test::ref (processor->editor().getProcessingPage());
    auto& parameters = processor->getParameterManager();
    widget_testing::Stage stage;
    stage.add (processor->editor());

    const std::tuple<ProcessingSettingsComponent::QualityPanel*, int, int> choosers[] = {
        { &page.getDefaultPanel(), 0, StubProcessor::defaultRealtimeQualityId },
        { &page.getDefaultPanel(), 1, StubProcessor::defaultOfflineQualityId },
        { &page.getCurrentPanel(), 0, StubProcessor::realtimeQualityId },
        { &page.getCurrentPanel(), 1, StubProcessor::offlineQualityId },
    };

    for (auto [panel, row, id] : choosers)
    {
        parameters.setInt (id, 1);
        testing_support::runPendingMessages();
        EXPECT_EQ (panel->getChooser (row).getText(), "Good") << id;
        panel->getChooser (row).setSelectedId (2, true);
        EXPECT_EQ (parameters.getParameter (id)->getInt(), 2) << id;
    }

    for (auto* panel : { &page.getDefaultPanel(), &page.getCurrentPanel() })
    {
        EXPECT_EQ (panel->getLabel (0).getWidth(), panel->getLabel (1).getWidth());
        EXPECT_EQ (panel->getLabel (0).getWidth(), juce::jmax (panel->getLabel (0).getTextWidth(), panel->getLabel (1).getTextWidth()));
    }

    EXPECT_EQ (page.getDefaultPanel().getTitle(), "Default quality");
    EXPECT_EQ (page.getCurrentPanel().getTitle(), "Current quality");
}
