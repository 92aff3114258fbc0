// The processor base's work on preset files: the preset collections' current
// presets (select, step, save) and the author update of the user's own files.
#include "framework/processor/BasePlugin.h"

#include "framework/presets/XmlFiles.h"

PresetCollection* BasePlugin::getPresetCollection (const juce::String& name) const
{
    for (int i = 0; i < getNumPresetCollections(); ++i)
        if (auto* collection = getPresetCollection (i); collection != nullptr && collection->getName() == name)
            return collection;

    return nullptr;
}

bool BasePlugin::selectPresetFile (PresetCollection& collection, const juce::File& file)
{
    // Choosing the current preset again only matters when it has changed:
    // it then takes back what its file holds.
    if (! file.existsAsFile() || (file == getCurrentPresetFile (collection) && ! isPresetModified (collection)))
        return false;

    FilePreset preset (file);

    if (! preset.loadFromFile (file, parameterManager, false))
        return false;

    preset.applyTo (parameterManager);
    presetLoaded (collection, preset);
    presetExtraDataLoaded (collection, preset.getExtraData());
    setPresetFlag (collection, false);
    setCurrentPresetFile (collection, file);
    setPresetModified (collection, false);
    notifyCurrentPresetChanged();
    return true;
}

bool BasePlugin::selectAdjacentPreset (PresetCollection& collection, int direction)
{
    return selectPresetFile (collection, collection.getAdjacentPresetFile (getCurrentPresetFile (collection), direction));
}

void BasePlugin::addPresetValues (PresetCollection&, Preset& preset)
{
    for (int i = 0; i < parameterManager.getNumParameters(); ++i)
        preset.addParameterValue (parameterManager.getParameterAt (i));
}

std::unique_ptr<juce::XmlElement> BasePlugin::createPresetXmlToSave (PresetCollection& collection)
{
    // No name: the file name is the name. No id: one of the user's own.
    Preset preset;
    preset.setApplication (getPluginName());
    preset.setVersion (getVersion());
    preset.setAuthor (getAuthorName());
    addPresetValues (collection, preset);
    return preset.createXml (parameterManager);
}

void BasePlugin::writePreset (PresetCollection& collection, juce::OutputStream& out)
{
    xmlfiles::writeDocument (*createPresetXmlToSave (collection), out);
}

void BasePlugin::presetFileSaved (PresetCollection& collection, const juce::File& file)
{
    setCurrentPresetFile (collection, file);
    setPresetModified (collection, false);
    collection.scan();
    notifyCurrentPresetChanged();
}

bool BasePlugin::savePresetToFile (PresetCollection& collection, const juce::File& file)
{
    if (! xmlfiles::writeDocument (*createPresetXmlToSave (collection), file))
        return false;

    presetFileSaved (collection, file);
    return true;
}

BasePlugin::AuthorUpdate BasePlugin::updatePresetFileAuthor (const juce::File& file)
{
    if (file.getFullPathName().isEmpty() || ! file.existsAsFile())
        return AuthorUpdate::failed;

    // A file that holds no preset reads as an empty header: it looks like one
    // of the user's own, and the rewrite below refuses it.
    FilePreset preset (file);
    preset.loadFromFile (file, parameterManager, true);

    if (preset.getId().isNotEmpty())
        return AuthorUpdate::leftAlone;

    preset.setAuthor (getAuthorName());
    preset.setId ({});
    return preset.updateAuthorInFile (file) ? AuthorUpdate::rewritten : AuthorUpdate::failed;
}
