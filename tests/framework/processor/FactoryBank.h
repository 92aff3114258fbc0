#pragma once

#include "framework/core/ParameterManager.h"
#include "framework/core/ResourceLoader.h"
#include "framework/presets/PresetBank.h"
#include "framework/presets/PresetBankFormat.h"

#include <juce_core/juce_core.h>

#include <memory>

// The embedded factory bank as the framework's own reader makes it. Its names
// and values are the sound designer's: tests take them from here instead of
// repeating them, so that they hold whatever the table holds. Null when the
// resource is missing or no bank.
inline std::unique_ptr<PresetBank> readFactoryBank()
{
    constexpr int numPresetValues = 49; // parameters 0-48

    ParameterManager manager;
    manager.loadFromResource ("parameters.xml");
    const PresetBankFormat format (manager, "Pulsetta");
    const PresetRecord defaults (numPresetValues, -1);

    auto bank = std::make_unique<PresetBank> (numPresetValues);
    const auto root = juce::parseXML (getResourceAsString ("default.xrprsb"));

    if (root == nullptr || ! format.readBankXml (*root, *bank, defaults))
        return nullptr;

    return bank;
}
