// libFuzzer target for the command-line host's transport script. A script
// that is refused names the line and yields no event; one that is read has
// every event in frame order within its time, and when it is short it is
// played through a fresh instance of the product module (loaded through
// VSTPluginMain), whose every sample must be finite.
#include "tools/Player.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
constexpr double sampleRate = 44100.0;       // Hz
constexpr int64_t longestPlayedFrames = 8820; // longer scripts are only read: 0.2 s keeps a run quick

clihost::PluginModule* module = nullptr;

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const auto folder = std::filesystem::temp_directory_path() / ("pulsetta-fuzz-script-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    std::string error;
    module = clihost::PluginModule::load(PULSETTA_PRODUCT_MODULE_PATH, error).release();
    if (module == nullptr)
        fail(error.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    clihost::Script script;
    std::string error;
    if (!clihost::Script::parse(std::string(reinterpret_cast<const char*>(data), size), sampleRate, script, error))
    {
        if (error.rfind("line ", 0) != 0 || !script.events.empty())
            fail("a refused script must name its line and yield no event");
        return 0;
    }

    const auto latest = static_cast<int64_t>(clihost::Script::maxSeconds * sampleRate);
    int64_t previous = 0;
    for (const auto& event : script.events)
    {
        if (event.frame < previous || event.frame > latest)
            fail("an event outside the script's time or out of order");
        previous = event.frame;
    }
    if (script.lengthFrames < 0 || script.lengthFrames > latest)
        fail("a length outside the script's time");

    const int64_t length = script.lengthFrames > 0 ? script.lengthFrames : previous + 256;
    if (length > longestPlayedFrames)
        return 0;

    auto instance = clihost::PluginInstance::create(*module, {}, error);
    if (instance == nullptr)
        fail(error.c_str());
    clihost::PlaySettings settings;
    settings.sampleRate = sampleRate;
    settings.blockSize = 256;
    const auto rendering = clihost::play(*instance, script, settings);
    for (const auto& channel : rendering.outputs)
        for (const float sample : channel)
            if (!std::isfinite(sample))
                fail("a rendered sample is not finite");
    instance->close();
    return 0;
}
