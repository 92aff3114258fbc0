#pragma once

#include "framework/core/ParameterManager.h"

#include <juce_core/juce_core.h>

// The product's parameter list, loaded as the processor loads it.
inline ParameterManager& productParameters()
{
    static ParameterManager manager;

    if (manager.getNumParameters() == 0)
        manager.loadFromResource ("parameters.xml");

    return manager;
}

// A fresh temporary folder, deleted with the object.
struct TemporaryFolder
{
    TemporaryFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile ("pulsetta-presets-test", "", false))
    {
        folder.createDirectory();
    }

    ~TemporaryFolder() { folder.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    juce::File folder;
};
