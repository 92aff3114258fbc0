#pragma once

#include <juce_core/juce_core.h>

// The product's identity as text, for the about box and the settings.
class SoftwareDesignation
{
public:
    virtual ~SoftwareDesignation() = default;

    virtual juce::String getPluginName() const = 0;
    virtual juce::String getInternalName() const = 0;
    virtual juce::String getVersion() const = 0;
    virtual juce::String getWebPage() const = 0;
    virtual juce::String getYear() const = 0;
    virtual juce::File getModuleFile() const = 0;
    virtual juce::String getBuildDate() const = 0;
    virtual juce::String getReservedText() const = 0;
    virtual juce::String getBuildNumber() const = 0;
    virtual juce::String getPluginFormat() const = 0;
    virtual juce::String getPlatform() const = 0;
    virtual juce::String getBranch() const = 0;
    virtual juce::String getVersionText() const = 0;
    virtual juce::String getNumberText() const = 0;
};
