#pragma once

#include "framework/presets/PresetBank.h"

#include <juce_core/juce_core.h>

#include <memory>

class ParameterManager;

// The XML forms of a bank preset ("Preset" with one "param" per value), of a
// group ("PresetGroup") and of the whole bank ("PresetBank"), as the bank
// files, the factory resources and the state chunk hold them. Values are
// written rounded to six decimals. Message thread.
class PresetBankFormat
{
public:
    // application: the plug-in name that presets carry and must carry.
    PresetBankFormat (const ParameterManager& manager, const juce::String& application);

    // Tag "Preset" (without regard to case) and this plug-in's application.
    bool isPresetXml (const juce::XmlElement* element) const;
    static bool isPresetGroupXml (const juce::XmlElement* element);
    static bool isPresetBankXml (const juce::XmlElement* element);

    // The preset's name, "unnamed" when it has none.
    static juce::String readPresetName (const juce::XmlElement& element);

    // Takes the values the element names for parameters the record holds;
    // unknown names, other indexes and non-numbers are skipped, values are
    // clamped to 0..1. False (nothing changed) unless isPresetXml.
    bool readPresetValues (const juce::XmlElement& element, PresetRecord& record) const;

    std::unique_ptr<juce::XmlElement> createPresetXml (const juce::String& name, const PresetRecord& record) const;

    std::unique_ptr<juce::XmlElement> createBankXml (const PresetBank& bank) const;

    // Reads groups and their presets (at most 128; other elements skipped),
    // then replaces the whole bank: the presets left over get the defaults and
    // a group "Not used". False (nothing changed) unless isPresetBankXml and at
    // least one preset of this application was found.
    bool readBankXml (const juce::XmlElement& element, PresetBank& bank, const PresetRecord& defaults) const;

private:
    const ParameterManager& manager;
    const juce::String application;
};
