#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "editor/base/BasePluginEditorOldStyle.h"
#include "editor/drummachine/DrumMapSettingsComponent.h"
#include "editor/drummachine/OutputsSettingsComponent.h"
#include "editor/drummachine/PatternsSettingsComponent.h"
#include "editor/drummachine/SequencerSettingsComponent.h"
#include "toolkit/menus/PopupMenuEx.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/windows/AlertWindow.h"

#include <array>
#include <memory>
#include <optional>

class GFXAnimation;
class GFXButton;
class GFXKnob;
class GFXMultiStateButton;
class NumericDisplay;
class PatternNumberDisplay;

// The drum machine's editor: the skin's controls work through their links
// and actions by themselves; this class adds what a link cannot say. It
// enables, blinks and hides controls as the sequencer's state parameters
// change, shows the sequencer's hints in the status bar, marks the step
// that is sounding, flashes each voice's activity lamp, renames the edited
// pattern, loads and saves patterns and banks from the menus under Ctrl+Prev
// and Ctrl+Next, and adds the drum machine's option pages. Message thread;
// the audio thread reaches it only through flags, state parameters and the
// clocks' notifications, all taken on the message thread.
class DrumMachineEditor : public BasePluginEditorOldStyle,
                          public ShuffledClockNew::Listener,
                          public PopupMenuEx::Listener
{
public:
    using OutputsSettingsComponent = ::OutputsSettingsComponent;
    using SequencerSettingsComponent = ::SequencerSettingsComponent;
    using PatternsSettingsComponent = ::PatternsSettingsComponent;
    using DrumMapSettingsComponent = ::DrumMapSettingsComponent;

    static constexpr int numTracks = DrumMachine::numTracks;
    static constexpr int numStepButtons = 16;
    static constexpr int activityLampMs = 175;     // a lamp stays lit this long after a hit
    static constexpr int patternNameBlinkMs = 200; // the name blinks while a start would play it
    static constexpr int writeModeStateParameter = 3005; // "Write Mode State": the pattern's knobs turn only then

    // The load menu's and the save menu's items.
    enum MenuItem
    {
        patternItem = 0,
        bankItem = 1
    };

    // The skin's controls of one track (the eleven voices, then the
    // accent); any of them may be missing from a skin.
    struct TrackControls
    {
        GFXMultiStateButton* activityLed = nullptr;
        GFXKnob* levelKnob = nullptr;
        GFXKnob* randThresholdKnob = nullptr;
        GFXAnimation* levelModeLed = nullptr;
        GFXMultiStateButton* selectButton = nullptr;
    };

    explicit DrumMachineEditor (DrumMachine& processor);
    ~DrumMachineEditor() override;

    // Marks the step button of the step (0-15) as the one sounding, and no
    // other; -1 marks none.
    void highlightStep (int step);

    DrumMachine& getDrumMachine() const noexcept { return drumMachine; }
    const TrackControls& getTrackControls (int track) const { return tracks[(size_t) track]; }
    GFXMultiStateButton* getStepButton (int step) const { return stepButtons[(size_t) step]; }
    PatternNumberDisplay* getPatternNumberDisplay() const noexcept { return patternNumberDisplay; }
    GFXDisplay* getPatternNameDisplay() const noexcept { return patternNameDisplay; }
    NumericDisplay* getTempoDisplay() const noexcept { return tempoDisplay; }
    GFXKnob* getTempoKnob() const noexcept { return tempoKnob; }
    GFXKnob* getShuffleKnob() const noexcept { return shuffleKnob; }
    GFXMultiStateButton* getRandomModeButton() const noexcept { return randomModeButton; }
    GFXMultiStateButton* getLengthButton() const noexcept { return lengthButton; }
    PopupMenuEx& getLoadMenu() noexcept { return loadMenu; }
    PopupMenuEx& getSaveMenu() noexcept { return saveMenu; }
    OutputsSettingsComponent& getOutputsPage() noexcept { return *outputsPage; }
    SequencerSettingsComponent& getSequencerPage() noexcept { return *sequencerPage; }
    PatternsSettingsComponent& getPatternsPage() noexcept { return *patternsPage; }
    DrumMapSettingsComponent& getDrumMapPage() noexcept { return *drumMapPage; }

    // Whether a click on the tempo display starts a drag: only while the
    // pattern being edited runs on the internal clock at its own tempo.
    bool isTempoDisplayDraggable() const noexcept;

    // Parameter::Listener, deferred list: message thread.
    void parameterChanged (Parameter* parameter) override;
    // GUIController::Listener: message thread. The pattern menus, then the preset events.
    void controllerEventFired (GUIController* controller, int eventId) override;
    // GFXDisplayListener: message thread. The pattern name, then the preset name.
    void displayTextEdited (GFXDisplay* display) override;
    // Message thread, every 25 ms while shown: the base's duty, then the activity lamps.
    void timerUpdate() override;
    // ShuffledClockNew::Listener: message thread, for the host clock and the native clock.
    void clockRunningChanged (ShuffledClockNew& clock) override;
    void clockStepChanged (ShuffledClockNew& clock) override;
    // PopupMenuEx::Listener: message thread, from the message loop.
    void popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool wasTicked) override;
    // Kyx::AlertWindow::Caller: message thread. A read failure was acknowledged.
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;

private:
    template <typename Control>
    Control* findControl (const juce::String& name) const;
    void lookUpControls();
    void addPages();
    void showPatternMenu (PopupMenuEx& menu, GFXButton* button);
    void followPatternDisplayMode (bool hostMode);
    void setPatternNameEditable (bool editable);
    void setTempoDisplayDraggable (bool draggable);
    void followTrackRandomState (int track, bool on);
    void highlightDisplayedStep();

    // The files (the pattern or the bank of the current kind).
    using PatternFileLoader = bool (DrumMachineSeq::*) (const juce::File&);
    int getBankType() const;
    // Asks for a file of the extensions and loads it, for "what" a pattern
    // or a bank; a file the loader refuses changes nothing and is told.
    void load (const juce::String& title, const juce::String& extensions, PatternFileLoader loader, const juce::String& what);
    void savePatternFile();
    void saveBankFile();
    // Saves the document through the saver, its name proposed for the file.
    void save (const juce::String& title, const juce::String& extension, const juce::String& extensions,
               std::shared_ptr<const juce::XmlElement> document, const juce::String& documentName);
    void showReadFailure (const juce::String& title, const juce::File& file, const juce::String& what);

    DrumMachine& drumMachine;

    PatternNumberDisplay* patternNumberDisplay = nullptr;
    GFXDisplay* patternNameDisplay = nullptr;
    NumericDisplay* tempoDisplay = nullptr;
    GFXKnob* tempoKnob = nullptr;
    GFXKnob* shuffleKnob = nullptr;
    GFXMultiStateButton* randomModeButton = nullptr;
    GFXMultiStateButton* lengthButton = nullptr;
    GFXButton* patternPrevButton = nullptr;
    GFXButton* patternNextButton = nullptr;
    std::array<TrackControls, numTracks> tracks {};
    std::array<GFXMultiStateButton*, numStepButtons> stepButtons {};

    std::unique_ptr<PatternsSettingsComponent> patternsPage;
    std::unique_ptr<SequencerSettingsComponent> sequencerPage;
    std::unique_ptr<DrumMapSettingsComponent> drumMapPage;
    std::unique_ptr<OutputsSettingsComponent> outputsPage;

    PopupMenuEx loadMenu, saveMenu;
    FileSaver saver { *this };
    std::unique_ptr<Kyx::AlertWindow> alert; // a file that could not be read, until acknowledged

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMachineEditor)
};
