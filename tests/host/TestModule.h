#pragma once
// Loads the test module (the binding around the recording processor) through
// the command-line host, as a real host would.
#include "Outputs.h"

#include "tools/PluginInstance.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace testmodule
{
inline const char* path() { return PULSETTA_TEST_MODULE_PATH; }

inline std::unique_ptr<clihost::PluginModule> load()
{
    std::string error;
    auto module = clihost::PluginModule::load(path(), error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

inline std::unique_ptr<clihost::PluginInstance> create(const clihost::PluginModule& module,
                                                       const clihost::HostSettings& settings = {})
{
    std::string error;
    auto instance = clihost::PluginInstance::create(module, settings, error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
}

// Every line of the recording processor's report starting with `key `.
inline std::vector<std::string> reportLines(clihost::PluginInstance& instance, const std::string& key)
{
    const auto bytes = instance.getChunk(true);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> found;
    for (std::string line; std::getline(text, line);)
        if (line.rfind(key + " ", 0) == 0)
            found.push_back(line);
    return found;
}

// The value after `key ` on the first report line starting with it; "" when there is none.
inline std::string reportValue(clihost::PluginInstance& instance, const std::string& key)
{
    const auto lines = reportLines(instance, key);
    return lines.empty() ? std::string() : lines.front().substr(key.size() + 1);
}

// A loaded module and one resumed instance of it.
struct Resumed
{
    explicit Resumed(int blockSize = 64, double rate = 44100.0) : module(load()), instance(create(*module))
    {
        instance->resume(rate, blockSize);
    }
    clihost::PluginInstance* operator->() { return instance.get(); }
    clihost::PluginInstance& operator*() { return *instance; }
    std::unique_ptr<clihost::PluginModule> module;
    std::unique_ptr<clihost::PluginInstance> instance;
};
} // namespace testmodule
