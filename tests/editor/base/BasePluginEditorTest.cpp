// The editor of the product as its processor makes it at start-up: the
// built-in skin under a status bar, the event chain to the processor, MIDI
// learn and MIDI activity feedback, the about box, and the skin following
// changes made by the host and by MIDI.
#include "EditorTestSupport.h"

#include "drummachine/product/Pulsetta.h"
#include "editor/base/AboutWindow.h"
#include "framework/core/XmlTags.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"

using namespace editor_testing;

namespace
{
using EditablePulsetta = WithPersistentEditor<Pulsetta, BasePluginEditor>;

struct ProductEditor : FolderTest
{
    ProductEditor()
    {
        product.reset (static_cast<EditablePulsetta*> (BasePlugin::startUp (std::make_unique<EditablePulsetta>())));
        stage.add (editor());
    }

    BasePluginEditor& editor() { return product->editor(); }
    juce::Component& control (const juce::String& name)
    {
        return toolkit_test::ref (BasePluginEditor::findControlByName (editor().getMainPanel(), name));
    }
    juce::String status() { return editor().getStatusBar().getMessage(); }

    widget_testing::Stage stage;
    std::unique_ptr<EditablePulsetta> product;
};

juce::StringArray tabNames (BasePluginEditor& editor)
{
    return editor.getOptionsWindow().getTabs().getTabNames();
}
} // namespace

TEST_F (ProductEditor, ShowsTheBuiltInSkinWithTheStatusBarUnderItAndOnlyTheMidiPageOfItsOwn)
{
    auto& e = editor();
    const auto* panel = e.getMainPanel();
    ASSERT_NE (panel, nullptr);
    EXPECT_EQ (panel->getName(), "MainEditorPanel");
    EXPECT_EQ (e.getBounds(), panel->getBounds().withHeight (panel->getHeight() + 16));
    EXPECT_EQ (e.getStatusBar().getBounds(), juce::Rectangle<int> (0, panel->getHeight(), panel->getWidth(), 16));
    EXPECT_EQ (e.getModalArea(), panel->getBounds()) << "a dialog never covers the status bar";
    EXPECT_NE (e.getMidiLearnButton(), nullptr);
    EXPECT_NE (e.getMidiActivityLed(), nullptr);
    EXPECT_TRUE (product->hasEditor());

    // The product's editor adds its own pages before it; the base adds no other.
    EXPECT_EQ (tabNames (e)[tabNames (e).size() - 1], "Midi Control");
    auto& tabs = e.getOptionsWindow().getTabs();
    for (const juce::Component* frameworkPage : { (juce::Component*) &e.getHostParametersPage(), (juce::Component*) &e.getPresetsSettingsPage() })
        for (int tab = 0; tab < tabs.getNumTabs(); ++tab)
            EXPECT_NE (tabs.getTabContentComponent (tab), frameworkPage) << "a drum machine shows the framework's pages nowhere";
    EXPECT_EQ (e.getProcessingPage(), nullptr);
    EXPECT_EQ (e.getGUIPage(), nullptr);
}

TEST_F (ProductEditor, ASkinButtonsEventReachesTheProcessor)
{
    const bool wasOn = product->getParameterManager().getBool (3000); // "Internal Sequencer State"
    widget_testing::clickCentre (control ("IntSeqButton"));
    EXPECT_NE (product->getParameterManager().getBool (3000), wasOn);
}

TEST_F (ProductEditor, ToggleMidiLearnShowsThePromptsInOrderAndBlinksTheLearnButton)
{
    auto& e = editor();
    auto& learnButton = *e.getMidiLearnButton();
    auto& knob = dynamic_cast<GUIController&> (control ("BassDrumLevelKnob"));
    auto& midiControl = product->getMidiControl();
    juce::StringArray shown;
    const auto step = [&] (const std::function<void()>& action) {
        action();
        testing_support::runPendingMessages();
        shown.add (status());
    };

    step ([&] { e.controllerEventFired (&learnButton, BasePlugin::toggleMidiLearnCommand); });
    EXPECT_EQ (learnButton.getButtonStateIndex(), 1);
    EXPECT_TRUE (learnButton.isBlinking());
    EXPECT_EQ (learnButton.getBlinkPeriod(), 100);
    step ([&] { e.controllerValueChanged (&knob); }); // the user turns a knob
    step ([&] { midiControl.setLearnController (7); });
    step ([&] { e.controllerEventFired (&learnButton, BasePlugin::toggleMidiLearnCommand); });
    EXPECT_EQ (learnButton.getButtonStateIndex(), 0);
    EXPECT_FALSE (learnButton.isBlinking());
    step ([&] { e.controllerEventFired (&learnButton, BasePlugin::toggleMidiLearnCommand); });
    step ([&] { midiControl.setLearnController (9); });

    EXPECT_EQ (shown, juce::StringArray ({ "Waiting for a controller or parameter movement...",
                                           "'Bass Drum Level' parameter is free. Waiting for a free controller now...",
                                           "CC# 7 is assigned to parameter 'Bass Drum Level'.",
                                           "",
                                           "Waiting for a controller or parameter movement...",
                                           "CC# 9 is free. Waiting for a parameter now..." }));
    EXPECT_TRUE (e.getMidiControlPage().getLearnButton().getToggleState()) << "the page follows learn switched from the skin";
}

TEST_F (ProductEditor, TheMidiLampGoesDarkItsTimeAfterTheLastMessage)
{
    auto& e = editor();
    auto& lamp = *e.getMidiActivityLed();
    auto& lampTimer = flashTimerOf (lamp);

    e.timerUpdate();
    EXPECT_EQ (lamp.getFrame(), 0);

    for (int message = 0; message < 3; ++message) // a burst keeps it lit, each message restarting its time
    {
        product->noteMidiActivity();
        e.timerUpdate();
        EXPECT_EQ (lamp.getFrame(), 1);
        EXPECT_TRUE (lampTimer.isTimerRunning());
        EXPECT_EQ (lampTimer.getTimerInterval(), 175);
    }

    e.timerUpdate(); // no new message: it stays lit until its time is up
    EXPECT_EQ (lamp.getFrame(), 1);
    lampTimer.timerCallback();
    EXPECT_EQ (lamp.getFrame(), 0);
    EXPECT_FALSE (lampTimer.isTimerRunning());
}

TEST_F (ProductEditor, TheAboutBoxShowsTheProductsIdentityAndAClickClosesIt)
{
    auto& about = editor().getAboutWindow();
    widget_testing::clickCentre (control ("AboutButton"));
    EXPECT_TRUE (about.isVisible());
    EXPECT_EQ (about.getParentComponent()->getName(), "ModalCover");

    EXPECT_EQ (about.getVersionLine(), "Version 1.6.2");
    EXPECT_EQ (about.getBuildLine(), "Build info:  9078395  2015-02-12");
    EXPECT_FALSE (about.showsCredits());
    EXPECT_TRUE (about.getCreditsArea().isEmpty());
    EXPECT_NEAR (about.getVersionArea().getY() + about.getBuildArea().getBottom(), about.getContentArea().getY() + about.getContentArea().getBottom(), 1)
        << "the lines stand in the middle";

    widget_testing::clickCentre (about);
    EXPECT_FALSE (about.isVisible());
}

// Values changed by the host or by a learnt controller reach the skin once
// the deferred update has run, and a controller's move is told in the status bar.
TEST_F (ProductEditor, TheSkinFollowsTheHostAndMidi)
{
    auto& knob = dynamic_cast<GFXKnob&> (control ("BassDrumLevelKnob"));
    auto& level = toolkit_test::ref (product->getParameterManager().getParameter (0));

    product->setParameter (0, 1.0f);
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 1.0);

    product->getMidiControl().assign (7, &level, true);
    const juce::uint8 controllerMessage[] = { 0xB0, 7, 0 };
    product->getMidiControl().processMidiMessage (controllerMessage, 3);
    product->pollAudioFlags();
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 0.0);
    EXPECT_EQ (status(), "Bass Drum Level: " + product->getParameterTextById (0));
    EXPECT_EQ (editor().getStatusBar().getPriority(), BasePluginEditor::midiControllerPriority);
}

// The product writes its own settings and state: the editor's element, which
// holds a skin only with skin selection on, never reaches them.
TEST_F (ProductEditor, KeepsNoSkinInTheSettingsOrTheState)
{
    auto& e = editor();
    EXPECT_EQ (e.createSettingsXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()), "<Editor/>");
    EXPECT_EQ (e.createStateXml()->getNumChildElements(), 0);
    EXPECT_EQ (findChildWithTag (product->createPluginStateXml().get(), "Editor"), nullptr);
    EXPECT_EQ (findChildWithTag (product->createUserSettingsXml().get(), "Editor"), nullptr);
}

TEST_F (ProductEditor, AChangeOfProcessingModeIsToldWithoutAQualityItDoesNotHave)
{
    product->setNonRealtime (true);
    editor().processingModeChanged (*product);
    EXPECT_EQ (status(), "Offline processing");
}

//==============================================================================
// The event chain and the status bar, with a framework processor that
// records the events it gets.
namespace
{
struct EditorEvents : FolderTest
{
    EditorEvents()
    {
        StubOptions options;
        options.qualityParameters = true;
        processor = makeStub (options);
        stage.add (processor->editor());
    }

    StatusBar& statusBar() { return processor->editor().getStatusBar(); }

    widget_testing::Stage stage;
    std::unique_ptr<StubProcessor> processor;
};
} // namespace

TEST_F (EditorEvents, TheEditorKeepsItsOwnEventsAndHandsTheOthersToTheProcessor)
{
    auto& e = processor->editor();

    for (int id = BasePlugin::optionsCommand; id <= BasePlugin::toggleMidiLearnCommand; ++id)
        e.controllerEventFired (nullptr, id);
    e.controllerEventFired (nullptr, 3000);
    e.controllerEventFired (nullptr, 0);

    EXPECT_EQ (processor->events, (std::vector<int> { 1007, 1008, 1009, 3000, 0 }));
    EXPECT_TRUE (e.getOptionsWindow().isVisible());
    EXPECT_TRUE (e.getAboutWindow().isVisible());
    EXPECT_TRUE (processor->getMidiControl().isLearnModeOn());
}

TEST_F (EditorEvents, AParametersTextShowsWithItsNameTheNameAloneForAnAtAndNothingWhenEmpty)
{
    auto& level = toolkit_test::ref (processor->getParameterManager().getParameter (0));
    const struct
    {
        const char* text;
        const char* shown;
    } cases[] = { { "-3.0 dB", "Bass Drum Level: -3.0 dB" }, { "@", "Bass Drum Level" }, { "", "before" } };

    for (const auto& c : cases)
    {
        statusBar().clearMessage (-1);
        statusBar().showMessage ("before", 0);
        processor->texts[0] = c.text;
        processor->editor().showParameterInStatusBar (&level, BasePluginEditor::parameterPriority);
        EXPECT_EQ (statusBar().getMessage(), c.shown) << c.text;
    }
}

TEST_F (EditorEvents, OpeningTheOptionsOrChangingTheirTabClearsAnyMessage)
{
    auto& e = processor->editor();
    EXPECT_EQ (tabNames (e), juce::StringArray ({ "Processing", "Presets", "Parameters", "Midi Control" }));

    statusBar().showMessage ("learning", BasePluginEditor::midiLearnPriority);
    e.controllerEventFired (nullptr, BasePlugin::optionsCommand);
    EXPECT_EQ (statusBar().getMessage(), "");

    statusBar().showMessage ("learning", BasePluginEditor::midiLearnPriority);
    e.getOptionsWindow().getTabs().setCurrentTabIndex (1);
    EXPECT_EQ (statusBar().getMessage(), "");
}

TEST_F (EditorEvents, TheProcessingModeIsToldWithItsQuality)
{
    auto& parameters = processor->getParameterManager();
    parameters.setInt (StubProcessor::offlineQualityId, 2);
    parameters.setInt (StubProcessor::realtimeQualityId, 1);

    for (const bool offline : { true, false })
    {
        processor->setNonRealtime (offline);
        processor->editor().processingModeChanged (*processor);
        EXPECT_EQ (statusBar().getMessage(), offline ? "Offline processing: Best" : "Realtime processing: Good");
    }
}

// The page's "Default map" box sets the map loaded at start, and the editor says when that takes effect.
TEST_F (EditorEvents, TheDefaultMapBoxSetsTheMapLoadedAtStartAndTellsWhen)
{
    auto& box = processor->editor().getMidiControlPage().getDefaultMapCheckBox();
    const auto map = folder.getChildFile ("live.xrccmap");
    box.getPathComponent().setPath (map.getFullPathName(), true);
    widget_testing::clickCentre (box.getCheckBox());
    EXPECT_EQ (statusBar().getMessage(), "Default Map settings will be affected when plugin is loaded.");
    EXPECT_TRUE (processor->getMidiControl().getUseUserMap());
    EXPECT_EQ (processor->getMidiControl().getUserMapFile(), map);
}
