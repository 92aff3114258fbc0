// The module's entry, record, life cycle and dispatcher answers, through the command-line host.
#include "TestModule.h"

#include <dlfcn.h>

using namespace vst;

TEST(ModuleRecord, DescribesTheInstrument)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    const AEffect* effect = instance->effect();
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->uniqueID, 0x4B783450); // "Kx4P"
    EXPECT_EQ(effect->version, 0x10602);
    // Editor (the processor has one), replacing, chunks, synth; never "no sound in stop", no doubles.
    EXPECT_EQ(effect->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth);
    EXPECT_EQ(effect->numInputs, 0);
    EXPECT_EQ(effect->numOutputs, 12);
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 84);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_FLOAT_EQ(effect->ioRatio, 1.0f);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_EQ(instance->productText(effGetEffectName), "Pulsetta");
    EXPECT_EQ(instance->productText(effGetProductString), "Pulsetta");
    EXPECT_EQ(instance->productText(effGetVendorString), "Kyxworks Audio Software");
}

TEST(ModuleRecord, AHostAnsweringVersionZeroGetsNothingAndNothingIsConstructed)
{
    auto module = testmodule::load();
    auto first = testmodule::create(*module);
    const auto constructedBefore = std::stoi(testmodule::reportValue(*first, "constructed"));

    clihost::HostSettings refusing;
    refusing.version = 0;
    std::string error;
    EXPECT_EQ(clihost::PluginInstance::create(*module, refusing, error), nullptr);

    auto second = testmodule::create(*module);
    EXPECT_EQ(std::stoi(testmodule::reportValue(*second, "constructed")), constructedBefore + 1);
    EXPECT_EQ(testmodule::reportValue(*second, "live"), "2");
}

TEST(ModuleRecord, AHostAnsweringNoRateOrBlockSizeGetsAnInstancePreparedAtDefaults)
{
    auto module = testmodule::load();
    clihost::HostSettings unhelpful;
    unhelpful.sampleRate = 0.0;
    unhelpful.blockSize = -5;
    auto instance = testmodule::create(*module, unhelpful);
    EXPECT_EQ(testmodule::reportValue(*instance, "prepared"), "44100 1024");
}

TEST(ModuleRecord, TwoInstancesShareOneMessageManagerKeepTheirOwnStateAndCloseApart)
{
    auto module = testmodule::load();
    auto a = testmodule::create(*module);
    auto b = testmodule::create(*module);
    EXPECT_NE(a->effect(), b->effect());
    EXPECT_EQ(testmodule::reportValue(*a, "messageManager"), testmodule::reportValue(*b, "messageManager"));
    EXPECT_NE(testmodule::reportValue(*a, "messageManager"), "0");
    a->setParameter(3, 0.25f);
    b->setParameter(3, 0.75f);
    EXPECT_FLOAT_EQ(a->getParameter(3), 0.25f);
    EXPECT_FLOAT_EQ(b->getParameter(3), 0.75f);
    EXPECT_EQ(a->close(), 1);
    EXPECT_EQ(testmodule::reportValue(*b, "live"), "1"); // the closed one's processor is deleted
    // The library stays usable for the remaining instance, and a new one can join it.
    auto c = testmodule::create(*module);
    EXPECT_EQ(testmodule::reportValue(*c, "live"), "2");
}

TEST(ModuleRecord, TenLoadInstantiateCloseUnloadCyclesUnloadTheModule)
{
    for (int cycle = 0; cycle < 10; ++cycle)
    {
        auto module = testmodule::load();
        auto instance = testmodule::create(*module);
        testmodule::Outputs out(64);
        instance->resume(48000.0, 64);
        instance->process(nullptr, out.pointers.data(), 64);
        instance->idle();
        EXPECT_EQ(instance->close(), 1);
        instance.reset();
        module.reset();
        // Nothing of the module stays mapped (no unique symbols pinning it).
        EXPECT_EQ(dlopen(testmodule::path(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "cycle " << cycle;
    }
}

TEST(ModuleDispatcher, Answers)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    struct Case
    {
        VstInt32 opcode;
        VstIntPtr value, answer;
    };
    for (const auto& c : { Case { effIdentify, 7, 0x4E764566 }, Case { effGetPlugCategory, 0, kPlugCategSynth },
                           Case { effGetVstVersion, 0, 2400 }, Case { effGetVendorVersion, 0, 0x10602 },
                           Case { effGetCurrentMidiProgram, 0, -1 }, Case { effSetTotalSampleToProcess, 12345, 12345 },
                           Case { effGetTailSize, 0, 0 }, Case { effSetBypass, 0, 1 },
                           Case { effGetNumMidiInputChannels, 0, 0 }, Case { effGetNumMidiOutputChannels, 0, 0 },
                           // Without a host window nothing opens; keys are not taken.
                           Case { effEditOpen, 0, 0 }, Case { effEditIdle, 0, 0 }, Case { effEditKeyDown, 1, 0 },
                           Case { effEditKeyUp, 1, 0 }, Case { effSetEditKnob, 2, 0 }, Case { effEditClose, 0, 0 },
                           Case { effOpen, 0, 0 } })
        EXPECT_EQ(p.dispatch(c.opcode, 5, c.value), c.answer) << "opcode " << c.opcode;
    VstSpeakerArrangement dummy {};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(p.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);

    const auto canDo = [&](const char* text) { return p.dispatch(effCanDo, 0, 0, const_cast<char*>(text)); };
    for (const char* yes : { "receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents",
                             "sendVstMidiEvent", "sendVstMidiEvents", "receiveVstTimeInfo", "conformsToWindowRules",
                             "bypass" })
        EXPECT_EQ(canDo(yes), 1) << yes;
    EXPECT_EQ(canDo("openCloseAnyThread"), -1);
    for (const char* no : { "sizeWindow", "ReceiveVstEvents", "" }) // exact names only
        EXPECT_EQ(canDo(no), 0) << no;
}

TEST(ModuleDispatcher, UnknownAndNegativeOpcodesAndMissingBuffersAnswerZeroAndChangeNothing)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    instance->setParameter(0, 0.5f);
    const auto stateBefore = instance->getChunk();
    char buffer[256] = "untouched";
    for (const VstInt32 opcode : { 9, 16, 20, 28, 36, 46, 53, 80, 81, 1000, -1, -2, -1000, 0x7fffffff })
        EXPECT_EQ(instance->dispatch(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
    EXPECT_STREQ(buffer, "untouched");
    for (const VstInt32 opcode : { effGetProgramName, effSetProgramName, effGetParamLabel, effGetParamDisplay,
                                   effGetParamName, effGetChunk, effSetChunk, effGetEffectName, effGetVendorString,
                                   effGetProductString, effCanDo, effGetMidiKeyName, effGetOutputProperties,
                                   effGetInputProperties, effGetProgramNameIndexed, effProcessEvents, effEditGetRect,
                                   effString2Parameter })
        EXPECT_EQ(instance->dispatch(opcode, 0, 100, nullptr), 0) << "opcode " << opcode << " without a buffer";
    EXPECT_EQ(instance->getChunk(), stateBefore);
}

TEST(ModuleDispatcher, ParameterAndProgramIndexesOutOfRangeAreRefused)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    p.setParameter(0, 0.5f);
    EXPECT_EQ(p.parameterText(effGetParamName, 0), "Param 1");
    EXPECT_EQ(p.parameterText(effGetParamDisplay, 0), "0.500");
    EXPECT_EQ(p.parameterText(effGetParamLabel, 0), "dB");
    EXPECT_EQ(p.parameterText(effGetParamName, 83), "Param 84");
    EXPECT_EQ(p.dispatch(effCanBeAutomated, 0), 1);
    for (const int index : { -1, 84, -2147483647 - 1 })
    {
        EXPECT_EQ(p.parameterText(effGetParamName, index), "") << index;
        EXPECT_EQ(p.parameterText(effGetParamDisplay, index), "") << index;
        EXPECT_EQ(p.dispatch(effCanBeAutomated, index), 0) << index;
        p.setParameter(index, 1.0f);
        EXPECT_EQ(p.getParameter(index), 0.0f) << index;
    }
    EXPECT_EQ(testmodule::reportValue(p, "refused"), "0"); // no bad index reached the processor

    char name[64] = {};
    EXPECT_EQ(p.dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "Default");
    for (const int index : { -1, 1, 1000 })
    {
        EXPECT_EQ(p.dispatch(effGetProgramNameIndexed, index, 0, name), 0) << index;
        p.dispatch(effSetProgram, 0, index);
    }
    EXPECT_TRUE(testmodule::reportLines(p, "program").empty());
    p.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(testmodule::reportLines(p, "program").size(), 1u);
    p.dispatch(effSetProgramName, 0, 0, const_cast<char*>("Kit with a rather long name, longer than 24"));
    p.dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Kit with a rather long n");
}

TEST(ModuleDispatcher, PinsKeyNamesAndSpeakerArrangements)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    VstPinProperties pin {};
    EXPECT_EQ(p.dispatch(effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "XR1");
    EXPECT_STREQ(pin.shortLabel, "XR1");
    EXPECT_EQ(pin.flags, kVstPinIsActive);
    for (const int index : { 12, -1 })
        EXPECT_EQ(p.dispatch(effGetOutputProperties, index, 0, &pin), 0) << index;
    EXPECT_EQ(p.dispatch(effGetInputProperties, 0, 0, &pin), 0);

    MidiKeyName key {};
    key.thisKeyNumber = 36;
    EXPECT_EQ(p.dispatch(effGetMidiKeyName, 0, 0, &key), 1);
    EXPECT_STREQ(key.keyName, "Bass Drum");
    key.thisKeyNumber = -5;
    EXPECT_EQ(p.dispatch(effGetMidiKeyName, 0, 0, &key), 1);
    EXPECT_STREQ(key.keyName, "");

    // The instance's own output count is accepted (as any arrangement type); anything else is refused.
    VstSpeakerArrangement none {}, twelve {}, stereo {};
    none.type = kSpeakerArrEmpty;
    twelve.type = kSpeakerArrUserDefined;
    twelve.numChannels = 12;
    stereo.type = kSpeakerArrStereo;
    stereo.numChannels = 2;
    const auto arrange = [&](VstSpeakerArrangement* in, VstSpeakerArrangement* out) {
        return p.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(in), out);
    };
    EXPECT_EQ(arrange(&none, &stereo), 0);
    EXPECT_EQ(arrange(&stereo, &twelve), 0);
    EXPECT_EQ(arrange(&none, nullptr), 0);
    EXPECT_EQ(arrange(nullptr, &twelve), 1); // no input arrangement: no input channels
    EXPECT_EQ(arrange(&none, &twelve), 1);
    EXPECT_EQ(testmodule::reportValue(p, "arrangement"), "\"\" \"\"");
    twelve.type = 28;
    EXPECT_EQ(arrange(&none, &twelve), 1);
    EXPECT_EQ(testmodule::reportValue(p, "arrangement"), "\"\" \"L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2\"");
    EXPECT_EQ(p.dispatch(effGetOutputProperties, 11, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kVstPinUseSpeaker);
    EXPECT_EQ(pin.arrangementType, 28);
}
