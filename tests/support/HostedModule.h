#pragma once

#include "support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"
#include "tools/PluginModule.h"

#include "framework/processor/StateChunk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support
{
// A module loaded by the command-line host as a host loads it, through its
// entry, with its user settings in a fresh folder.
class HostedModule
{
public:
    HostedModule (const std::string& path, const std::string& settingsPrefix) : settingsHome (settingsPrefix)
    {
        std::string error;
        module = clihost::PluginModule::load (path, error);
        EXPECT_NE (module, nullptr) << error;
    }

    // A fresh instance told the rate (Hz) and block size (frames), and
    // resumed; null, and the test failed, when there is none.
    std::unique_ptr<clihost::PluginInstance> create (double rate, int blockSize) const
    {
        if (module == nullptr)
            return nullptr;

        std::string error;
        clihost::HostSettings hostSettings;
        hostSettings.sampleRate = rate;
        hostSettings.blockSize = blockSize;
        auto instance = clihost::PluginInstance::create (*module, hostSettings, error);
        EXPECT_NE (instance, nullptr) << error;
        if (instance != nullptr)
            instance->resume (rate, blockSize);
        return instance;
    }

    TemporarySettingsHome settingsHome;
    std::unique_ptr<clihost::PluginModule> module;
};

// The instance's state chunk as its document; null when it does not read.
inline std::unique_ptr<juce::XmlElement> stateOf (clihost::PluginInstance& instance)
{
    const auto chunk = instance.getChunk();
    return statechunk::read (chunk.data(), (int) chunk.size());
}

// Gives the instance the document as its state chunk, as a host restoring a song.
inline void setState (clihost::PluginInstance& instance, const juce::XmlElement& state)
{
    juce::MemoryBlock block;
    statechunk::write (state, block);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    instance.setChunk (std::vector<uint8_t> (bytes, bytes + block.getSize()));
}
} // namespace testing_support
