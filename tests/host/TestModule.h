#pragma once
// Loads the test module (the binding around the recording processor) through
// the command-line host, as a real host would.
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

// The recording processor's report, one line per entry.
inline std::vector<std::string> report(clihost::PluginInstance& instance)
{
    const auto bytes = instance.getChunk(true);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

// The value after `key ` on the first report line starting with it; "" when there is none.
inline std::string reportValue(clihost::PluginInstance& instance, const std::string& key)
{
    for (const auto& line : report(instance))
        if (line.rfind(key + " ", 0) == 0)
            return line.substr(key.size() + 1);
    return {};
}

// Every report line starting with `key `.
inline std::vector<std::string> reportLines(clihost::PluginInstance& instance, const std::string& key)
{
    std::vector<std::string> found;
    for (const auto& line : report(instance))
        if (line.rfind(key + " ", 0) == 0)
            found.push_back(line);
    return found;
}

// What the recording processor writes to channel c at frame n.
inline float expectedSample(int channel, long long frame)
{
    return static_cast<float>((channel + 1) * 1000 + frame % 1000);
}
} // namespace testmodule
