#include "tests/editor/TestPicture.h"
#include "tests/editor/base/EditorTestSupport.h"

#include "editor/drummachine/PulsettaEditor.h"
#include "toolkit/windows/OptionsWindow.h"

// Writes drummachine-pages.png into the test output folder: the product
// editor's options window showing each of the four drum machine pages in
// turn, for a person to look at.
using PagesLook = editor_testing::FolderTest;

TEST_F (PagesLook, WritesAPictureOfTheFourPages)
{
    constexpr int gutter = 10; // pixels
    using EditedPulsetta = editor_testing::WithPersistentEditor<Pulsetta, PulsettaEditor>;
    const std::unique_ptr<EditedPulsetta> product (static_cast<EditedPulsetta*> (BasePlugin::startUp (std::make_unique<EditedPulsetta>())));
    product->getDrumMap().setUserDrumMapFile ("/home/musician/Drum maps/General MIDI with a second snare on 60.xrdrmap");
    auto& editor = product->editor();
    editor.getDrumMapPage().updateFromProcessor();
    toolkit_test::TestDesktop desktop (editor.getWidth(), editor.getHeight());
    desktop.addAndMakeVisible (editor);
    editor.controllerEventFired (nullptr, BasePlugin::optionsCommand);

    auto& window = editor.getOptionsWindow();
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
    desktop.removeChildComponent (&editor);
}
