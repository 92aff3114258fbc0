// The editor base, on the product as its processor makes it at start-up (the
// built-in skin under a status bar, MIDI learn and MIDI activity feedback,
// the about box, the skin following the host and MIDI), and with a framework
// processor that records the events it gets.
#include "EditorTestSupport.h"

#include "editor/base/AboutWindow.h"
#include "framework/core/XmlTags.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"

using namespace editor_testing;

using ProductEditor = ProductEditorTest;

TEST_F (ProductEditor, ShowsTheBuiltInSkinWithTheStatusBarUnderIt)
{
    auto& e = editor();
    const auto& panel = toolkit_test::ref (e.getMainPanel());
    EXPECT_EQ (panel.getName(), "MainEditorPanel");
    EXPECT_EQ (e.getStatusBar().getBounds(), juce::Rectangle<int> (0, panel.getHeight(), panel.getWidth(), 16));
    EXPECT_EQ (e.getHeight(), panel.getHeight() + 16);
    EXPECT_EQ (e.getModalArea(), panel.getBounds()) << "a dialog never covers the status bar";
    EXPECT_NE (e.getMidiLearnButton(), nullptr);
    EXPECT_NE (e.getMidiActivityLed(), nullptr);
}

TEST_F (ProductEditor, ToggleMidiLearnShowsThePromptsInOrderAndBlinksTheLearnButton)
{
    auto& e = editor();
    auto& learnButton = *e.getMidiLearnButton();
    auto& midiControl = product->getMidiControl();
    juce::StringArray shown;
    const auto step = [&] (const std::function<void()>& action) {
        action();
        testing_support::runPendingMessages();
        shown.add (status());
    };
    const auto toggleLearn = [&] { e.controllerEventFired (&learnButton, BasePlugin::toggleMidiLearnCommand); };

    step (toggleLearn);
    EXPECT_EQ (learnButton.getButtonStateIndex(), 1);
    EXPECT_TRUE (learnButton.isBlinking());
    EXPECT_EQ (learnButton.getBlinkPeriod(), 100);
    step ([&] { e.controllerValueChanged (&dynamic_cast<GUIController&> (control ("BassDrumLevelKnob"))); }); // the user turns a knob
    step ([&] { midiControl.setLearnController (7); });
    step (toggleLearn);
    EXPECT_EQ (learnButton.getButtonStateIndex(), 0);
    EXPECT_FALSE (learnButton.isBlinking());
    step (toggleLearn);
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
    auto& lamp = *editor().getMidiActivityLed();
    auto& lampTimer = flashTimerOf (lamp);

    for (int message = 0; message < 2; ++message) // each message restarts its time
    {
        product->noteMidiActivity();
        editor().timerUpdate();
        EXPECT_EQ (lamp.getFrame(), 1);
        EXPECT_EQ (lampTimer.getTimerInterval(), 175);
    }

    editor().timerUpdate(); // no new message: it stays lit until its time is up
    EXPECT_EQ (lamp.getFrame(), 1);
    lampTimer.timerCallback();
    EXPECT_EQ (lamp.getFrame(), 0);
    EXPECT_FALSE (lampTimer.isTimerRunning());
}

TEST_F (ProductEditor, TheAboutBoxShowsTheProductsIdentityAndAClickClosesIt)
{
    auto& about = editor().getAboutWindow();
    widget_testing::clickCentre (control ("AboutButton"));
    EXPECT_EQ (about.getParentComponent()->getName(), "ModalCover");
    EXPECT_EQ (about.getVersionLine(), "Version 1.6.2");
    EXPECT_EQ (about.getBuildLine(), "Build info:  9078395  2015-02-12");
    EXPECT_FALSE (about.showsCredits());

    widget_testing::clickCentre (about);
    EXPECT_FALSE (about.isVisible());
}

// Values changed by the host or by a learnt controller reach the skin once
// the deferred update has run, and a controller's move is told in the status bar.
TEST_F (ProductEditor, TheSkinFollowsTheHostAndMidi)
{
    auto& knob = dynamic_cast<GFXKnob&> (control ("BassDrumLevelKnob"));
    product->setParameter (0, 1.0f);
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 1.0);

    product->getMidiControl().assign (7, parameters().getParameter (0), true);
    const juce::uint8 controllerMessage[] = { 0xB0, 7, 0 };
    product->getMidiControl().processMidiMessage (controllerMessage, 3);
    product->pollAudioFlags();
    testing_support::runPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 0.0);
    EXPECT_EQ (status(), "Bass Drum Level: " + product->getParameterTextById (0));
    EXPECT_EQ (editor().getStatusBar().getPriority(), BasePluginEditor::midiControllerPriority);
}

// Without skin selection the editor's element holds no skin, and the product,
// which writes its own settings and state, keeps none.
TEST_F (ProductEditor, KeepsNoSkinInTheSettingsOrTheState)
{
    EXPECT_EQ (editor().createSettingsXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()), "<Editor/>");
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
        processor->editor().showParameterInStatusBar (processor->getParameterManager().getParameter (0), BasePluginEditor::parameterPriority);
        EXPECT_EQ (statusBar().getMessage(), c.shown) << c.text;
    }
}

TEST_F (EditorEvents, OpeningTheOptionsOrChangingTheirTabClearsAnyMessage)
{
    auto& e = processor->editor();
    statusBar().showMessage ("learning", BasePluginEditor::midiLearnPriority);
    e.controllerEventFired (nullptr, BasePlugin::optionsCommand);
    EXPECT_EQ (statusBar().getMessage(), "");

    statusBar().showMessage ("learning", BasePluginEditor::midiLearnPriority);
    e.getOptionsWindow().getTabs().setCurrentTabIndex (1);
    EXPECT_EQ (statusBar().getMessage(), "");
}

TEST_F (EditorEvents, TheProcessingModeIsToldWithItsQuality)
{
    processor->getParameterManager().setInt (StubProcessor::offlineQualityId, 2);
    processor->getParameterManager().setInt (StubProcessor::realtimeQualityId, 1);

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
