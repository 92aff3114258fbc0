#include "framework/presets/PresetCollection.h"

#include "framework/core/NaturalOrder.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace
{
// Sorts the entries by their names in natural order and keeps the first of
// the names that differ only in letter case.
juce::Array<juce::File> sortedUniqueByName (juce::Array<juce::File> entries)
{
    std::sort (entries.begin(), entries.end(), [] (const juce::File& a, const juce::File& b)
    {
        return compareNatural (a.getFileName(), b.getFileName()) < 0;
    });

    juce::Array<juce::File> unique;
    std::set<juce::String> seen;

    for (const auto& entry : entries)
        if (seen.insert (entry.getFileName().toLowerCase()).second)
            unique.add (entry);

    return unique;
}
} // namespace

PresetCollection::PresetCollection (const juce::String& collectionName, const juce::File& root, const juce::String& extension)
    : name (collectionName), rootDirectory (root), fileExtension (extension)
{
    rootFolder.name = name;
}

PresetCollection::~PresetCollection()
{
    cancelPendingUpdate();
}

void PresetCollection::scan()
{
    rootFolder = Folder();
    rootFolder.name = name;
    std::vector<std::string> visited;
    scanFolder (rootDirectory, rootFolder, visited);

    presetPaths.clear();
    folderPaths.clear();
    flatten (rootFolder, {});

    loadedPresets.clear();
    triggerAsyncUpdate();
}

void PresetCollection::scanFolder (const juce::File& directory, Folder& folder, std::vector<std::string>& visited)
{
    // A link back up the tree would otherwise be followed for ever.
    std::error_code error;
    const auto realPath = std::filesystem::canonical (directory.getFullPathName().toStdString(), error).string();

    if (error || std::find (visited.begin(), visited.end(), realPath) != visited.end())
        return;

    visited.push_back (realPath);

    juce::Array<juce::File> files, directories;

    for (const auto& entry : juce::RangedDirectoryIterator (directory, false, "*",
                                                            juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles))
    {
        if (entry.isDirectory())
            directories.add (entry.getFile());
        else if (entry.getFile().hasFileExtension (fileExtension))
            files.add (entry.getFile());
    }

    for (const auto& file : sortedUniqueByName (files))
        folder.presetFileNames.add (file.getFileName());

    for (const auto& subdirectory : sortedUniqueByName (directories))
    {
        auto child = std::make_unique<Folder>();
        child->name = subdirectory.getFileName();
        scanFolder (subdirectory, *child, visited);
        folder.folders.push_back (std::move (child));
    }
}

void PresetCollection::flatten (const Folder& folder, const juce::String& prefix)
{
    for (const auto& fileName : folder.presetFileNames)
        presetPaths.add (prefix + fileName);

    for (const auto& child : folder.folders)
    {
        folderPaths.add (prefix + child->name);
        flatten (*child, prefix + child->name + "/");
    }
}

juce::String PresetCollection::getPresetPath (int index) const
{
    return presetPaths[index];
}

juce::File PresetCollection::getPresetFile (int index) const
{
    return juce::isPositiveAndBelow (index, presetPaths.size()) ? rootDirectory.getChildFile (presetPaths[index]) : juce::File();
}

juce::String PresetCollection::getDisplayPath (int index) const
{
    return juce::isPositiveAndBelow (index, presetPaths.size()) ? rootFolder.name + "/" + presetPaths[index] : juce::String();
}

int PresetCollection::indexOf (const juce::File& file) const
{
    if (! file.isAChildOf (rootDirectory))
        return -1;

    return presetPaths.indexOf (file.getRelativePathFrom (rootDirectory));
}

const FilePreset* PresetCollection::getPreset (int index, const ParameterManager& manager)
{
    if (! juce::isPositiveAndBelow (index, presetPaths.size()))
        return nullptr;

    auto& loaded = loadedPresets[presetPaths[index]];

    if (loaded == nullptr)
    {
        const auto file = getPresetFile (index);
        auto preset = std::make_unique<FilePreset> (file);

        if (! preset->loadFromFile (file, manager, false))
        {
            loadedPresets.erase (presetPaths[index]);
            return nullptr;
        }

        loaded = std::move (preset);
    }

    return loaded.get();
}

juce::File PresetCollection::getAdjacentPresetFile (const juce::File& from, int direction) const
{
    const int count = presetPaths.size();

    if (count == 0)
        return {};

    const int index = indexOf (from);
    int next = 0;

    if (index < 0)
        next = direction > 0 ? 0 : count - 1;
    else
        next = (index + (direction > 0 ? 1 : count - 1)) % count;

    return getPresetFile (next);
}

void PresetCollection::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void PresetCollection::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void PresetCollection::handleAsyncUpdate()
{
    // A listener may remove itself (or another) while being told.
    for (int i = listeners.size(); --i >= 0;)
        if (i < listeners.size())
            listeners.getUnchecked (i)->presetCollectionChanged (*this);
}
