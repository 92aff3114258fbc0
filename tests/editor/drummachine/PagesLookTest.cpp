#include "DrumMachineEditorTestSupport.h"

#include "tests/editor/TestPicture.h"
#include "toolkit/windows/OptionsWindow.h"

// Writes drummachine-pages.png into the test output folder: the product
// editor's options window showing each of the four drum machine pages in
// turn, for a person to look at.
using PagesLook = DrumMachineEditorTest;

TEST_F (PagesLook, WritesAPictureOfTheFourPages)
{
    constexpr int gutter = 10; // pixels
    product->getDrumMap().setUserDrumMapFile ("/home/musician/Drum maps/General MIDI with a second snare on 60.xrdrmap");
    editor().getDrumMapPage().updateFromProcessor();
    editor().controllerEventFired (nullptr, BasePlugin::optionsCommand);

    auto& window = editor().getOptionsWindow();
    juce::Image sheet (juce::Image::RGB, 2 * window.getWidth() + 3 * gutter, 2 * window.getHeight() + 3 * gutter, true);
    juce::Graphics g (sheet);
    g.fillAll (juce::Colour (0xFF101010));
    int shown = 0;
    for (const auto* page : { "Outputs", "Sequencer", "Patterns", "Drum map" })
    {
        window.getTabs().setCurrentTabIndex (window.getTabs().getTabNames().indexOf (page));
        g.drawImageAt (window.createComponentSnapshot (window.getLocalBounds()), gutter + (shown % 2) * (window.getWidth() + gutter),
                       gutter + (shown / 2) * (window.getHeight() + gutter));
        ++shown;
    }
    editor_testing::writeTestPicture (sheet, "drummachine-pages.png");
}
