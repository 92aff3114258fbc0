#pragma once

#include "framework/core/EventsMap.h"
#include "framework/core/MidiControl.h"
#include "framework/core/Parameter.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/PolledAsyncUpdater.h"
#include "framework/presets/PresetCollection.h"
#include "framework/processor/HostParameterMap.h"
#include "framework/processor/SoftwareDesignation.h"
#include "host/HostedProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>

class PersistentEditorHooks;

// The processor base of every product: owns the parameter manager, the MIDI
// controller map, the events map, the host automation slots and the
// persistent editor, and gives every product the same start-up sequence,
// state chunk frame, user settings file and identity. Products fill in the
// virtual hooks.
//
// Threads other than the message thread (the audio thread, a host's
// automation thread) never post a message: they raise flags, and one 25 ms
// timer per instance, on the message thread, picks them up (pollAudioFlags)
// and tells the editor and listeners. Nothing the audio or the state needs
// waits for it: a host that never runs the message loop only misses displays.
class BasePlugin : public HostedProcessor,
                   public PolledAsyncUpdater,
                   public Parameter::Listener,
                   public SoftwareDesignation,
                   public PresetCollection::Listener
{
public:
    // Told on the message thread.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void pluginStateRestored (BasePlugin&) {}
        virtual void pluginStateSaved (BasePlugin&) {}
        virtual void pluginPrepared (BasePlugin&) {}
        virtual void processingModeChanged (BasePlugin&) {}
        virtual void currentPresetChanged (BasePlugin&) {}
        // A processor with a preset bank replaced the whole bank (a state
        // chunk, a bank file): groups and presets shown before may be gone.
        virtual void presetBankReplaced (BasePlugin&) {}
    };

    // The framework's commands, added to the events map after the product's events.
    enum CommandId
    {
        optionsCommand = 1000,
        aboutCommand,
        selectNextPresetCommand,
        selectPreviousPresetCommand,
        browsePresetsCommand,
        savePresetCommand,
        savePresetAsCommand,
        copyCurrentPresetCommand,
        pasteCopiedPresetCommand,
        storeCurrentPresetCommand,
        toggleMidiLearnCommand
    };

    // Debug mode's parameters "Debug Parameter 0" to "Debug Parameter 11"
    // and events "Debug Event 0" to "Debug Event 11", numbered from these.
    static constexpr int firstDebugParameterId = 300000;
    static constexpr int firstDebugEventId = 10000;
    static constexpr int numDebugItems = 12;

    // What the author update did to one file.
    enum class AuthorUpdate
    {
        rewritten, // one of the user's own presets, now naming the user's author
        leftAlone, // a preset of someone else's (it has an "id")
        failed     // nothing there, a folder, no preset, or it could not be written
    };

    explicit BasePlugin (const BusesProperties& buses);
    ~BasePlugin() override;

    // Message thread. Runs a new product through its start-up (the debug
    // parameters and events in debug mode, initialise, the persistent
    // editor, one notification of every parameter, postInitialise, the state
    // dump when enabled) and hands it to the binding; products call it from
    // createPluginFilter.
    static juce::AudioProcessor* startUp (std::unique_ptr<BasePlugin> plugin);

    ParameterManager& getParameterManager() noexcept { return parameterManager; }
    MidiControl& getMidiControl() noexcept { return midiControl; }
    const EventsMap& getEventsMap() const noexcept { return eventsMap; }
    HostParameterMap& getHostParameterMap() noexcept { return hostParameterMap; }

    // Message thread. Null and duplicates are ignored.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);
    using juce::AudioProcessor::addListener;
    using juce::AudioProcessor::removeListener;

    //==============================================================================
    // Hooks for products (defaults in the comments).
    virtual int getRealtimeQualityParameterId() const { return -1; }
    virtual int getOfflineQualityParameterId() const { return -1; }
    virtual int getDefaultRealtimeQualityParameterId() const { return -1; }
    virtual int getDefaultOfflineQualityParameterId() const { return -1; }
    virtual void nonRealtimeChanged (bool /*isNonRealtime*/) {} // the thread that noticed (audio or message)
    virtual void postInitialise() {}
    // Message thread: the start-up routine (listener on every parameter, user
    // settings, MIDI map and host map files).
    virtual void initialise();
    // Message thread, once at start-up: the persistent editor, kept until
    // the processor is destroyed; none by default. The host's editor window
    // shows it and takes the size it sets itself (setSize reaches the host).
    // An editor that has PersistentEditorHooks is then initialised and
    // started, and adds its elements to the state and the user settings.
    virtual std::unique_ptr<juce::Component> createEditorComponent() { return nullptr; }
    virtual juce::String getResourcePrefix() const { return "XX"; }
    virtual bool isPluginStateXml (const juce::XmlElement* element) const;
    // Message thread: reads the document of a state chunk. Every override
    // first checks what it reads (isPluginStateXml for the state), since the
    // chunk may hold any document.
    virtual void restorePluginState (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createPluginStateXml();
    virtual void restoreCurrentProgramState (const juce::XmlElement&) {}
    virtual std::unique_ptr<juce::XmlElement> createCurrentProgramStateXml() { return nullptr; }
    virtual juce::File getUserSettingsFile() const;
    virtual bool isUserSettingsXml (const juce::XmlElement* element) const;
    virtual void readUserSettings (const juce::XmlElement&) {}
    // Message thread: the whole settings document ("UserSettings").
    virtual std::unique_ptr<juce::XmlElement> createUserSettingsXml();
    virtual void addUserSettingsXml (juce::XmlElement&) {}
    virtual void userSettingsLoaded() {}
    virtual int getNumHostParameters() const { return HostParameterMap::maxSlots; }
    // Any host thread.
    virtual juce::String getParameterTextById (int id);
    virtual juce::String getParameterNameById (int id);
    // Message thread: an event of the skin or a menu.
    virtual void handleEvent (int /*eventId*/) {}
    // Debug mode adds the debug parameters and events at start-up.
    virtual bool isDebugMode() const { return false; }
    // With the state dump, every state given to the host is also written to
    // the dump file, and the dump file's state is restored at start-up.
    virtual bool isStateDumpEnabled() const { return false; }
    juce::File getStateDumpFile() const; // "<plug-in name>.dump" beside the settings file

    //==============================================================================
    // Preset collections: products that keep presets as files in folders
    // answer with theirs (none by default). Message thread.
    virtual int getNumPresetCollections() const { return 0; }
    virtual PresetCollection* getPresetCollection (int /*index*/) const { return nullptr; }
    // The collection of that name, or null.
    PresetCollection* getPresetCollection (const juce::String& name) const;

    // The current preset of each collection. By default the collection
    // itself keeps its current file and marks; products may also publish
    // them. The marks may be set from any thread, the file on the message thread.
    virtual void presetLoaded (PresetCollection&, const FilePreset&) {} // message thread
    virtual void presetExtraDataLoaded (PresetCollection&, const juce::XmlElement* /*extraData or null*/) {} // message thread
    virtual bool getPresetFlag (const PresetCollection& collection) const { return collection.getPresetFlag(); }
    virtual void setPresetFlag (PresetCollection& collection, bool isSet) { collection.setPresetFlag (isSet); }
    virtual bool isPresetModified (const PresetCollection& collection) const { return collection.isModified(); }
    virtual void setPresetModified (PresetCollection& collection, bool isModified) { collection.setModified (isModified); }
    virtual juce::File getCurrentPresetFile (const PresetCollection& collection) const { return collection.getCurrentFile(); }
    virtual void setCurrentPresetFile (PresetCollection& collection, const juce::File& file) { collection.setCurrentFile (file); }
    // Message thread: what a preset the user saves holds (by default the
    // value of every parameter).
    virtual void addPresetValues (PresetCollection& collection, Preset& preset);

    // Message thread. Loads a preset file of the collection and applies it,
    // making it the current preset, unmodified, and telling the listeners
    // (currentPresetChanged). The current file is only loaded again when it
    // was modified. False, changing nothing, when the file names no file or
    // holds no preset.
    bool selectPresetFile (PresetCollection& collection, const juce::File& file);
    // Message thread. Selects the next (direction > 0) or previous preset of
    // the collection, wrapping round at either end.
    bool selectAdjacentPreset (PresetCollection& collection, int direction);

    // Message thread. Saving the current preset: writePreset writes it as a
    // preset document (the user's author, no "id", no "name": the file name
    // is the name); once the document is in its file, presetFileSaved makes
    // that file the current preset, unmodified, and scans the collection
    // again. savePresetToFile does both, through a temporary file (false,
    // the old file kept, when the write fails).
    void writePreset (PresetCollection& collection, juce::OutputStream& out);
    void presetFileSaved (PresetCollection& collection, const juce::File& file);
    bool savePresetToFile (PresetCollection& collection, const juce::File& file);

    // Message thread, from the message loop after a collection was scanned.
    void presetCollectionChanged (PresetCollection&) override {}

    // Products built on the drum machine: their own start-up order and
    // settings writer, and an editor without the framework's own pages.
    virtual bool isDrumMachine() const { return false; }
    // The about box's scrolling credits; none by default.
    virtual juce::String getCreditsText() const { return {}; }

    //==============================================================================
    // Identity (SoftwareDesignation); products answer with their own.
    juce::String getPluginName() const override { return "BasePlugin"; }
    juce::String getInternalName() const override { return getPluginName(); }
    juce::String getVersion() const override { return {}; }
    juce::String getWebPage() const override { return {}; }
    juce::String getYear() const override { return {}; }
    juce::File getModuleFile() const override;
    juce::String getBuildDate() const override { return {}; }
    juce::String getReservedText() const override { return {}; }
    juce::String getBuildNumber() const override { return {}; }
    juce::String getPluginFormat() const override { return "VST"; }
    juce::String getPlatform() const override { return "64bit"; }
    juce::String getBranch() const override { return {}; }
    juce::String getVersionText() const override { return "v" + getVersion(); }
    juce::String getNumberText() const override { return "0"; }

    //==============================================================================
    // Files and folders.
    juce::File getUserDataFolder() const;   // <user application data>/Kyxworks/<plug-in name>
    juce::File getCommonDataFolder() const; // <common application data>/Kyxworks/<plug-in name>
    // Message thread. Reads the settings file; a missing, broken or foreign
    // file leaves every setting as it is.
    void loadUserSettings();
    // Message thread. False when there is nothing to write or the write failed
    // (the old file then stays). True without writing when the settings equal
    // what this instance loaded or last saved, so that an instance closed
    // later does not put its unchanged old copy over another one's changes. A file that loading could not read (broken,
    // or another program's) is never overwritten: it is first renamed to
    // "<name>.unreadable" ("<name>.unreadable-2" and so on when that
    // exists); when that fails,
    // nothing is written.
    bool saveUserSettings();
    // The copy of an unreadable settings file made by the last save, if any.
    juce::File getUnreadableSettingsCopy() const { return unreadableSettingsCopy; }

    // The author update's worker thread (or the message thread). Rewrites
    // the author of one of the user's own preset files (no "id") to the
    // user's author name, leaving the rest of the file as it is.
    virtual AuthorUpdate updatePresetFileAuthor (const juce::File& file);
    // Any thread.
    void setAuthorName (const juce::String& name);
    juce::String getAuthorName() const;

    //==============================================================================
    // Host slots (the host parameter map).
    void assignHostParameter (int slot, Parameter* parameter) { hostParameterMap.assign (slot, parameter); }
    void unassignHostParameter (int slot) { hostParameterMap.unassign (slot); }
    void clearHostParameters() { hostParameterMap.clear(); }
    bool isHostParametersMapXml (const juce::XmlElement* element) const { return hostParameterMap.isMapXml (element); }
    bool applyHostParametersMap (const juce::XmlElement* element) { return hostParameterMap.apply (element); }
    std::unique_ptr<juce::XmlElement> createHostParametersMapXml() const { return hostParameterMap.createXml(); }
    bool loadHostParametersMapFile (const juce::File& file) { return hostParameterMap.loadFile (file); }
    bool saveHostParametersMapFile (const juce::File& file) const { return hostParameterMap.saveFile (file); }
    // Message thread, at start-up: the user's map file when in use, else a
    // built-in map resource when the product has one.
    void loadHostParametersMap();
    void setHostParametersMapFile (bool useFile, const juce::File& file);
    bool isHostParametersMapFileUsed() const noexcept { return useHostMapFile; }
    juce::File getHostParametersMapFile() const { return hostMapFile; }

    //==============================================================================
    // Small helpers for documents.
    static juce::String makeWildcard (const juce::String& extension) { return "*" + extension; }
    static bool readOnOffState (const juce::XmlElement& element);
    static std::unique_ptr<juce::XmlElement> createOnOffStateXml (const juce::String& tag, bool on);
    bool isApplicationXml (const juce::XmlElement* element, const juce::String& tag) const;
    std::unique_ptr<juce::XmlElement> createApplicationXml (const juce::String& tag) const;

    //==============================================================================
    // juce::AudioProcessor, as the binding calls it.
    const juce::String getName() const override { return getPluginName(); }
    // Host's UI thread (open, resume, a rate or block-size change), under the callback lock.
    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;                                      // message thread
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override; // audio thread
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool hasEditor() const override { return persistentEditor != nullptr; }
    juce::AudioProcessorEditor* createEditor() override; // message thread
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    // Message thread: the state chunk frame.
    void getStateInformation (juce::MemoryBlock& destination) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destination) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    // Any host thread: the host's slots.
    int getNumParameters() override { return getNumHostParameters(); }
    float getParameter (int slot) override;
    void setParameter (int slot, float normalisedValue) override;
    using HostedProcessor::getParameterName;
    using HostedProcessor::getParameterText;
    const juce::String getParameterName (int slot) override;
    const juce::String getParameterText (int slot) override;
    float getParameterDefaultValue (int slot) override;
    bool isParameterAutomatable (int slot) const override;

    // Parameter::Listener, immediate: the thread that changed the parameter.
    void parameterChanged (Parameter* parameter) override;
    // The widget's thread (message thread).
    void parameterGestureBegin (Parameter* parameter) override;
    void parameterGestureEnd (Parameter* parameter) override;

    // Message thread: delivers the notifications to the listeners.
    void handleAsyncUpdate() override;

    // Audio thread: a MIDI message came in (lights the editor's lamp).
    void noteMidiActivity() noexcept { midiActivityFlag.store (1, std::memory_order_relaxed); }
    // Message thread: whether MIDI came in since the last call; clears it.
    bool takeMidiActivity() noexcept { return midiActivityFlag.exchange (0) != 0; }

    // Message thread, every 25 ms from the instance's timer (the editor may
    // call it too): does the work other threads left behind (this object's
    // notifications, MIDI control and learn, deferred parameter
    // notifications). Products override it to take their own flags and call
    // this first.
    virtual void pollAudioFlags();

protected:
    // Message thread. Tells the listeners that the current preset changed.
    void notifyCurrentPresetChanged();
    // Any thread. The listeners are told later, on the message thread, that
    // the preset bank was replaced.
    void announcePresetBankReplaced() noexcept;

    juce::Component* getPersistentEditor() const noexcept { return persistentEditor.get(); }

    // Message thread. Deletes the persistent editor. A product calls it in
    // its destructor right after writing the user settings, while everything
    // the editor watches still exists; otherwise the base's destructor does,
    // after the product's parts are gone.
    void deletePersistentEditor();

    // Message thread: stops the poll timer. A product calls it first in its
    // destructor, so that no poll reaches a half-destroyed object.
    void stopPolling();

private:
    class PollTimer;

    void addDebugParametersAndEvents();
    void restoreStateDocument (const juce::XmlElement* state);
    std::unique_ptr<juce::XmlElement> createPresetXmlToSave (PresetCollection& collection);
    // The persistent editor's start-up, settings and state, when it has them.
    PersistentEditorHooks* getEditorHooks() const noexcept;

    void checkNonRealtime();
    bool keepUnreadableSettingsFile (const juce::File& file);
    void recordParameterDefaults();
    void readBaseUserSettings (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createSettingsDocument();
    void rememberSettingsDocument();
    void copyDefaultQualities();
    bool isSlotIndex (int slot) const noexcept { return slot >= 0 && slot < getNumHostParameters(); }

    ParameterManager parameterManager;
    HostParameterMap hostParameterMap { parameterManager };
    std::map<int, float> defaultValues;                       // parameter id to normalised default
    std::array<std::atomic<float>, HostParameterMap::maxSlots> lastHostValues {};
    MidiControl midiControl { parameterManager };
    bool useHostMapFile = false;
    juce::File hostMapFile;
    EventsMap eventsMap;
    std::unique_ptr<juce::Component> persistentEditor;
    juce::Array<Listener*> listeners;

    std::atomic<bool> stateRestoredPending { false }, stateSavedPending { false }, preparedPending { false };
    std::atomic<bool> presetBankReplacedPending { false };
    std::atomic<int> processingModePending { 0 }; // 0 none, 1 realtime, 2 offline
    std::atomic<bool> prepared { false };
    std::atomic<bool> lastNonRealtime { false };
    std::atomic<int> midiActivityFlag { 0 };

    juce::String authorName;
    juce::CriticalSection authorNameLock; // the author update reads the name on its worker thread
    bool settingsFileUnreadable = false; // it existed at load but was not ours or not readable
    juce::String settingsDocumentOnDisk; // this instance's settings as loaded or last saved
    juce::File unreadableSettingsCopy;
    std::unique_ptr<PollTimer> pollTimer;
};
