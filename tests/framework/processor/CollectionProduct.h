#pragma once

#include "framework/processor/BasePlugin.h"

#include <juce_events/juce_events.h>

#include <functional>

// A product directly on the processor base that keeps its presets as files
// in one collection, "Presets" (extension ".xrprs"), under a folder of the
// test's. It records what the base tells it; the switches the product never
// turns on (debug mode, the state dump) are the test's to set before start-up.
struct ProductSwitches
{
    bool debugMode = false;
    bool stateDump = false;
    bool noCollection = false; // as the product: no collection at all (a test may take it away at any time)
};

class CollectionProduct : public BasePlugin
{
public:
    using Switches = ProductSwitches;

    explicit CollectionProduct (const juce::File& presetsFolder, Switches testSwitches = {})
        : BasePlugin (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo())),
          switches (testSwitches),
          presets ("Presets", presetsFolder, ".xrprs")
    {
    }

    ~CollectionProduct() override { stopPolling(); }

    // Message thread: the product started up as the binding would get it.
    static std::unique_ptr<CollectionProduct> create (const juce::File& presetsFolder, Switches switches = {})
    {
        auto* started = BasePlugin::startUp (std::make_unique<CollectionProduct> (presetsFolder, switches));
        return std::unique_ptr<CollectionProduct> (static_cast<CollectionProduct*> (started));
    }

    juce::String getPluginName() const override { return "Collector"; }
    juce::String getResourcePrefix() const override { return "XR"; }
    juce::String getVersion() const override { return "2.0"; }
    int getNumHostParameters() const override { return 84; }
    bool isDebugMode() const override { return switches.debugMode; }
    bool isStateDumpEnabled() const override { return switches.stateDump; }

    int getNumPresetCollections() const override { return switches.noCollection ? 0 : 1; }
    PresetCollection* getPresetCollection (int index) const override
    {
        return index == 0 && ! switches.noCollection ? &presets : nullptr;
    }
    using BasePlugin::getPresetCollection;
    PresetCollection& getPresets() noexcept { return presets; }

    void presetLoaded (PresetCollection&, const FilePreset& preset) override { loadedNames.add (preset.getName()); }
    void presetExtraDataLoaded (PresetCollection&, const juce::XmlElement* extraData) override
    {
        lastExtraData = extraData != nullptr ? extraData->getTagName() : "none";
    }
    void presetCollectionChanged (PresetCollection&) override { ++scansHeard; }

    void postInitialise() override { presets.scan(); }

    // The state carries the first parameter's value, so that a restore shows.
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override
    {
        auto state = BasePlugin::createPluginStateXml();
        state->setAttribute ("level", getParameterManager().toString (0));
        return state;
    }

    void restorePluginState (const juce::XmlElement& element) override
    {
        if (isPluginStateXml (&element))
            getParameterManager().setFromString (0, element.getStringAttribute ("level"));
    }

    // The author update's worker thread. Runs beforeAuthorUpdate first, so
    // that a test can hold the worker at a file or take away its rights.
    AuthorUpdate updatePresetFileAuthor (const juce::File& file) override
    {
        if (beforeAuthorUpdate)
            beforeAuthorUpdate (file);

        return BasePlugin::updatePresetFileAuthor (file);
    }

    Switches switches;
    std::function<void (const juce::File&)> beforeAuthorUpdate;
    juce::StringArray loadedNames;
    juce::String lastExtraData;
    int scansHeard = 0;

private:
    mutable PresetCollection presets;
};
