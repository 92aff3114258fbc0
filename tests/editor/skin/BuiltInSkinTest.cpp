// The built-in skin as the editor gets it: through the loader, for a real
// Pulsetta. Its document, names, links and strips are checked where the skin
// is made (tests/resources); here, what the loader gives the editor.
#include "editor/skin/SkinLoader.h"
#include "editor/skin/SkinFiles.h"
#include "framework/core/ResourceImages.h"
#include "framework/processor/BasePlugin.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/binding/WidgetTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <vector>

juce::AudioProcessor* createPluginFilter();

namespace
{
class BuiltInSkin : public ::testing::Test,
                    protected testing_support::TemporaryUserFolders
{
protected:
    BuiltInSkin() : TemporaryUserFolders ("pulsetta-built-in-skin-")
    {
        product.reset (dynamic_cast<BasePlugin*> (createPluginFilter()));
    }

    PanelBuild load() { return SkinLoader (*product, skinfiles::getSkinsFolder (*product), {}).createMainPanel(); }

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<BasePlugin> product;
};
} // namespace

TEST_F (BuiltInSkin, EmptyNameBuildsItWithoutAProblem)
{
    // Wall-clock time and the processor time of this process (the second
    // is what a loaded build machine does not inflate).
    std::vector<double> milliseconds, cpuMilliseconds;
    PanelBuild built;

    for (int i = 0; i < 11; ++i)
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        const auto cpuStart = std::clock();
        built = load();
        cpuMilliseconds.push_back (1000.0 * double (std::clock() - cpuStart) / CLOCKS_PER_SEC);
        milliseconds.push_back (juce::Time::getMillisecondCounterHiRes() - start);
    }

    ASSERT_NE (built.panel, nullptr) << built.problems.joinIntoString ("\n");
    EXPECT_EQ (built.panel->getName(), "MainEditorPanel");
    EXPECT_EQ (built.panel->getLocalBounds(), getResourceAsImage ("Background.png").getBounds());

    EXPECT_TRUE (built.problems.isEmpty()) << built.problems.joinIntoString ("\n");

    const auto firstAndMedian = [] (std::vector<double> times) {
        const auto first = times.front();
        std::sort (times.begin(), times.end());
        return juce::String (first, 1) + " ms the first time, " + juce::String (times[times.size() / 2], 1) + " ms the median of "
               + juce::String ((int) times.size());
    };
    std::cout << "built-in skin loaded: " << firstAndMedian (milliseconds) << "; processor time " << firstAndMedian (cpuMilliseconds) << "\n";
}

TEST_F (BuiltInSkin, PaintsAWholePanelWithEveryControlOnIt)
{
    const auto built = load();
    ASSERT_NE (built.panel, nullptr);
    auto& panel = *built.panel;
    widget_testing::Stage stage;
    stage.add (panel);

    std::vector<juce::Component*> controls;
    const std::function<void (juce::Component&)> collect = [&] (juce::Component& parent) {
        for (auto* child : parent.getChildren())
        {
            controls.push_back (child);
            collect (*child);
        }
    };
    collect (panel);
    EXPECT_GT (controls.size(), 150u);

    for (auto* control : controls)
    {
        const auto onPanel = panel.getLocalArea (control->getParentComponent(), control->getBounds());
        EXPECT_FALSE (onPanel.isEmpty()) << control->getName();
        EXPECT_TRUE (panel.getLocalBounds().contains (onPanel)) << control->getName() << " at " << onPanel.toString();
    }

    // Painted, it is more than its background: the controls show.
    const auto painted = widget_testing::paintImage (panel);
    const auto background = getResourceAsImage ("Background.png");
    int changed = 0, all = 0;
    for (int y = 0; y < painted.getHeight(); y += 2)
        for (int x = 0; x < painted.getWidth(); x += 2, ++all)
            changed += painted.getPixelAt (x, y) != background.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (changed, all / 20);

    // The panel as the loader gives it, before any editor runs it (the
    // README's picture is the editor window test's, of a running editor).
    if (const char* output = std::getenv ("PULSETTA_TEST_OUTPUT"))
    {
        juce::MemoryOutputStream png;
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (painted, png));
        EXPECT_TRUE (juce::File (output).getChildFile ("panel.png").replaceWithData (png.getData(), png.getDataSize()));
    }
}
