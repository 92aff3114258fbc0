#pragma once

#include "editor/base/SharedName.h"
#include "editor/pages/GUISettingsComponent.h"
#include "editor/pages/HostParametersComponent.h"
#include "editor/pages/MidiControlComponent.h"
#include "editor/pages/PresetsSettingsComponent.h"
#include "framework/processor/BasePlugin.h"
#include "framework/processor/PersistentEditorHooks.h"
#include "toolkit/binding/GUIController.h"
#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/windows/AlertWindow.h"
#include "toolkit/windows/OptionsWindow.h"
#include "toolkit/windows/StatusBar.h"

#include <atomic>
#include <memory>
#include <vector>

class AboutWindow;
class GFXAnimation;
class GFXMultiStateButton;
class GFXPanel;
class ProcessingSettingsComponent;

// The framework's editor: one component per processor, made at its start-up
// and kept for its whole life (the host's editor window only shows and hides
// it). It carries the skin's main panel with a status bar under it, the
// options window with its pages and the about window, and it is where the
// skin's events, parameter and MIDI learn feedback, the processor's MIDI
// activity and skin changes meet. Product editors derive from it.
//
// Events of the skin go first to the most derived editor; each passes what it
// does not handle to its base, and this class hands every id it does not
// handle itself to the processor's handleEvent.
//
// The preset events (next, previous, save, save as) act on the processor's
// preset collection "Presets": stepping away from a changed preset first asks
// whether to save it, and saving over the current file asks first. Without
// that collection they do nothing.
//
// Everything runs on the message thread; the audio thread only raises the
// processor's MIDI activity flag, which the 25 ms timer takes.
class BasePluginEditor : public juce::Component,
                         public PersistentEditorHooks,
                         public Parameter::Listener,
                         public GUIController::Listener,
                         public MidiControl::Listener,
                         public DefaultResourceCheckBox::Listener,
                         public TabbedComponentEx::Listener,
                         public ModalComponent::Desktop,
                         public juce::Timer,
                         public Kyx::AlertWindow::Caller,
                         public BasePlugin::Listener,
                         public GUISettingsComponent::Listener
{
public:
    // Status bar priorities: a message replaces the shown one only when its
    // priority is not lower.
    enum StatusPriority
    {
        skinPriority = 0,
        settingsPriority = 4,
        midiControllerPriority = 5,
        parameterPriority = 6,
        midiLearnPriority = 7
    };

    static constexpr int timerIntervalMs = 25;
    static constexpr int midiLampMs = 175;          // the MIDI lamp stays lit this long after the last message
    static constexpr int midiLearnBlinkMs = 100;
    static constexpr juce::uint32 tabColour = 0xFFC5C5C5;
    static constexpr const char* presetsCollectionName = "Presets";

    explicit BasePluginEditor (BasePlugin& processor);
    ~BasePluginEditor() override;

    //==============================================================================
    // Own virtual operations (defaults in the comments).

    // Generic layout: an empty column after the parameter (false) / a new row after it (false).
    virtual bool hasGapAfterParameter (int index);
    virtual bool hasRowBreakAfterParameter (int index);
    // A new "Processing" page / "GUI" page for this editor.
    virtual std::unique_ptr<ProcessingSettingsComponent> createProcessingSettingsComponent();
    virtual std::unique_ptr<GUISettingsComponent> createGUISettingsComponent();
    // Called after the generic controls were built (nothing).
    virtual void genericControlsCreated() {}
    // The 25 ms duty: a requested skin change, then the MIDI lamp. Derived
    // editors add theirs after calling this one.
    virtual void timerUpdate();
    virtual bool hasStatusBar() { return true; }
    // The panel of debug controls a processor in debug mode asks for; no
    // product of this framework has one (null).
    virtual std::unique_ptr<juce::Component> createDebugPanel() { return nullptr; }
    // PersistentEditorHooks: message thread, from the processor's start-up,
    // its user settings and the host's state chunk.
    void postInitialise() override {}
    virtual juce::String getSettingsTagName() const { return "Editor"; }
    virtual bool isSettingsTag (const juce::XmlElement& element) const;
    std::unique_ptr<juce::XmlElement> createSettingsXml() override;
    virtual void loadSettingsXml (const juce::XmlElement& element);
    virtual juce::String getStateTagName() const { return "Editor"; }
    bool isStateTag (const juce::XmlElement& element) const override;
    std::unique_ptr<juce::XmlElement> createStateXml() override;
    void restoreStateXml (const juce::XmlElement& element) override;
    // Called at the end of every successful loadSkin (nothing).
    virtual void skinLoaded() {}
    // A layout of plain controls, one per host parameter, where no skin is
    // built (false).
    virtual bool usesGenericControls() { return false; }

    //==============================================================================
    // Called once by the processor right after construction: reads the
    // editor's settings and builds the pages that depend on the processor.
    void initialise() override;
    // Starts the 25 ms timer.
    void startRunning() override { startTimer (timerIntervalMs); }

    // The content (skin) area's size; the editor adds the status bar below.
    void setEditorSize (int width, int height);
    void layoutStatusBar();
    int getContentHeight() const noexcept { return contentHeight; }

    // The first child of the component with that component name, searched
    // breadth first among its children, then inside each child in order.
    static juce::Component* findControlByName (juce::Component* component, const juce::String& name);

    void offerParameterForMidiLearn (Parameter* parameter);
    void showParameterInStatusBar (Parameter* parameter, int priority);

    // Message thread. The preset collection flows, each on the collection of
    // that name (nothing when the processor has none). The questions are
    // answered in alertWindowClosed, where the collection is looked up again.
    // Save, overwrite or discard the changes of the current preset, then
    // (discard) step in the direction (+1 next, -1 previous).
    void askToSaveChanges (const juce::String& collectionName, int direction);
    // Yes writes the preset into the file.
    void askToOverwritePreset (const juce::String& collectionName, const juce::File& file);
    // Into the current preset's file after asking, or as a new file when
    // there is none.
    void savePreset (const juce::String& collectionName);
    // Into a file the user chooses; the saved file becomes the current preset.
    void savePresetAs (const juce::String& collectionName);

    // Message thread. The change happens at the next timer tick; two
    // requests before it load only the last.
    void requestSkinChange (const juce::String& name);
    // Builds and shows the skin (the empty name: the built-in one). False,
    // with the shown panel kept, when the skin cannot be built.
    bool loadSkin (const juce::String& name);
    bool isSkinValid (const juce::String& name) const;
    juce::File getSkinsFolder() const;
    juce::File getSkinFile (const juce::String& name) const;
    void setDefaultSkinName (const juce::String& name);
    juce::String getDefaultSkinName() const { return defaultSkin.get(); }
    juce::String getCurrentSkinName() const { return currentSkin.get(); }
    bool isSkinSelectionOn() const noexcept { return skinSelection; }

    BasePlugin& getProcessor() const noexcept { return processor; }
    StatusBar& getStatusBar() noexcept { return *statusBar; }
    OptionsWindow& getOptionsWindow() noexcept { return *optionsWindow; }
    AboutWindow& getAboutWindow() noexcept { return *aboutWindow; }
    MidiControlComponent& getMidiControlPage() noexcept { return midiControlPage; }
    HostParametersComponent& getHostParametersPage() noexcept { return hostParametersPage; }
    PresetsSettingsComponent& getPresetsSettingsPage() noexcept { return presetsSettingsPage; }
    GUISettingsComponent* getGUIPage() const noexcept { return guiPage.get(); }
    ProcessingSettingsComponent* getProcessingPage() const noexcept { return processingPage.get(); }
    GFXPanel* getMainPanel() const noexcept { return mainPanel.get(); }
    GFXMultiStateButton* getMidiLearnButton() const noexcept { return midiLearnButton; }
    GFXAnimation* getMidiActivityLed() const noexcept { return midiActivityLed; }
    const std::vector<std::unique_ptr<juce::Component>>& getGenericControls() const noexcept { return genericControls; }

    //==============================================================================
    // Parameter::Listener, deferred list: message thread. Nothing here;
    // derived editors follow their parameters.
    void parameterChanged (Parameter*) override {}
    // GUIController::Listener: message thread.
    void controllerValueChanged (GUIController* controller) override;
    void controllerEventFired (GUIController* controller, int eventId) override;
    // MidiControl::Listener: message thread.
    void midiLearnStateChanged (MidiControl& control) override;
    void midiControllerMoved (MidiControl& control) override;
    // DefaultResourceCheckBox::Listener: message thread.
    void defaultResourceChanged (DefaultResourceCheckBox* checkBox) override;
    // TabbedComponentEx::Listener: message thread.
    void tabbedComponentChanged (TabbedComponentEx* tabs) override;
    // ModalComponent::Desktop: the editor less its status bar.
    juce::Rectangle<int> getModalArea() override;
    // juce::Timer: message thread, every 25 ms.
    void timerCallback() override;
    // Kyx::AlertWindow::Caller: message thread, from the message loop.
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;
    // BasePlugin::Listener: message thread.
    void processingModeChanged (BasePlugin& plugin) override;
    // GUISettingsComponent::Listener: message thread.
    void defaultSkinChanged (GUISettingsComponent* page) override;
    void currentSkinChanged (GUISettingsComponent* page) override;

    void mouseDown (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;

protected:
    // Skin selection: off after construction, and no product turns it on.
    // With it off the editor always shows the built-in skin and keeps no
    // skin name in its settings or state. A derived editor that offers skins
    // turns it on in its constructor, before initialise.
    void setSkinSelection (bool shouldBeOn) noexcept { skinSelection = shouldBeOn; }

    // The options window's tabs, each in the framework's tab colour.
    void addOptionsTab (const juce::String& name, juce::Component& page, int insertIndex = -1);

private:
    // A question of the preset flows with what rides on it: the collection's
    // name and, as the question needs, the direction or the file.
    struct PresetQuestion
    {
        std::unique_ptr<Kyx::AlertWindow> alert;
        juce::String collectionName;
        int direction = 0;
        juce::File file;
    };

    void showOptions();
    // A control bound to a parameter, moved or firing an event: the parameter
    // becomes the learn candidate and shows in the status bar.
    void reportBoundParameter (GUIController* controller);
    void stepPreset (int direction);
    void showPresetBrowser();
    void showAlert (Kyx::AlertWindow& alert);
    void answerSaveChanges (int result);
    void answerOverwrite (int result);
    void writePresetFile (PresetCollection& collection, const juce::File& file);
    void toggleMidiLearn();
    void updateMidiLearnButton (bool learning);
    void lightMidiLampOnActivity();
    void takeSkinRequest();
    void initialiseSkinSelection();
    void buildGenericControls();
    void showBuildLabelIfNeeded();

    // Keeps the look and feel alive until every child has gone.
    DefaultLookAndFeel lookAndFeel;

    BasePlugin& processor;
    MidiControlComponent midiControlPage;
    // Built for every processor, shown only by those that are not drum machines.
    HostParametersComponent hostParametersPage;
    PresetsSettingsComponent presetsSettingsPage;

    std::unique_ptr<ProcessingSettingsComponent> processingPage;
    std::unique_ptr<GUISettingsComponent> guiPage;
    std::unique_ptr<AboutWindow> aboutWindow;
    // An answered question is hidden at once and deleted when the next one
    // of its kind is asked (or with the editor), never inside its own answer.
    PresetQuestion overwriteQuestion, saveChangesQuestion;
    std::unique_ptr<Kyx::AlertWindow> saveFailureAlert;
    std::unique_ptr<FileSaver> presetSaver;
    std::unique_ptr<ModalComponent> presetBrowserWindow; // the collection's browser: none in this class
    std::unique_ptr<OptionsWindow> optionsWindow;

    GFXAnimation* midiActivityLed = nullptr;        // of the current skin
    juce::Image makerLogo, pluginLogo;

    std::vector<std::unique_ptr<juce::Component>> genericControls;
    std::unique_ptr<juce::Component> debugPanel;
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;
    std::unique_ptr<StatusBar> statusBar;
    int contentHeight = 0;                          // pixels: the skin area, without the status bar
    GFXMultiStateButton* midiLearnButton = nullptr; // of the current skin

    SharedName defaultSkin, currentSkin, pendingSkin;
    std::atomic<int> skinReloadFlag { 0 };          // 1: a change waits for the timer
    bool skinSelection = false;

    std::unique_ptr<GFXPanel> mainPanel;
    juce::Label buildLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePluginEditor)
};
