#pragma once

#include "drummachine/product/Pulsetta.h"
#include "editor/base/BasePluginEditorOldStyle.h"
#include "editor/skin/SkinFiles.h"
#include "editor/skin/SkinPackages.h"
#include "framework/core/Parameters.h"
#include "support/MessageLoop.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/GFXPanel.h"
#include "toolkit/windows/TestDesktop.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

// The editor as the processor makes it at start-up, with the user's folders
// in a fresh temporary folder.
namespace editor_testing
{
// A processor whose editor, made at start-up, the test reaches as the type
// it must have.
template <typename Processor, typename Editor>
class WithPersistentEditor : public Processor
{
public:
    using Processor::Processor;

    Editor& editor() { return toolkit_test::ref (dynamic_cast<Editor*> (this->getPersistentEditor())); }
};

// What a stub processor and its editor are made with.
struct StubOptions
{
    juce::String pluginName = "Pulsetta";  // another name: the built-in skin does not build
    bool skinSelection = false;
    bool genericControls = false;
    int rowBreakAfter = -1;                // generic layout: a new row after this host slot
    bool qualityParameters = false;        // four enum parameters for the "Processing" page, and a bool one
    std::vector<int> hostSlotIds;          // parameter ids bound to host slots 0, 1, ...
};

// An editor with the switches a product never turns on.
class StubEditor : public BasePluginEditor
{
public:
    StubEditor (BasePlugin& processorToEdit, const StubOptions& stubOptions) : BasePluginEditor (processorToEdit), options (stubOptions)
    {
        setSkinSelection (options.skinSelection);
    }

    bool usesGenericControls() override { return options.genericControls; }
    bool hasRowBreakAfterParameter (int index) override { return index == options.rowBreakAfter; }
    void skinLoaded() override { ++skinsLoaded; }

    using BasePluginEditor::setSkinSelection;
    int skinsLoaded = 0;

private:
    StubOptions options;
};

// A framework processor (not a drum machine) with the product's parameter
// list and events, and texts that tests choose.
class StubProcessor : public WithPersistentEditor<BasePlugin, StubEditor>
{
public:
    static constexpr int realtimeQualityId = 200000, offlineQualityId = 200001;
    static constexpr int defaultRealtimeQualityId = 200002, defaultOfflineQualityId = 200003;
    static constexpr int switchId = 200004; // a bool parameter, with the qualities

    explicit StubProcessor (StubOptions stubOptions)
        : WithPersistentEditor (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo())), options (std::move (stubOptions))
    {
        if (options.qualityParameters)
        {
            const std::pair<int, const char*> qualities[] = { { realtimeQualityId, "Realtime Quality" },
                                                              { offlineQualityId, "Offline Quality" },
                                                              { defaultRealtimeQualityId, "Default Realtime Quality" },
                                                              { defaultOfflineQualityId, "Default Offline Quality" } };
            for (auto [id, name] : qualities)
                addAutomatable (std::make_unique<EnumParameter> (id, name, "Draft;Good;Best"));

            addAutomatable (std::make_unique<BoolParameter> (switchId, "Test Switch"));
        }
    }

    void initialise() override
    {
        BasePlugin::initialise();

        for (size_t slot = 0; slot < options.hostSlotIds.size(); ++slot)
            assignHostParameter ((int) slot, getParameterManager().getParameter (options.hostSlotIds[slot]));
    }

    std::unique_ptr<juce::Component> createEditorComponent() override { return std::make_unique<StubEditor> (*this, options); }
    juce::String getPluginName() const override { return options.pluginName; }
    juce::String getResourcePrefix() const override { return "XR"; }

    int getRealtimeQualityParameterId() const override { return options.qualityParameters ? realtimeQualityId : -1; }
    int getOfflineQualityParameterId() const override { return options.qualityParameters ? offlineQualityId : -1; }
    int getDefaultRealtimeQualityParameterId() const override { return options.qualityParameters ? defaultRealtimeQualityId : -1; }
    int getDefaultOfflineQualityParameterId() const override { return options.qualityParameters ? defaultOfflineQualityId : -1; }

    juce::String getParameterTextById (int id) override
    {
        const auto found = texts.find (id);
        return found != texts.end() ? found->second : BasePlugin::getParameterTextById (id);
    }

    void handleEvent (int eventId) override { events.push_back (eventId); }

    std::map<int, juce::String> texts; // parameter id -> the text it shows
    std::vector<int> events;           // what reached handleEvent

private:
    void addAutomatable (std::unique_ptr<Parameter> parameter)
    {
        parameter->setAutomatable (true);
        getParameterManager().addParameter (std::move (parameter));
    }

    StubOptions options;
};

// A fresh temporary folder for the user's files and the skins, for the
// length of a test.
struct FolderTest : ::testing::Test,
                    testing_support::TemporaryUserFolders
{
    FolderTest() : TemporaryUserFolders ("pulsetta-editor-test-") {}

    std::unique_ptr<StubProcessor> makeStub (StubOptions options = {})
    {
        return std::unique_ptr<StubProcessor> (static_cast<StubProcessor*> (BasePlugin::startUp (std::make_unique<StubProcessor> (std::move (options)))));
    }
};

// The product as its processor makes it at start-up, its editor seen as the
// preset-bank editor it is built on.
struct ProductEditorTest : FolderTest
{
    using EditedPulsetta = WithPersistentEditor<Pulsetta, BasePluginEditorOldStyle>;

    ProductEditorTest()
    {
        product.reset (static_cast<EditedPulsetta*> (BasePlugin::startUp (std::make_unique<EditedPulsetta>())));
        stage.add (editor());
        testing_support::runPendingMessages();
    }

    BasePluginEditorOldStyle& editor() { return product->editor(); }
    ParameterManager& parameters() { return product->getParameterManager(); }
    juce::String status() { return editor().getStatusBar().getMessage(); }
    juce::Component& control (const juce::String& name)
    {
        return toolkit_test::ref (BasePluginEditor::findControlByName (editor().getMainPanel(), name));
    }

    // An event as a skin control fires it, and what follows it.
    void fire (int eventId)
    {
        editor().controllerEventFired (nullptr, eventId);
        testing_support::runPendingMessages();
    }

    widget_testing::Stage stage;
    std::unique_ptr<EditedPulsetta> product;
};

// A skin package for the stub: a background of the given size, a thumbnail,
// and the learn button and MIDI lamp; application names the plug-in it is for.
inline juce::MemoryBlock makeSkin (int width, int height, const juce::String& application = "Pulsetta")
{
    using namespace skin_testing;
    const auto description = "<PluginEditor application=\"" + application + "\"><Panel name=\"MainPanel\"><gfx resource=\"Background.png\"/><controls>"
                             "<MultiStateButton name=\"MidiLearnButton\" states=\"2\" style=\"2D\"><gfx resource=\"Learn.png\"/><pos left=\"4\" top=\"4\"/></MultiStateButton>"
                             "<Animation name=\"MidiActivityLed\"><gfx resource=\"Lamp.png\" framesNum=\"2\"/><pos left=\"40\" top=\"4\"/></Animation>"
                             "</controls></Panel></PluginEditor>";
    return zipOf ({ { "skin.xml", bytesOf (description) },
                    { "Background.png", pngOf (widget_testing::makeFrameStrip (1, width, height)) },
                    { "Thumbnail.png", pngOf (widget_testing::makeFrameStrip (1, width / 10, height / 10)) },
                    { "Learn.png", pngOf (widget_testing::makeFrameStrip (2, 20, 10)) },
                    { "Lamp.png", pngOf (widget_testing::makeFrameStrip (2, 10, 10)) } });
}

// The timer of a skin control's own flash (a private base of the control):
// a test calls it instead of waiting for it.
template <typename Control>
juce::Timer& flashTimerOf (Control& control)
{
    return (juce::Timer&) control; // the C-style cast reaches a private base
}
} // namespace editor_testing
