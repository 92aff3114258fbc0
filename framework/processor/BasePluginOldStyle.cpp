#include "framework/processor/BasePluginOldStyle.h"

#include "framework/core/IntParameter.h"
#include "framework/core/StringParameter.h"
#include "framework/processor/SettingsMigration.h"

namespace
{
// The instance applying a preset's values on this thread. Those values are
// the preset's own: automatic storing must not write them into whichever
// preset is current by the time each change arrives (the audio thread may
// switch it meanwhile). Initial-exec, like the host's marker in BasePlugin,
// so the audio thread's first touch allocates nothing.
thread_local const BasePluginOldStyle* instanceApplyingPreset __attribute__ ((tls_model ("initial-exec"))) = nullptr;
} // namespace

BasePluginOldStyle::BasePluginOldStyle (const BusesProperties& buses)
    : BasePlugin (buses)
{
    auto& manager = getParameterManager();
    manager.addParameter (std::make_unique<IntParameter> (currentPresetNumberId, "Current Preset Number", 0, PresetBank::numPresets - 1, 0));
    manager.addParameter (std::make_unique<StringParameter> (currentPresetNameId, "Current Preset Name"));

    for (int i = 0; i < numPresetParameters; ++i)
        defaultRecord.setValue (i, manager.getNormalised (i));
}

BasePluginOldStyle::~BasePluginOldStyle()
{
    cancelPendingUpdate();
}

void BasePluginOldStyle::migrateUserSettings()
{
    getUserDataFolder().createDirectory();
    const auto oldFile = getModuleFile().getParentDirectory().getChildFile (getPluginName() + ".ini");
    migrateSettingsFile (oldFile, getUserSettingsFile());
}

void BasePluginOldStyle::initialise()
{
    auto& hostMap = getHostParameterMap();
    hostMap.setPluginName (getPluginName());
    hostMap.setNumSlots (getNumHostParameters());

    for (int slot = 0; slot < getNumHostParameters(); ++slot)
        assignHostParameter (slot, getParameterManager().getParameter (slot));

    recentlyUsedDirectory = juce::File::getSpecialLocation (juce::File::userHomeDirectory);

    BasePlugin::initialise();

    loadDefaultPresetResource ("default" + getPresetFileExtension());

    const bool userBankUsable = presetsResource == userDefinedPresets && userPresetsFile.existsAsFile();

    if (presetsResource == clearPresets)
        resetPresetBank();
    else if (! userBankUsable || ! loadPresetBankFile (userPresetsFile))
        loadPresetBankResource ("default" + getPresetBankFileExtension());

    if (PresetBank::isPresetIndex (getCurrentPreset()))
        applyCurrentPreset();

    for (int i = 0; i < numStateParameters; ++i)
        getParameterManager().notifyParameter (i);
}

//==============================================================================
void BasePluginOldStyle::setCurrentPreset (int index, bool notify)
{
    if (! PresetBank::isPresetIndex (index))
        return;

    currentPreset = index;

    if (auto* number = getParameterManager().getParameter (currentPresetNumberId))
        number->setInt (index, notify);

    publishPresetName (index, notify);
}

void BasePluginOldStyle::publishPresetName (int index, bool notify)
{
    auto* name = getParameterManager().getParameter (currentPresetNameId);

    if (name == nullptr)
        return;

    const juce::ScopedValueSetter<bool> publishing (publishingPresetName, true);
    namedPreset = index;
    name->setFromString (bank.getPresetName (index), notify);
}

void BasePluginOldStyle::applyPresetValues (const PresetRecord& record)
{
    const auto* outer = instanceApplyingPreset;
    instanceApplyingPreset = this;
    auto& manager = getParameterManager();

    for (int i = 0; i < numPresetParameters; ++i)
        if (auto* parameter = manager.getParameter (i))
            parameter->setNormalised (record.getValue (i), true);

    instanceApplyingPreset = outer;
}

void BasePluginOldStyle::applyCurrentPreset()
{
    applyPreset (getCurrentPreset());
}

void BasePluginOldStyle::applyPreset (int index)
{
    auto* record = bank.getPreset (index);

    if (record == nullptr)
        return;

    applyPresetValues (*record);
    getParameterManager().setInt (currentPresetNumberId, index);
    publishPresetName (index, true);
}

void BasePluginOldStyle::selectNextPreset()
{
    if (PresetBank::isPresetIndex (getCurrentPreset() + 1))
    {
        setCurrentPreset (getCurrentPreset() + 1, true);
        applyCurrentPreset();
    }
}

void BasePluginOldStyle::selectPreviousPreset()
{
    if (PresetBank::isPresetIndex (getCurrentPreset() - 1))
    {
        setCurrentPreset (getCurrentPreset() - 1, true);
        applyCurrentPreset();
    }
}

void BasePluginOldStyle::storeParametersInPreset (int index)
{
    if (auto* record = bank.getPreset (index))
        for (int i = 0; i < numPresetParameters; ++i)
            record->setValue (i, getParameterManager().getNormalised (i));
}

void BasePluginOldStyle::setCurrentPresetValue (int parameterIndex, float normalisedValue)
{
    if (parameterIndex < 0 || parameterIndex >= numPresetParameters)
        return;

    if (auto* record = bank.getPreset (getCurrentPreset()))
        record->setValue (parameterIndex, normalisedValue);
}

void BasePluginOldStyle::copyCurrentPreset()
{
    for (int i = 0; i < numPresetParameters; ++i)
        clipboard.setValue (i, getParameterManager().getNormalised (i));

    clipboard.name = bank.getPresetName (getCurrentPreset()) + "_copy";
    clipboardFilled = true;
}

void BasePluginOldStyle::pasteCopiedPreset()
{
    if (! clipboardFilled)
        return;

    // The clipboard goes into the preset current now, straight from the
    // clipboard: the live values may already be another preset's if a
    // program change lands meanwhile.
    const int target = getCurrentPreset();
    auto* record = bank.getPreset (target);

    if (record == nullptr)
        return;

    for (int i = 0; i < numPresetParameters; ++i)
        record->setValue (i, clipboard.getValue (i));

    setPresetName (target, clipboard.name);
    applyPreset (target);
}

//==============================================================================
void BasePluginOldStyle::handleProgramChange (int program) noexcept
{
    if (PresetBank::isPresetIndex (program))
        pendingProgram.store (program);
}

void BasePluginOldStyle::applyPendingProgramChange() noexcept
{
    const int program = pendingProgram.exchange (-1);
    auto* record = bank.getPreset (program);

    if (record == nullptr)
        return;

    currentPreset = program;
    applyPresetValues (*record);
    getParameterManager().setInt (currentPresetNumberId, program);

    // The name is text: it is published on the message thread (by its poll
    // when this runs on the audio thread).
    presetNamePending = true;
    requestUpdate();
}

void BasePluginOldStyle::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const PolledAsyncUpdater::ScopedAudioCallback renderingAudio;
    BasePlugin::processBlock (buffer, midi);
    applyPendingProgramChange();
}

const juce::String BasePluginOldStyle::getProgramName (int)
{
    return bank.getPresetName (getCurrentPreset());
}

void BasePluginOldStyle::changeProgramName (int, const juce::String& name)
{
    setPresetName (getCurrentPreset(), name);
}

void BasePluginOldStyle::handleAsyncUpdate()
{
    BasePlugin::handleAsyncUpdate();

    if (presetNamePending.exchange (false))
        publishPresetName (getCurrentPreset(), true);
}

void BasePluginOldStyle::parameterChanged (Parameter* parameter)
{
    const int id = parameter->getId();

    if (id == currentPresetNameId)
    {
        // Only a user's edit renames, and it renames the preset whose name
        // the parameter showed; our own publication renames nothing.
        if (! publishingPresetName)
            setPresetName (namedPreset, parameter->toString());
        return;
    }

    if (storingMode.load() == automaticStoring && id >= 0 && id < numPresetParameters && instanceApplyingPreset != this)
        if (auto* record = bank.getPreset (getCurrentPreset()))
            record->setValue (id, parameter->getNormalised());

    BasePlugin::parameterChanged (parameter);
}

//==============================================================================
void BasePluginOldStyle::setPresetName (int index, const juce::String& name)
{
    if (! bank.setPresetName (index, name))
        return;

    if (index == getCurrentPreset())
        publishPresetName (index, true);
}

bool BasePluginOldStyle::movePreset (int from, int to, int fromGroup, int toGroup)
{
    const auto* current = bank.getPreset (getCurrentPreset());

    if (! bank.movePreset (from, to, fromGroup, toGroup))
        return false;

    setCurrentPreset (bank.indexOf (current), false);
    return true;
}

bool BasePluginOldStyle::movePresetsToGroup (int destinationGroup, int sourceGroup, const std::vector<int>& positionsInSource)
{
    const auto* current = bank.getPreset (getCurrentPreset());

    if (! bank.movePresetsToGroup (destinationGroup, sourceGroup, positionsInSource))
        return false;

    setCurrentPreset (bank.indexOf (current), false);
    return true;
}

bool BasePluginOldStyle::moveGroup (int from, int to)
{
    const auto* current = bank.getPreset (getCurrentPreset());

    if (! bank.moveGroup (from, to))
        return false;

    setCurrentPreset (bank.indexOf (current), false);
    return true;
}

void BasePluginOldStyle::resetPresetBank()
{
    bank.reset (defaultRecord);
    announcePresetBankReplaced();
}

//==============================================================================
void BasePluginOldStyle::setRecentlyUsedDirectory (const juce::File& directory)
{
    if (directory.isDirectory())
        recentlyUsedDirectory = directory;
}

void BasePluginOldStyle::setPresetsResourceSetting (int setting)
{
    if (setting >= factoryPresets && setting <= userDefinedPresets)
        presetsResource = setting;
}

void BasePluginOldStyle::setStoringMode (int mode)
{
    if (mode == automaticStoring || mode == storingOnDemand)
        storingMode = mode;
}

juce::String BasePluginOldStyle::getPresetFileExtension() const
{
    return "." + getResourcePrefix().toLowerCase() + "prs";
}

juce::String BasePluginOldStyle::getPresetBankFileExtension() const
{
    return "." + getResourcePrefix().toLowerCase() + "prsb";
}

juce::String BasePluginOldStyle::getPresetFileWildcards() const
{
    auto wildcards = makeWildcard (getPresetFileExtension());

    for (int i = 0; i < getNumExtraPresetFileExtensions(); ++i)
        wildcards << "; " << makeWildcard (getExtraPresetFileExtension (i));

    return wildcards;
}

juce::String BasePluginOldStyle::getPresetBankFileWildcards() const
{
    auto wildcards = makeWildcard (getPresetBankFileExtension());

    for (int i = 0; i < getNumExtraPresetBankFileExtensions(); ++i)
        wildcards << "; " << makeWildcard (getExtraPresetBankFileExtension (i));

    return wildcards;
}
