#include "tests/drummachine/product/ProductTestSupport.h"

#include "editor/drummachine/DrumMapSettingsComponent.h"
#include "editor/drummachine/OutputsSettingsComponent.h"
#include "editor/drummachine/PatternsSettingsComponent.h"
#include "editor/drummachine/SequencerSettingsComponent.h"
#include "support/MessageLoop.h"
#include "toolkit/windows/OptionsWindow.h"
#include "toolkit/windows/TestDesktop.h"

#include <cstdlib>

// Writes drummachine-pages.png into the test output folder: the product's
// options window (640 x 480) showing each of the four pages in turn, for a
// person to look at.
namespace
{
constexpr int windowWidth = 640, windowHeight = 480, gutter = 10; // pixels

juce::File outputFolder()
{
    const char* folder = std::getenv ("PULSETTA_TEST_OUTPUT");
    return folder != nullptr && *folder != '\0' ? juce::File (folder) : juce::File::getSpecialLocation (juce::File::tempDirectory);
}
} // namespace

using PagesLook = ProductTest;

TEST_F (PagesLook, WritesAPictureOfTheFourPages)
{
    auto product = makeProduct();
    product->getDrumMap().setUserDrumMapFile ("/home/musician/Drum maps/General MIDI with a second snare on 60.xrdrmap");
    toolkit_test::TestDesktop desktop (windowWidth, windowHeight);
    OptionsWindow window;
    window.setTitle ("Options");
    desktop.addChildComponent (window);
    window.setSize (windowWidth, windowHeight);

    OutputsSettingsComponent outputs (*product);
    SequencerSettingsComponent sequencer (*product);
    PatternsSettingsComponent patterns (*product);
    DrumMapSettingsComponent drumMap (*product);
    juce::Component presets, midiControl;

    // Where the drum machine editor puts them among the base's pages.
    auto& tabs = window.getTabs();
    const juce::Colour page (0xFFC5C5C5);
    tabs.addTab ("Presets", page, &presets, false);
    tabs.addTab ("Midi Control", page, &midiControl, false);
    tabs.addTab ("Outputs", page, &outputs, false, 0);
    tabs.addTab ("Sequencer", page, &sequencer, false, 1);
    tabs.addTab ("Patterns", page, &patterns, false, 3);
    tabs.addTab ("Drum map", page, &drumMap, false, 4);
    desktop.sendLookAndFeelChange();
    window.show();

    juce::Image sheet (juce::Image::RGB, 2 * windowWidth + 3 * gutter, 2 * windowHeight + 3 * gutter, true);
    juce::Graphics g (sheet);
    g.fillAll (juce::Colour (0xFF101010));
    for (int tab : { 0, 1, 3, 4 })
    {
        tabs.setCurrentTabIndex (tab);
        const int shown = tab < 2 ? tab : tab - 1;
        g.drawImageAt (desktop.snapshot(), gutter + (shown % 2) * (windowWidth + gutter), gutter + (shown / 2) * (windowHeight + gutter));
    }

    ASSERT_TRUE (outputFolder().createDirectory());
    const auto file = outputFolder().getChildFile ("drummachine-pages.png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    ASSERT_TRUE (out.openedOk());
    EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (sheet, out));
}
