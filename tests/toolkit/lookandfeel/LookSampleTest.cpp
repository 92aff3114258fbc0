#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/ToolkitArtwork.h"
#include "toolkit/menus/PopupMenuComponent.h"
#include "toolkit/widgets/TextButtonWithIcon.h"
#include "toolkit/windows/AlertWindow.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/OptionsWindow.h"
#include "toolkit/windows/PanelComponent.h"
#include "toolkit/windows/StatusBar.h"
#include "toolkit/windows/TextButtonEx.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Writes toolkit-look.png into the test output folder: an options window
// with its tabbed pages, an alert, an open menu with a submenu over the
// status bar, and the icon and button sets, for a person to look at.
namespace
{
constexpr int panelWidth = 500, panelHeight = 360, gutter = 10;

// Where the skin would be: something dark to show the veil over it.
struct EditorBackdrop : juce::Component
{
    void paint (juce::Graphics& g) override
    {
        g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xFF3C4046), 0.0f, juce::Colour (0xFF1E2024), (float) getHeight()));
        g.fillAll();
        g.setColour (juce::Colour (0xFF50555C));

        for (int x = 30; x < getWidth() - 40; x += 70)
            for (int y = 40; y < getHeight() - 60; y += 80)
                g.drawEllipse ((float) x, (float) y, 40.0f, 40.0f, 3.0f);
    }
};

struct Scene : toolkit_test::TestDesktop
{
    Scene() : toolkit_test::TestDesktop (panelWidth, panelHeight)
    {
        addAndMakeVisible (backdrop);
        backdrop.setBounds (getLocalBounds());
    }

    EditorBackdrop backdrop;
};

juce::String outputFolder()
{
    const char* folder = std::getenv ("PULSETTA_TEST_OUTPUT");
    return folder != nullptr && *folder != '\0' ? juce::String (folder) : juce::File::getSpecialLocation (juce::File::tempDirectory).getFullPathName();
}

struct QualityChooser : ComponentRow
{
    QualityChooser (const juce::String& name, const juce::String& choice)
        : ComponentRow (horizontal, alignCentre, 6), label ({}, name)
    {
        label.setSize (70, 20);
        chooser.setButtonText (choice);
        chooser.setIconOnRight (true);
        chooser.setIconMargins ({ 3, 1, 5, 1 });
        chooser.setIcon (*toolkit::getToolbarIcon (5));
        chooser.setSize (200, 20);
        addAndMakeVisible (label);
        addAndMakeVisible (chooser);
    }

    HardLabel label;
    TextButtonWithIcon chooser;
};

void paintOptionsWindow (juce::Graphics& g)
{
    Scene scene;
    OptionsWindow window;
    window.setTitle ("Options");
    scene.addChildComponent (window);
    window.setSize (460, 320);

    juce::Component outputs;
    PanelComponent quality ("Default quality");
    ComponentRow rows (ComponentRow::vertical, ComponentRow::alignStart, 6);
    QualityChooser realtime ("Real-time", "Good"), offline ("Offline", "Best");
    rows.addAndMakeVisible (realtime);
    rows.addAndMakeVisible (offline);
    quality.setContentComponent (&rows, true);
    quality.setTopLeftPosition (10, 10);
    outputs.addAndMakeVisible (quality);

    ComponentRow tools (ComponentRow::horizontal, ComponentRow::alignCentre, 4);
    juce::OwnedArray<juce::Component> owned;
    for (int icon : { 13, 14, 1, 3, 6, 5 })
    {
        auto* button = owned.add (scene.lookAndFeel.createIconButton ("icon", icon).release());
        button->setSize (24, 24);
        tools.addAndMakeVisible (button);
    }
    for (const char* text : { "Load", "Save" })
    {
        auto* button = new juce::TextButton (text);
        owned.add (button);
        button->setSize (scene.lookAndFeel.getTextButtonWidthToFitText (*button, 20), 20);
        tools.addAndMakeVisible (button);
    }
    tools.setTopLeftPosition (10, quality.getBottom() + 14);
    outputs.addAndMakeVisible (tools);

    auto apply = scene.lookAndFeel.createWindowButton ("Apply");
    apply->setTopLeftPosition (10, tools.getBottom() + 12);
    outputs.addAndMakeVisible (*apply);

    auto& tabs = window.getTabs();
    const juce::Colour page (0xFFC5C5C5);
    tabs.addTab ("Outputs", page, &outputs, false);
    for (const char* name : { "Sequencer", "Presets", "Patterns", "Drum map", "Midi Control" })
        tabs.addTab (name, page, new juce::Component(), true);
    tabs.setCurrentTabIndex (0);

    scene.sendLookAndFeelChange();
    window.show();
    g.drawImageAt (scene.snapshot(), 0, 0);
}

void paintAlert (juce::Graphics& g)
{
    Scene scene;
    auto alert = Kyx::showSaveOverwriteDiscardAlert (
        "Pulsetta", "Changes have been made to current preset. Do you want to save them or discard?", nullptr);
    scene.addChildComponent (*alert);
    alert->show();
    g.drawImageAt (scene.snapshot(), 0, 0);
}

void paintMenu (juce::Graphics& g)
{
    Scene scene;
    StatusBar status;
    scene.addAndMakeVisible (status);
    scene.modalArea = { 0, 0, panelWidth, panelHeight - 16 };
    status.sendLookAndFeelChange();
    status.setBounds (0, panelHeight - 16, panelWidth, 16);
    status.showMessage ("Pattern 13: Bank B, pattern 1", 6);

    PopupMenuEx banks, bankB;
    for (int i = 1; i <= 4; ++i)
        bankB.addItem (12 + i, "Bank B pattern " + juce::String (i));
    banks.addItem (100, "Bank A");
    banks.addSubmenu (101, "Bank B", bankB);
    banks.addItem (102, "Bank C");
    banks.setItemEnabled (102, false);

    PopupMenuEx menu;
    menu.addItem (0, "Load pattern");
    menu.addItem (1, "Load pattern bank");
    menu.addSubmenu (2, "Factory patterns", banks);
    menu.addItem (3, "Save pattern");
    menu.setItemTicked (13, true, true);

    juce::TextButton opener ("Patterns");
    opener.setBounds (40, 30, 90, 22);
    scene.addAndMakeVisible (opener);
    menu.show (&scene, opener.getBounds());

    auto& component = *menu.getMenuComponent();
    auto hover = [&component] (int window, int row)
    {
        auto& menuWindow = *component.getWindow (window);
        const auto at = juce::Point<float> (20.0f, (float) (PopupMenuEx::rowsTop + row * PopupMenuEx::rowHeight + 8));
        menuWindow.mouseMove (widget_testing::mouseAt (menuWindow, at, at, {}));
        component.timerCallback();
    };
    hover (0, 2);
    hover (1, 1);
    hover (2, 0);

    g.drawImageAt (scene.snapshot(), 0, 0);
}

void paintArtwork (juce::Graphics& g)
{
    toolkit_test::TestDesktop desktop (panelWidth, panelHeight);
    auto& lookAndFeel = desktop.lookAndFeel;
    g.fillAll (juce::Colour (0xFFC5C5C5));

    auto caption = [&] (const juce::String& text, int y)
    {
        g.setColour (juce::Colours::black);
        g.setFont (lookAndFeel.getBoldFont());
        g.drawText (text, 16, y, panelWidth - 32, 16, juce::Justification::left);
    };
    auto number = [&] (int id, int x, int y)
    {
        g.setColour (juce::Colour (0xFF5B5B5B));
        g.setFont (lookAndFeel.getRegularFont().withHeight (10.0f));
        g.drawText (juce::String (id), x - 2, y, 28, 12, juce::Justification::centred);
    };

    caption ("Icon buttons: normal, mouse over, light set", 10);
    int x = 16;
    for (int id = 0; id <= 21; ++id)
    {
        if (! toolkit::hasIconImages (id))
            continue;

        g.drawImageAt (toolkit::getIconImage (id, 1, false), x, 32);
        g.drawImageAt (toolkit::getIconImage (id, 1, true), x, 60);
        g.setColour (juce::Colour (0xFF444444));
        g.fillRect (x - 2, 86, 28, 28);
        g.drawImageAt (toolkit::getIconImage (id, 2, false), x, 88);
        number (id, x, 116);
        x += 28;
    }

    caption ("Vector icons", 140);
    x = 16;
    for (int id = 24; id <= 28; ++id)
    {
        toolkit::getToolbarIcon (id)->drawWithin (g, { (float) x, 162.0f, 24.0f, 24.0f }, juce::RectanglePlacement::centred, 1.0f);
        number (id, x, 188);
        x += 28;
    }

    caption ("Window buttons and frames", 212);
    auto small = lookAndFeel.createWindowButton ("Apply", 1);
    auto large = lookAndFeel.createWindowButton ("Apply", 2);
    small->setToggleState (true, juce::dontSendNotification);
    for (auto* button : { small.get(), large.get() })
        desktop.addAndMakeVisible (button);
    small->setTopLeftPosition (16, 236);
    large->setTopLeftPosition (small->getRight() + 8, 234);

    WindowComponent rounded;
    rounded.setTitle ("Rounded frame");
    rounded.setFrameStyle (WindowComponent::roundedFrame);
    desktop.addAndMakeVisible (rounded);
    rounded.setBounds (16, 272, 220, 76);

    desktop.sendLookAndFeelChange();

    for (juce::Component* part : { (juce::Component*) small.get(), (juce::Component*) large.get(), (juce::Component*) &rounded })
        g.drawImageAt (part->createComponentSnapshot (part->getLocalBounds()), part->getX(), part->getY());
}
} // namespace

TEST (LookSample, WritesAPictureOfTheToolkitsLook)
{
    juce::Image sheet (juce::Image::RGB, 2 * panelWidth + 3 * gutter, 2 * panelHeight + 3 * gutter, true);
    juce::Graphics g (sheet);
    g.fillAll (juce::Colour (0xFF101010));

    using Painter = void (*) (juce::Graphics&);
    const Painter painters[] = { paintOptionsWindow, paintAlert, paintMenu, paintArtwork };

    for (int i = 0; i < 4; ++i)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setOrigin (gutter + (i % 2) * (panelWidth + gutter), gutter + (i / 2) * (panelHeight + gutter));
        g.reduceClipRegion (0, 0, panelWidth, panelHeight);
        painters[i] (g);
    }

    testing_support::runPendingMessages();

    const auto file = juce::File (outputFolder()).getChildFile ("toolkit-look.png");
    file.deleteFile();
    {
        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (sheet, stream));
    }

    const auto written = juce::ImageFileFormat::loadFrom (file);
    EXPECT_EQ (written.getWidth(), sheet.getWidth());
    std::cout << "toolkit look: " << file.getFullPathName() << std::endl;
}
