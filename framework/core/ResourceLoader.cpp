#include "framework/core/ResourceLoader.h"

platform::Resource findEmbeddedResource (const juce::String& fileName)
{
    const int dot = fileName.lastIndexOfChar ('.');

    if (dot <= 0)
        return {};

    const auto name = fileName.substring (0, dot).toStdString();
    const auto type = fileName.substring (dot + 1).toStdString();
    return platform::findResource (name, type);
}

std::unique_ptr<juce::MemoryBlock> loadResourceData (const juce::String& fileName)
{
    const auto resource = findEmbeddedResource (fileName);

    if (! resource || resource.size == 0)
        return nullptr;

    return std::make_unique<juce::MemoryBlock> (resource.data, resource.size);
}

juce::String getResourceAsString (const juce::String& fileName)
{
    const auto resource = findEmbeddedResource (fileName);

    if (! resource || resource.size == 0)
        return {};

    return juce::String::fromUTF8 (reinterpret_cast<const char*> (resource.data), static_cast<int> (resource.size));
}
