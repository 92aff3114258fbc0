#pragma once

#include "framework/presets/PresetBank.h"
#include "framework/presets/PresetBankFormat.h"
#include "framework/processor/BasePlugin.h"

#include <atomic>

// The processor layer with a bank of 128 presets in groups: the current
// preset and the two parameters that publish it, storing edits into presets,
// changing presets (editor, program change, state chunk), its sections of the
// state chunk and of the user settings, and the start-up that binds the host
// slots and loads the default bank.
//
// Threads: everything runs on the message thread except handleProgramChange
// (any thread, the audio thread included), processBlock (audio thread) and
// parameterChanged (the thread of the change). The audio thread never takes a
// lock here and never allocates: a program change it receives is applied at
// the start of the next block from the bank's lock-free records, and the new
// preset's name is published later on the message thread.
class BasePluginOldStyle : public BasePlugin
{
public:
    static constexpr int currentPresetNumberId = 110000;
    static constexpr int currentPresetNameId = 110001;

    enum PresetsResource
    {
        factoryPresets = 0,
        clearPresets = 1,
        userDefinedPresets = 2
    };

    enum StoringMode
    {
        automaticStoring = 0,
        storingOnDemand = 1
    };

    explicit BasePluginOldStyle (const BusesProperties& buses);
    ~BasePluginOldStyle() override;

    //==============================================================================
    // Hooks (defaults in the comments).
    virtual void readResourcesSettings (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createResourcesSettingsXml();
    virtual bool hasPresetStoringSetting() const { return true; }
    virtual bool hasPresetChangingSetting() const { return true; }
    virtual int getNumExtraPresetFileExtensions() const { return 0; }
    virtual juce::String getExtraPresetFileExtension (int) const { return {}; }
    virtual int getNumExtraPresetBankFileExtensions() const { return 0; }
    virtual juce::String getExtraPresetBankFileExtension (int) const { return {}; }
    virtual bool isNotPresetableParamsXml (const juce::XmlElement* element) const;
    virtual void readNotPresetableParams (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createNotPresetableParamsXml();
    virtual bool isPresetXml (const juce::XmlElement* element) const;
    // False (nothing changed) for an index outside the bank or no preset of ours.
    virtual bool readPresetXmlAt (const juce::XmlElement& element, int index);
    virtual bool readPresetXml (const juce::XmlElement& element, PresetRecord& record);
    virtual std::unique_ptr<juce::XmlElement> createPresetXmlAt (int index); // null outside the bank
    virtual std::unique_ptr<juce::XmlElement> createPresetXml (const juce::String& name, const PresetRecord& record);
    virtual bool isPresetGroupXml (const juce::XmlElement* element) const;
    virtual bool isPresetBankXml (const juce::XmlElement* element) const;
    virtual bool readPresetBankXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createPresetBankXml();
    virtual int getNumExtraMidiCCMapFileExtensions() const { return 0; }
    virtual juce::String getExtraMidiCCMapFileExtension (int) const { return {}; }

    // The framework's start-up, state and settings, extended by this layer.
    void initialise() override;
    void restorePluginState (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    void restoreCurrentProgramState (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createCurrentProgramStateXml() override;
    void readUserSettings (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override;

    // Immediate listener: the thread that changed the parameter.
    void parameterChanged (Parameter* parameter) override;

    // Audio thread: applies a program change received since the last block.
    // Products call it first in their own processBlock.
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    // Message thread: publishes the current preset's name.
    void handleAsyncUpdate() override;

    //==============================================================================
    // The current preset.
    int getCurrentPreset() const noexcept { return currentPreset.load(); }
    // Message thread. Ignored for an index outside the bank; the parameter
    // values are not touched.
    void setCurrentPreset (int index, bool notify);
    // Message thread. Parameters 0 to 48 take the current preset's values.
    void applyCurrentPreset();
    void selectNextPreset();     // no wrap-around
    void selectPreviousPreset(); // no wrap-around
    void storeParametersInPreset (int index);
    void setCurrentPresetValue (int parameterIndex, float normalisedValue);
    void copyCurrentPreset();
    void pasteCopiedPreset(); // nothing while the clipboard is empty
    bool isClipboardFilled() const noexcept { return clipboardFilled; }

    // Any thread, the audio thread included: a MIDI program change p (from
    // the host's event stream) selects preset p at the start of the next
    // block; p outside the bank is ignored.
    void handleProgramChange (int program) noexcept;

    // The host's view: one program, which is the current preset under its
    // name. Presets change through MIDI program change (handleProgramChange),
    // so a host's program index never overrides the preset a chunk restored.
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override;      // any host thread
    void changeProgramName (int, const juce::String& name) override;

    //==============================================================================
    // The bank (message thread unless noted).
    const PresetBank& getPresetBank() const noexcept { return bank; }
    PresetRecord* getPreset (int index) const noexcept { return bank.getPreset (index); } // any thread
    juce::String getPresetName (int index) const { return bank.getPresetName (index); }
    juce::String getGroupName (int group) const { return bank.getGroupName (group); }
    int getNumGroups() const { return bank.getNumGroups(); }
    int getGroupSize (int group) const { return bank.getGroupSize (group); }
    int getFirstPresetOfGroup (int group) const { return bank.getFirstPresetOfGroup (group); }
    int getLastPresetOfGroup (int group) const { return bank.getLastPresetOfGroup (group); }
    int getGroupOfPreset (int index) const { return bank.getGroupOfPreset (index); }
    int getPresetIndexInGroup (int group, int k) const { return bank.getPresetIndexInGroup (group, k); }
    juce::String getPresetNameInGroup (int group, int k) const { return bank.getPresetNameInGroup (group, k); }
    void setPresetName (int index, const juce::String& name);
    void setGroupName (int group, const juce::String& name) { bank.setGroupName (group, name); }
    bool addGroup (int group) { return bank.addGroup (group); }
    bool removeEmptyGroup (int group) { return bank.removeEmptyGroup (group); } // only a group without presets
    // The current preset follows its record through every move.
    bool movePreset (int from, int to, int fromGroup, int toGroup);
    bool movePresetsToGroup (int destinationGroup, int sourceGroup, const std::vector<int>& positionsInSource);
    bool moveGroup (int from, int to);
    void resetPresetBank();

    const PresetRecord& getDefaultPreset() const noexcept { return defaultRecord; }

    //==============================================================================
    // Files. Loading returns whether the document was read; writing goes
    // through a temporary file and returns false on failure.
    bool loadPresetFile (const juce::File& file, int index);
    bool savePresetFile (const juce::File& file, int index);
    bool loadPresetBankFile (const juce::File& file);
    bool savePresetBankFile (const juce::File& file);
    bool loadDefaultPresetResource (const juce::String& name);
    bool loadPresetBankResource (const juce::String& name);

    juce::String getPresetFileExtension() const;     // ".xrprs"
    juce::String getPresetBankFileExtension() const; // ".xrprsb"
    juce::String getPresetFileWildcards() const;
    juce::String getPresetBankFileWildcards() const;

    // Settings.
    juce::File getRecentlyUsedDirectory() const { return recentlyUsedDirectory; }
    void setRecentlyUsedDirectory (const juce::File& directory); // only an existing directory
    int getPresetsResourceSetting() const noexcept { return presetsResource; }
    void setPresetsResourceSetting (int setting);                // 0, 1 or 2
    juce::File getUserPresetsFile() const { return userPresetsFile; }
    void setUserPresetsFile (const juce::File& file) { userPresetsFile = file; }
    int getStoringMode() const noexcept { return storingMode.load(); }
    void setStoringMode (int mode); // 0 automatic, 1 on demand
    int getChangingMode() const noexcept { return changingMode; }
    void setChangingMode (int mode) { if (mode == 0 || mode == 1) changingMode = mode; } // 0 normal, 1 silent

    int getNumStateParameters() const noexcept { return numStateParameters; }
    int getNumPresetParameters() const noexcept { return numPresetParameters; }

protected:
    // Message thread, from the product's constructor: takes over the settings
    // file an older version kept beside the module.
    void migrateUserSettings();

private:
    PresetBankFormat getBankFormat() const;
    void applyPreset (int index);
    void applyPresetValues (const PresetRecord& record);
    // Message thread: the name parameter takes the preset's name, and a
    // user's edit of it then renames that preset.
    void publishPresetName (int index, bool notify);
    void applyPendingProgramChange() noexcept;
    void readPresetsState (const juce::XmlElement& element);
    void readParametersState (const juce::XmlElement& element);
    void readPresetSettings (const juce::XmlElement& element);

    static constexpr int numStateParameters = 84;  // parameters 0-83: written to the chunk
    static constexpr int numPresetParameters = 49; // parameters 0-48: what a preset holds

    juce::File recentlyUsedDirectory;
    int presetsResource = factoryPresets;
    juce::File userPresetsFile;
    std::atomic<int> storingMode { storingOnDemand };
    int changingMode = 0;
    std::atomic<int> currentPreset { 0 };
    std::atomic<int> pendingProgram { -1 };      // a program change for the next block
    std::atomic<bool> presetNamePending { false }; // the name parameter lags a program change
    int namedPreset = 0;                 // message thread: the preset whose name the name parameter shows
    bool publishingPresetName = false;   // message thread: the name parameter changes by our own hand

    PresetBank bank { numPresetParameters };
    PresetRecord defaultRecord { numPresetParameters, -1 };
    PresetRecord clipboard { numPresetParameters, -1 };
    bool clipboardFilled = false;
};
