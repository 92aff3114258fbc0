// The built-in skin as the editor gets it: through the loader, for a real
// Pulsetta. Its document, names, links and strips are checked where the skin
// is made (tests/resources); here, what the loader gives the editor.
#include "editor/skin/SkinLoader.h"
#include "editor/skin/SkinFiles.h"
#include "framework/core/ResourceImages.h"
#include "framework/processor/BasePlugin.h"
#include "support/TemporaryUserFolders.h"
#include "tests/editor/TestPicture.h"
#include "toolkit/binding/WidgetTestKit.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

juce::AudioProcessor* createPluginFilter();

namespace
{
struct BuiltInSkin : ::testing::Test,
                     testing_support::TemporaryUserFolders
{
    BuiltInSkin() : TemporaryUserFolders ("pulsetta-built-in-skin-") {}

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<BasePlugin> product { dynamic_cast<BasePlugin*> (createPluginFilter()) };
};
} // namespace

// The empty name builds it without a problem: a whole panel, every control on
// it, painted more than its background.
TEST_F (BuiltInSkin, EmptyNameBuildsAWholePanelWithEveryControlOnIt)
{
    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto built = SkinLoader (*product, skinfiles::getSkinsFolder (*product), {}).createMainPanel();
    std::cout << "built-in skin loaded in " << juce::Time::getMillisecondCounterHiRes() - start << " ms\n";
    ASSERT_NE (built.panel, nullptr);
    EXPECT_TRUE (built.problems.isEmpty()) << built.problems.joinIntoString ("\n");
    auto& panel = *built.panel;
    const auto background = getResourceAsImage ("Background.png");
    EXPECT_EQ (panel.getName(), "MainEditorPanel");
    EXPECT_EQ (panel.getLocalBounds(), background.getBounds());
    widget_testing::Stage stage;
    stage.add (panel);

    int controls = 0;
    const std::function<void (juce::Component&)> check = [&] (juce::Component& parent) {
        for (auto* child : parent.getChildren())
        {
            ++controls;
            const auto onPanel = panel.getLocalArea (&parent, child->getBounds());
            EXPECT_FALSE (onPanel.isEmpty()) << child->getName();
            EXPECT_TRUE (panel.getLocalBounds().contains (onPanel)) << child->getName() << " at " << onPanel.toString();
            check (*child);
        }
    };
    check (panel);
    EXPECT_GT (controls, 150);

    const auto painted = widget_testing::paintImage (panel);
    int changed = 0, all = 0;
    for (int y = 0; y < painted.getHeight(); y += 2)
        for (int x = 0; x < painted.getWidth(); x += 2, ++all)
            changed += painted.getPixelAt (x, y) != background.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (changed, all / 20);

    // The panel as the loader gives it, before any editor runs it (the
    // README's picture is the editor window test's, of a running editor).
    editor_testing::writeTestPicture (painted, "panel.png");
}
