// The preset bank processor's documents: presets and banks, their files and
// resources, its sections of the state chunk and of the user settings.

#include "framework/processor/BasePluginOldStyle.h"

#include "framework/core/ResourceLoader.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/XmlFiles.h"

#include <cmath>

PresetBankFormat BasePluginOldStyle::getBankFormat() const
{
    return PresetBankFormat (const_cast<BasePluginOldStyle*> (this)->getParameterManager(), getPluginName());
}

//==============================================================================
bool BasePluginOldStyle::isPresetXml (const juce::XmlElement* element) const
{
    return getBankFormat().isPresetXml (element);
}

bool BasePluginOldStyle::readPresetXmlAt (const juce::XmlElement& element, int index)
{
    auto* record = bank.getPreset (index);

    if (record == nullptr || ! isPresetXml (&element))
        return false;

    getBankFormat().readPresetValues (element, *record);
    setPresetName (index, PresetBankFormat::readPresetName (element));
    return true;
}

bool BasePluginOldStyle::readPresetXml (const juce::XmlElement& element, PresetRecord& record)
{
    if (! getBankFormat().readPresetValues (element, record))
        return false;

    record.name = PresetBankFormat::readPresetName (element);
    return true;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetXmlAt (int index)
{
    auto* record = bank.getPreset (index);
    return record != nullptr ? createPresetXml (bank.getPresetName (index), *record) : nullptr;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetXml (const juce::String& name, const PresetRecord& record)
{
    return getBankFormat().createPresetXml (name, record);
}

bool BasePluginOldStyle::isPresetGroupXml (const juce::XmlElement* element) const
{
    return PresetBankFormat::isPresetGroupXml (element);
}

bool BasePluginOldStyle::isPresetBankXml (const juce::XmlElement* element) const
{
    return PresetBankFormat::isPresetBankXml (element);
}

bool BasePluginOldStyle::readPresetBankXml (const juce::XmlElement& element)
{
    if (! getBankFormat().readBankXml (element, bank, defaultRecord))
        return false;

    // The current index stays; its name may have changed. Both may be as
    // they were, which tells a view of the bank nothing: it is told apart.
    setCurrentPreset (getCurrentPreset(), true);
    announcePresetBankReplaced();
    return true;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetBankXml()
{
    return getBankFormat().createBankXml (bank);
}

//==============================================================================
bool BasePluginOldStyle::loadPresetFile (const juce::File& file, int index)
{
    const auto root = xmlfiles::readDocument (file);

    if (root == nullptr || ! readPresetXmlAt (*root, index))
        return false;

    if (index == getCurrentPreset())
        applyCurrentPreset();

    return true;
}

bool BasePluginOldStyle::savePresetFile (const juce::File& file, int index)
{
    const auto element = createPresetXmlAt (index);
    return element != nullptr && xmlfiles::writeDocument (*element, file);
}

bool BasePluginOldStyle::loadPresetBankFile (const juce::File& file)
{
    setRecentlyUsedDirectory (file.getParentDirectory());
    const auto root = xmlfiles::readDocument (file);

    if (root == nullptr || ! readPresetBankXml (*root))
        return false;

    applyCurrentPreset();
    return true;
}

bool BasePluginOldStyle::savePresetBankFile (const juce::File& file)
{
    return xmlfiles::writeDocument (*createPresetBankXml(), file);
}

bool BasePluginOldStyle::loadDefaultPresetResource (const juce::String& name)
{
    const auto root = xmlfiles::parseDocument (getResourceAsString (name));

    if (root == nullptr)
        return false;

    readPresetXml (*root, defaultRecord);
    return true;
}

bool BasePluginOldStyle::loadPresetBankResource (const juce::String& name)
{
    const auto root = xmlfiles::parseDocument (getResourceAsString (name));

    if (root == nullptr)
        return false;

    if (readPresetBankXml (*root))
        applyCurrentPreset();

    return true;
}

//==============================================================================
bool BasePluginOldStyle::isNotPresetableParamsXml (const juce::XmlElement* element) const
{
    return tagIs (element, "NotPresetableParams") || tagIs (element, "NotPresetParams");
}

void BasePluginOldStyle::readNotPresetableParams (const juce::XmlElement& element)
{
    auto& manager = getParameterManager();

    for (auto* param : element.getChildIterator())
    {
        if (! tagIs (param, "param"))
            continue;

        const int index = manager.getIndexOfName (param->getStringAttribute ("name"));
        const double value = readDecimalAttribute (*param, "value", 0.0);

        if (index >= numPresetParameters && index < numStateParameters && std::isfinite (value))
            manager.setNormalised (index, toFiniteFloat (value));
    }
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createNotPresetableParamsXml()
{
    auto element = std::make_unique<juce::XmlElement> ("NotPresetableParams");
    auto& manager = getParameterManager();

    for (int i = numPresetParameters; i < numStateParameters; ++i)
    {
        auto* param = element->createNewChildElement ("param");
        param->setAttribute ("name", manager.getName (i));
        param->setAttribute ("value", (double) manager.getValue (i));
    }

    return element;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPluginStateXml()
{
    auto root = createApplicationXml ("PluginState");
    auto& manager = getParameterManager();

    auto* parameters = root->createNewChildElement ("ParametersState");

    for (int i = 0; i < numStateParameters; ++i)
    {
        auto* param = parameters->createNewChildElement ("param");
        param->setAttribute ("name", manager.getName (i));
        param->setAttribute ("value", (double) manager.getValue (i)); // shortest text that reads back exactly
    }

    auto* presets = root->createNewChildElement ("PresetsState");
    presets->setAttribute ("currentPreset", getCurrentPreset());
    presets->addChildElement (createPresetBankXml().release());

    root->addChildElement (getMidiControl().createXml().release());
    return root;
}

void BasePluginOldStyle::restorePluginState (const juce::XmlElement& element)
{
    if (! isPluginStateXml (&element))
        return;

    // A program change the host sent before the state (the usual load order)
    // must not override the restored values.
    pendingProgram = -1;

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, "ParametersState"))
            readParametersState (*child);
        else if (tagIs (child, "PresetsState"))
            readPresetsState (*child);
        else if (tagIs (child, "MidiControlMap") || tagIs (child, "MidiCCMap"))
            getMidiControl().loadFromXml (child);
    }
}

void BasePluginOldStyle::readParametersState (const juce::XmlElement& element)
{
    auto& manager = getParameterManager();

    for (auto* param : element.getChildIterator())
    {
        if (! tagIs (param, "param"))
            continue;

        const int index = manager.getIndexOfName (param->getStringAttribute ("name"));
        const double value = readDecimalAttribute (*param, "value", 0.0);

        if (index >= 0 && index < numStateParameters && std::isfinite (value))
            manager.setNormalised (index, toFiniteFloat (value));
    }
}

void BasePluginOldStyle::readPresetsState (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
        if (isPresetBankXml (child))
            readPresetBankXml (*child);

    // The values come from the parameters' own section: unsaved edits survive.
    const int index = readIntAttribute (element, "currentPreset", 0);

    if (PresetBank::isPresetIndex (index))
        setCurrentPreset (index, true);
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createCurrentProgramStateXml()
{
    return createPresetXmlAt (getCurrentPreset());
}

void BasePluginOldStyle::restoreCurrentProgramState (const juce::XmlElement& element)
{
    if (readPresetXmlAt (element, getCurrentPreset()))
        applyCurrentPreset();
}

//==============================================================================
std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createUserSettingsXml()
{
    auto root = createApplicationXml ("UserSettings");

    root->createNewChildElement ("PluginDirectories")
        ->createNewChildElement ("RecentlyUsed")
        ->setAttribute ("dir", recentlyUsedDirectory.getFullPathName());

    root->addChildElement (createResourcesSettingsXml().release());

    auto* presetSettings = root->createNewChildElement ("PresetSettings");

    if (hasPresetStoringSetting())
        presetSettings->setAttribute ("storing", getStoringMode() == storingOnDemand ? "onDemand" : "automatic");

    if (hasPresetChangingSetting())
        presetSettings->setAttribute ("changing", changingMode == 0 ? "normal" : "silent");

    return root;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createResourcesSettingsXml()
{
    auto element = std::make_unique<juce::XmlElement> ("ResourcesSettings");

    auto* presets = element->createNewChildElement ("Presets");
    const char* const presetsWords[] = { "factoryPresets", "clearPresets", "userDefinedPresets" };
    presets->setAttribute ("default", presetsWords[presetsResource]);

    if (presetsResource == userDefinedPresets)
        presets->setAttribute ("file", userPresetsFile.getFullPathName());

    auto* midiMap = element->createNewChildElement ("MidiCCMap");

    if (getMidiControl().getUseUserMap())
    {
        midiMap->setAttribute ("default", "userDefinedMidiCCMap");
        midiMap->setAttribute ("file", getMidiControl().getUserMapFile().getFullPathName());
    }
    else
    {
        midiMap->setAttribute ("default", "noMapping");
    }

    return element;
}

void BasePluginOldStyle::readUserSettings (const juce::XmlElement& element)
{
    if (! isUserSettingsXml (&element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, "PluginDirectories"))
        {
            for (auto* recent : child->getChildIterator())
                if (tagIs (recent, "RecentlyUsed") && juce::File::isAbsolutePath (recent->getStringAttribute ("dir")))
                    setRecentlyUsedDirectory (juce::File (recent->getStringAttribute ("dir")));
        }
        else if (tagIs (child, "ResourcesSettings"))
            readResourcesSettings (*child);
        else if (tagIs (child, "PresetSettings"))
            readPresetSettings (*child);
    }
}

void BasePluginOldStyle::readResourcesSettings (const juce::XmlElement& element)
{
    auto fileOf = [] (const juce::XmlElement& e)
    {
        const auto path = e.getStringAttribute ("file");
        return juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
    };

    if (auto* presets = findChildWithTag (&element, "Presets"))
    {
        const auto word = presets->getStringAttribute ("default");

        if (word.equalsIgnoreCase ("factoryPresets"))
            presetsResource = factoryPresets;
        else if (word.equalsIgnoreCase ("clearPresets"))
            presetsResource = clearPresets;
        else if (word.equalsIgnoreCase ("userDefinedPresets"))
        {
            presetsResource = userDefinedPresets;
            userPresetsFile = fileOf (*presets);
        }
    }

    if (auto* midiMap = findChildWithTag (&element, "MidiCCMap"))
    {
        const auto word = midiMap->getStringAttribute ("default");

        if (word == "noMapping")
            getMidiControl().setUseUserMap (false);
        else if (word == "userDefinedMidiCCMap")
        {
            getMidiControl().setUseUserMap (true);
            getMidiControl().setUserMapFile (fileOf (*midiMap));
        }
    }
}

void BasePluginOldStyle::readPresetSettings (const juce::XmlElement& element)
{
    if (hasPresetStoringSetting())
    {
        const auto storing = element.getStringAttribute ("storing");

        if (storing == "onDemand")
            storingMode = storingOnDemand;
        else if (storing == "automatic")
        {
            storingMode = automaticStoring;
            storeParametersInPreset (getCurrentPreset());
        }
    }

    if (hasPresetChangingSetting())
    {
        const auto changing = element.getStringAttribute ("changing");

        if (changing == "normal")
            changingMode = 0;
        else if (changing == "silent")
            changingMode = 1;
    }
}
