#include "editor/skin/SkinFiles.h"

#include "framework/processor/BasePlugin.h"

namespace skinfiles
{
juce::File getSkinsFolder (const BasePlugin& processor)
{
    return processor.getCommonDataFolder().getChildFile ("Skins");
}

bool isPlainSkinName (const juce::String& name)
{
    return name.isNotEmpty() && ! name.containsAnyOf ("/\\") && ! name.contains ("..")
           && ! name.startsWithChar ('~');
}

juce::File getSkinFile (const juce::File& skinsFolder, const juce::String& name)
{
    if (skinsFolder == juce::File() || ! isPlainSkinName (name))
        return {};

    const auto file = skinsFolder.getChildFile (name + packageExtension);
    return file.getParentDirectory() == skinsFolder ? file : juce::File();
}
} // namespace skinfiles
