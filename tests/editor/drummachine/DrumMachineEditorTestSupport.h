#pragma once

#include "support/MessageLoop.h"
#include "tests/drummachine/processor/DrumMachineTestSupport.h"
#include "tests/editor/base/EditorTestSupport.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include "drummachine/product/Pulsetta.h"
#include "editor/drummachine/PulsettaEditor.h"
#include "toolkit/skin/GFXPanel.h"

#include <memory>
#include <vector>

// The product as a host has it, with the editor it makes at start-up
// standing on a desktop whose file dialogs the test answers. Every event
// that reaches the processor is recorded.
class EditedPulsetta : public editor_testing::WithPersistentEditor<Pulsetta, PulsettaEditor>
{
public:
    void handleEvent (int eventId) override
    {
        handledEvents.push_back (eventId);
        Pulsetta::handleEvent (eventId);
    }

    std::vector<int> handledEvents;
};

class DrumMachineEditorTest : public DrumMachineTest
{
protected:
    DrumMachineEditorTest()
    {
        product.reset (static_cast<EditedPulsetta*> (BasePlugin::startUp (std::make_unique<EditedPulsetta>())));
        desktop.setSize (editor().getWidth(), editor().getHeight());
        desktop.addAndMakeVisible (editor());
        flush(); // the start-up's notification of every parameter
    }

    ~DrumMachineEditorTest() override
    {
        desktop.removeChildComponent (&editor());
        product.reset();
        testing_support::runPendingMessages();
    }

    PulsettaEditor& editor() { return product->editor(); }
    ParameterManager& parameters() { return product->getParameterManager(); }

    // The skin's control of that name, as the type it must have.
    template <typename Control = juce::Component>
    Control& control (const juce::String& name)
    {
        return toolkit_test::ref (dynamic_cast<Control*> (BasePluginEditor::findControlByName (editor().getMainPanel(), name)));
    }

    // Runs what waits on the message thread: deferred parameter
    // notifications, dialogs' answers, menus' choices.
    static void flush() { testing_support::runPendingMessages(); }

    // A user's click on a skin control, with the keys held, and what follows it.
    void click (const juce::String& name, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
    {
        widget_testing::clickCentre (control (name), mods);
        flush();
    }

    // Clicks the button of the shown alert that has the text.
    void answer (const juce::String& text) { toolkit_test::answerShownAlert (desktop, text); }

    // The alert shown over the editor, or null.
    Kyx::AlertWindow* shownAlert() { return toolkit_test::findShownAlert (desktop); }

    static juce::ModifierKeys ctrlClick() { return juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::ctrlModifier; }

    FakePlayHead head;
    std::unique_ptr<EditedPulsetta> product;
    toolkit_test::DialogDesktop desktop;
};
