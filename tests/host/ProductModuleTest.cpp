// The product module, whatever processor it carries: it exports only the
// entry, describes itself as the instrument, plays a block and closes.
#include "support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

using namespace vst;

namespace
{
// The names `nm -D --defined-only` lists for the module, one per line.
std::vector<std::string> exportedNames(const char* module)
{
    std::vector<std::string> names;
    FILE* pipe = popen(("nm -D --defined-only " + std::string(module)).c_str(), "r");
    char line[1024];
    while (pipe != nullptr && fgets(line, sizeof line, pipe) != nullptr)
    {
        const std::string text(line, std::strcspn(line, "\n"));
        names.push_back(text.substr(text.find_last_of(' ') + 1));
    }
    if (pipe != nullptr)
        pclose(pipe);
    return names;
}

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

TEST(ProductModule, BothModulesExportOnlyTheEntry)
{
    for (const char* module : { PULSETTA_PRODUCT_MODULE_PATH, PULSETTA_TEST_MODULE_PATH })
        EXPECT_EQ(exportedNames(module), std::vector<std::string> { "VSTPluginMain" }) << module;
}

TEST(ProductModule, LoadsPlaysABlockAndCloses)
{
    const testing_support::TemporarySettingsHome settingsHome("pulsetta-product-");
    {
        std::string error;
        auto module = clihost::PluginModule::load(PULSETTA_PRODUCT_MODULE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        auto instance = clihost::PluginInstance::create(*module, {}, error);
        ASSERT_NE(instance, nullptr) << error;
        const AEffect* effect = instance->effect();
        EXPECT_EQ(effect->uniqueID, fourCharCode("Kx4P"));
        EXPECT_EQ(effect->version, 0x10602);
        EXPECT_EQ(effect->flags, effFlagsHasEditor | effFlagsIsSynth | effFlagsProgramChunks | effFlagsCanReplacing);
        EXPECT_EQ(effect->numInputs, 0);
        EXPECT_TRUE(effect->numOutputs == 12 || effect->numOutputs == 24) << effect->numOutputs;

        instance->resume(44100.0, 256);
        std::vector<std::vector<float>> out(static_cast<size_t>(effect->numOutputs), std::vector<float>(256, 5.0f));
        std::vector<float*> outputs;
        for (auto& channel : out)
            outputs.push_back(channel.data());
        instance->sendEvents({ clihost::MidiEventIn { 10, { 0x99, 36, 100 } } });
        instance->process(nullptr, outputs.data(), 256);
        for (const auto& channel : out)
            for (const float sample : channel)
                ASSERT_TRUE(std::isfinite(sample) && sample != 5.0f) << "an output was not written";
        instance->idle();

        // A wild block size is neither allocated nor refused: the module prepares for less (the process's
        // peak memory barely moves) and plays longer blocks in slices.
        for (const int wild : { 100000000, std::numeric_limits<int>::max() })
        {
            const long peakBefore = peakKilobytes();
            instance->resume(44100.0, wild);
            EXPECT_LT(peakKilobytes() - peakBefore, 64 * 1024) << wild << " frames";
            std::vector<std::vector<float>> longOut(out.size(), std::vector<float>(20000, 5.0f));
            for (size_t i = 0; i < longOut.size(); ++i)
                outputs[i] = longOut[i].data();
            instance->sendEvents({ clihost::MidiEventIn { 15000, { 0x99, 36, 100 } } });
            instance->process(nullptr, outputs.data(), 20000);
            for (const auto& channel : longOut)
                for (const float sample : channel)
                    ASSERT_TRUE(std::isfinite(sample) && sample != 5.0f) << "an output was not written";
        }
        EXPECT_EQ(instance->close(), 1);
    }
}
