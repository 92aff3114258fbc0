#pragma once

#include <juce_core/juce_core.h>

class BasePlugin;

// Where skin packages live: "<name>.kyxskin" files in the "Skins" folder of
// the processor's common data folder (on Linux under /usr/local/share; tests
// redirect it with platform::redirectApplicationDataFolders).
namespace skinfiles
{
inline constexpr const char* packageExtension = ".kyxskin";
inline constexpr const char* descriptionFileName = "skin.xml";
inline constexpr const char* descriptionRootTag = "PluginEditor";

// Any thread. <common data folder>/Skins.
juce::File getSkinsFolder (const BasePlugin& processor);

// Any thread. A skin name comes from a settings file or a host's chunk, so it
// is taken only as a plain file name: not empty, no "/", "\" or "..", and
// nothing that leaves the folder ("~user" is a home folder to juce::File).
bool isPlainSkinName (const juce::String& name);

// Any thread. The package file of that name in the skins folder; an empty
// juce::File when the name is not plain, so that no name ever reaches a file
// outside the folder.
juce::File getSkinFile (const juce::File& skinsFolder, const juce::String& name);
} // namespace skinfiles
