#pragma once

#include "framework/presets/Preset.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

class ParameterManager;

// A folder tree of preset files (a collection): the files with the preset
// extension under a root directory, each folder's presets and subfolders in
// natural order, flattened into one list of paths relative to the root (a
// folder's own presets, then each subfolder's in turn). It also keeps which
// of its files is the current preset and the marks on it, and a cache of
// the presets it has loaded for display.
//
// Threads: the tree, the cache and the current file belong to the message
// thread; the marks may be set from any thread (a parameter changed by MIDI
// marks the preset modified).
class PresetCollection : private juce::AsyncUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread, from the message loop after a scan.
        virtual void presetCollectionChanged (PresetCollection& collection) = 0;
    };

    // One folder of the tree: its own name, the file names of its presets
    // and its subfolders.
    struct Folder
    {
        juce::String name;
        juce::StringArray presetFileNames;
        std::vector<std::unique_ptr<Folder>> folders;
    };

    // The name also names the root folder in display paths. The extension
    // is dotted (".xrprs"). Nothing is read until the first scan.
    PresetCollection (const juce::String& name, const juce::File& rootDirectory, const juce::String& fileExtension);
    ~PresetCollection() override;

    PresetCollection (const PresetCollection&) = delete;
    PresetCollection& operator= (const PresetCollection&) = delete;

    const juce::String& getName() const noexcept { return name; }
    const juce::File& getRootDirectory() const noexcept { return rootDirectory; }
    const juce::String& getFileExtension() const noexcept { return fileExtension; }

    // Message thread. Reads the tree afresh: every file with the extension
    // and every folder below the root (hidden ones and folder loops left
    // out); within a folder a name counts once, whatever its letter case.
    // Forgets the loaded presets and tells the listeners from the message
    // loop.
    void scan();

    const Folder& getRootFolder() const noexcept { return rootFolder; }

    // The presets in list order. Paths are relative to the root, with "/"
    // between folders ("Kicks/Heavy.xrprs"). Out of range: empty.
    int getNumPresets() const noexcept { return (int) presetPaths.size(); }
    juce::String getPresetPath (int index) const;
    juce::File getPresetFile (int index) const;
    // The root folder's name, "/" and the relative path ("Presets/Kicks/Heavy.xrprs").
    juce::String getDisplayPath (int index) const;
    // The list index of a file, or -1.
    int indexOf (const juce::File& file) const;

    // Every folder below the root, parents before their children, as paths
    // relative to the root.
    int getNumFolders() const noexcept { return folderPaths.size(); }
    juce::String getFolderPath (int index) const { return folderPaths[index]; }

    // Message thread. The preset of a list entry, read in full on first use
    // and kept until the next scan; null for an index out of range or a file
    // that holds no preset.
    const FilePreset* getPreset (int index, const ParameterManager& manager);

    // The file that follows (direction > 0) or precedes the given one in the
    // list, wrapping round at either end. A file not in the list is followed
    // by the first and preceded by the last; an empty list gives none.
    juce::File getAdjacentPresetFile (const juce::File& from, int direction) const;

    // Message thread. The current preset's file (none at first).
    const juce::File& getCurrentFile() const noexcept { return currentFile; }
    void setCurrentFile (const juce::File& file) { currentFile = file; }

    // Any thread. The current preset differs from its file.
    bool isModified() const noexcept { return modified.load(); }
    void setModified (bool isModified) noexcept { modified = isModified; }

    // Any thread. A mark the product keeps on the current preset for its
    // own use; loading a preset clears it.
    bool getPresetFlag() const noexcept { return presetFlag.load(); }
    void setPresetFlag (bool isSet) noexcept { presetFlag = isSet; }

    // Message thread. Null and listeners already present are refused.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

private:
    void scanFolder (const juce::File& directory, Folder& folder, std::vector<std::string>& visited);
    void flatten (const Folder& folder, const juce::String& prefix);
    void handleAsyncUpdate() override;

    const juce::String name;
    const juce::File rootDirectory;
    const juce::String fileExtension;

    Folder rootFolder;
    juce::StringArray presetPaths;
    juce::StringArray folderPaths;
    std::map<juce::String, std::unique_ptr<FilePreset>> loadedPresets; // by relative path

    juce::File currentFile;
    std::atomic<bool> modified { false };
    std::atomic<bool> presetFlag { false };

    juce::Array<Listener*> listeners;
};
