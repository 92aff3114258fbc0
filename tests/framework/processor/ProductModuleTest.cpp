// The processor through the real module and the command-line host, as a host
// drives it: automation, program changes and chunks.
#include "FactoryBank.h"
#include "support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace vst;

namespace
{
constexpr int numHostParameters = 84;

class ProductModule : public ::testing::Test
{
protected:
    ProductModule()
    {
        std::string error;
        module = clihost::PluginModule::load (PULSETTA_FRAMEWORK_TEST_MODULE_PATH, error);
        EXPECT_NE (module, nullptr) << error;
    }

    ~ProductModule() override
    {
        module.reset();
    }

    std::unique_ptr<clihost::PluginInstance> create()
    {
        std::string error;
        auto instance = clihost::PluginInstance::create (*module, {}, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    static void processBlock (clihost::PluginInstance& instance)
    {
        std::vector<std::vector<float>> channels (12, std::vector<float> (64));
        std::vector<float*> outputs;
        for (auto& channel : channels)
            outputs.push_back (channel.data());

        instance.process (nullptr, outputs.data(), 64);
        instance.idle();
    }

    static std::vector<float> parameters (clihost::PluginInstance& instance)
    {
        std::vector<float> values;
        for (int i = 0; i < numHostParameters; ++i)
            values.push_back (instance.getParameter (i));
        return values;
    }

    static std::string programName (clihost::PluginInstance& instance)
    {
        char name[64] = {};
        instance.dispatch (effGetProgramName, 0, 0, name);
        return name;
    }

    static void programChange (clihost::PluginInstance& instance, int program)
    {
        instance.sendEvents ({ { 3, { 0xC0, static_cast<uint8_t> (program) } } });
        processBlock (instance); // received
        processBlock (instance); // applied
    }

    static size_t automationCount (const clihost::PluginInstance& instance, int index = -1)
    {
        size_t count = 0;
        for (const auto& report : instance.parameterReports)
            if (report.opcode == audioMasterAutomate && (index < 0 || report.index == index))
                ++count;
        return count;
    }

    testing_support::TemporarySettingsHome settingsHome { "pulsetta-module-test-" };
    std::unique_ptr<clihost::PluginModule> module;
};

TEST_F (ProductModule, TheRecordShowsTheHostRow)
{
    auto instance = create();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->effect()->numParams, numHostParameters);
    EXPECT_EQ (instance->parameterText (effGetParamName, 0), "Bass Drum Level");
    EXPECT_FLOAT_EQ (instance->getParameter (15), 0.25f);
}

TEST_F (ProductModule, HostChangesAreNotEchoedAndProgramChangesAreReportedOnce)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    const auto& preset5 = *factory->getPreset (5);

    auto instance = create();
    instance->resume (44100.0, 64);

    // Two host edits, each away from what preset 5 holds, so that the program
    // change below must bring both back whatever the factory table says.
    const float edited10 = preset5.getValue (10) < 0.5f ? 0.9f : 0.1f;
    const float edited20 = preset5.getValue (20) < 0.5f ? 0.9f : 0.1f;
    instance->setParameter (10, edited10);
    instance->setParameter (20, edited20);
    processBlock (*instance);
    EXPECT_EQ (automationCount (*instance), 0u);
    EXPECT_FLOAT_EQ (instance->getParameter (10), edited10);
    const auto before = parameters (*instance);

    // A MIDI program change is applied on the next block: parameters 0 to 48
    // take the preset's values, and the host hears once of each parameter
    // whose value changed (with its new value) and of no other.
    instance->sendEvents ({ { 3, { 0xC0, 5 } } });
    processBlock (*instance);
    EXPECT_EQ (programName (*instance), factory->getPresetName (0).toStdString());
    EXPECT_FLOAT_EQ (instance->getParameter (10), edited10);
    processBlock (*instance);
    EXPECT_EQ (programName (*instance), factory->getPresetName (5).toStdString());

    const auto after = parameters (*instance);
    for (int i = 0; i < 49; ++i)
        EXPECT_FLOAT_EQ (after[(size_t) i], preset5.getValue (i)) << i;
    for (int i = 49; i < numHostParameters; ++i)
        EXPECT_EQ (after[(size_t) i], before[(size_t) i]) << i; // no preset value

    size_t changed = 0;
    for (int i = 0; i < numHostParameters; ++i)
    {
        const size_t expected = after[(size_t) i] != before[(size_t) i] ? 1u : 0u;
        EXPECT_EQ (automationCount (*instance, i), expected) << i;
        changed += expected;
    }
    EXPECT_EQ (automationCount (*instance, 10), 1u);
    EXPECT_EQ (automationCount (*instance, 20), 1u);
    EXPECT_EQ (automationCount (*instance), changed);

    for (const auto& report : instance->parameterReports)
    {
        if (report.opcode == audioMasterAutomate)
        {
            EXPECT_EQ (report.value, after[(size_t) report.index]) << report.index;
        }
    }

    // The host sees one program: its index selects no preset.
    EXPECT_EQ (instance->effect()->numPrograms, 1);
    EXPECT_EQ (instance->dispatch (effGetProgram), 0);
    instance->dispatch (effSetProgram, 0, 0);
    processBlock (*instance);
    EXPECT_EQ (programName (*instance), factory->getPresetName (5).toStdString());
}

TEST_F (ProductModule, AChunkRestoresEveryValueAndTheCurrentPresetInANewInstance)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    std::vector<uint8_t> chunk;
    std::vector<float> saved;

    {
        auto source = create();
        source->resume (44100.0, 64);
        programChange (*source, 9);

        for (int i = 0; i < numHostParameters; ++i)
            source->setParameter (i, static_cast<float> ((i * 37) % 101) / 101.0f);

        chunk = source->getChunk();
        saved = parameters (*source);
        source->close();
    }

    auto target = create();
    target->resume (44100.0, 64);
    programChange (*target, 3);
    target->sendEvents ({ { 0, { 0xC0, 4 } } }); // received by a block before the chunk arrives
    processBlock (*target);
    target->dispatch (effSetProgram, 0, 0); // the load order of a real host: program, chunk, resume
    EXPECT_EQ (target->setChunk (chunk), 0);
    target->resume (44100.0, 64);
    processBlock (*target);

    EXPECT_EQ (parameters (*target), saved);
    EXPECT_EQ (programName (*target), factory->getPresetName (9).toStdString());
}

TEST_F (ProductModule, BadChunksLeaveANewInstanceAsItWas)
{
    const auto factory = readFactoryBank();
    ASSERT_NE (factory, nullptr);
    std::vector<uint8_t> good;
    {
        auto source = create();
        source->resume (44100.0, 64);
        programChange (*source, 11);
        for (int i = 0; i < numHostParameters; ++i)
            source->setParameter (i, 0.75f);
        good = source->getChunk();
    }

    auto target = create();
    target->setParameter (4, 0.125f);
    const auto before = parameters (*target);
    const auto beforeChunk = target->getChunk();

    std::vector<std::vector<uint8_t>> bad;

    std::mt19937 random (7);
    std::vector<uint8_t> noise (2048);
    for (auto& byte : noise)
        byte = static_cast<uint8_t> (random());
    bad.push_back (noise);

    bad.emplace_back (good.begin(), good.begin() + static_cast<long> (good.size() / 2));

    auto wrongMagic = good;
    wrongMagic[0] ^= 0xff;
    bad.push_back (wrongMagic);

    auto wrongLength = good;
    const uint32_t longer = static_cast<uint32_t> (good.size() * 3);
    std::memcpy (wrongLength.data() + 4, &longer, 4);
    bad.push_back (wrongLength);

    const auto framed = [] (const std::string& text)
    {
        std::vector<uint8_t> chunk (8 + text.size() + 1, 0); // magic, length, the text and its NUL
        const uint8_t magic[4] = { 0x56, 0x43, 0x32, 0x21 };
        const uint32_t textSize = static_cast<uint32_t> (text.size());
        std::memcpy (chunk.data(), magic, 4);
        std::memcpy (chunk.data() + 4, &textSize, 4);
        std::memcpy (chunk.data() + 8, text.data(), text.size());
        return chunk;
    };
    bad.push_back (framed ("<?xml version=\"1.0\"?><PresetBank name=\"x\"><PresetGroup name=\"g\"/></PresetBank>"));
    // Nested deeper than any stack holds a reader's recursion.
    std::string nested;
    for (int i = 0; i < 100000; ++i)
        nested += "<a>";
    for (int i = 0; i < 100000; ++i)
        nested += "</a>";
    bad.push_back (framed (nested));

    for (size_t i = 0; i < bad.size(); ++i)
    {
        target->setChunk (bad[i]);
        EXPECT_EQ (parameters (*target), before) << "bad chunk " << i;
        EXPECT_EQ (programName (*target), factory->getPresetName (0).toStdString()) << "bad chunk " << i;
        EXPECT_EQ (target->getChunk(), beforeChunk) << "bad chunk " << i;
    }

    // The good one still loads afterwards.
    target->setChunk (good);
    EXPECT_FLOAT_EQ (target->getParameter (4), 0.75f);
    EXPECT_EQ (programName (*target), factory->getPresetName (11).toStdString());
}
} // namespace
