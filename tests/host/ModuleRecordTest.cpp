// The module's entry, record, life cycle and dispatcher answers, through the command-line host.
#include "TestModule.h"

#include <dlfcn.h>

using namespace vst;
using clihost::HostSettings;

TEST(ModuleRecord, ExportsOnlyTheEntryAndDescribesTheInstrument)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    const AEffect* effect = instance->effect();
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->uniqueID, 0x4B783450); // "Kx4P"
    EXPECT_EQ(effect->version, 0x10602);
    // Replacing, chunks, synth; no editor (the processor has none), never "no sound in stop", no doubles.
    EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth);
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

    HostSettings refusing;
    refusing.version = 0;
    std::string error;
    EXPECT_EQ(clihost::PluginInstance::create(*module, refusing, error), nullptr);

    auto second = testmodule::create(*module);
    EXPECT_EQ(std::stoi(testmodule::reportValue(*second, "constructed")), constructedBefore + 1);
    EXPECT_EQ(testmodule::reportValue(*second, "live"), "2");
}

TEST(ModuleRecord, TwoInstancesShareOneMessageManagerAndKeepTheirOwnState)
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
    EXPECT_EQ(testmodule::reportValue(*b, "live"), "1");
    // The library stays usable for the remaining instance, and a new one can join it.
    auto c = testmodule::create(*module);
    EXPECT_EQ(testmodule::reportValue(*c, "live"), "2");
}

TEST(ModuleRecord, CloseAnswersOneAndDeletesTheProcessor)
{
    auto module = testmodule::load();
    auto watcher = testmodule::create(*module);
    auto closing = testmodule::create(*module);
    EXPECT_EQ(testmodule::reportValue(*watcher, "live"), "2");
    EXPECT_EQ(closing->close(), 1);
    EXPECT_EQ(testmodule::reportValue(*watcher, "live"), "1");
}

TEST(ModuleRecord, TenLoadInstantiateCloseUnloadCyclesUnloadTheModule)
{
    for (int cycle = 0; cycle < 10; ++cycle)
    {
        auto module = testmodule::load();
        auto instance = testmodule::create(*module);
        std::vector<float> out(12 * 64);
        std::vector<float*> outputs;
        for (int c = 0; c < 12; ++c)
            outputs.push_back(out.data() + c * 64);
        instance->resume(48000.0, 64);
        instance->process(nullptr, outputs.data(), 64);
        instance->idle();
        EXPECT_EQ(instance->close(), 1);
        instance.reset();
        module.reset();
        // Nothing of the module stays mapped (no unique symbols pinning it).
        EXPECT_EQ(dlopen(testmodule::path(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "cycle " << cycle;
    }
}

TEST(ModuleDispatcher, FixedAnswers)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    EXPECT_EQ(p.dispatch(effIdentify, 5, 7), 0x4E764566);
    EXPECT_EQ(p.dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(p.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(p.dispatch(effGetVendorVersion), 0x10602);
    EXPECT_EQ(p.dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(p.dispatch(effSetTotalSampleToProcess, 0, 12345), 12345);
    EXPECT_EQ(p.dispatch(effGetTailSize), 0);
    EXPECT_EQ(p.dispatch(effSetBypass, 0, 0), 1);
    EXPECT_EQ(p.dispatch(effGetNumMidiInputChannels), 0);
    EXPECT_EQ(p.dispatch(effGetNumMidiOutputChannels), 0);
    EXPECT_EQ(p.dispatch(effProcessEvents, 0, 0, nullptr), 0);
    VstSpeakerArrangement dummy {};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(p.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST(ModuleDispatcher, UnknownAndNegativeOpcodesAnswerZeroAndChangeNothing)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    instance->setParameter(0, 0.5f);
    const auto stateBefore = instance->getChunk();
    char buffer[256] = "untouched";
    for (const VstInt32 opcode : { 9, 16, 20, 28, 36, 46, 53, 80, 81, 1000, -1, -2, -1000, 0x7fffffff })
        EXPECT_EQ(instance->dispatch(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(instance->getChunk(), stateBefore);
}

TEST(ModuleDispatcher, CanDoAnswersExactly)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    const auto canDo = [&](const char* text) { return instance->dispatch(effCanDo, 0, 0, const_cast<char*>(text)); };
    for (const char* yes : { "receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents",
                             "sendVstMidiEvent", "sendVstMidiEvents", "receiveVstTimeInfo", "conformsToWindowRules",
                             "bypass" })
        EXPECT_EQ(canDo(yes), 1) << yes;
    EXPECT_EQ(canDo("openCloseAnyThread"), -1);
    EXPECT_EQ(canDo("sizeWindow"), 0);
    EXPECT_EQ(canDo("ReceiveVstEvents"), 0);
    EXPECT_EQ(canDo(""), 0);
    EXPECT_EQ(instance->dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(ModuleDispatcher, EditorOpcodesAnswerAsWithoutAnEditor)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    ERect sentinel {};
    ERect* rect = &sentinel;
    EXPECT_EQ(instance->dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    EXPECT_EQ(instance->dispatch(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(instance->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    EXPECT_EQ(instance->dispatch(effEditKeyDown, 'a', 1, nullptr, 0.0f), 0);
    EXPECT_EQ(instance->dispatch(effEditKeyUp, 'a', 1, nullptr, 0.0f), 0);
    EXPECT_EQ(instance->dispatch(effSetEditKnob, 0, 2), 0);
    EXPECT_EQ(instance->dispatch(effEditClose), 0);
    EXPECT_EQ(instance->dispatch(effOpen), 0);
    EXPECT_EQ(instance->effect()->flags & effFlagsHasEditor, 0);
}

TEST(ModuleDispatcher, ParameterTextsAndIndexesOutOfRange)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    p.setParameter(0, 0.5f);
    EXPECT_EQ(p.parameterText(effGetParamName, 0), "Param 1");
    EXPECT_EQ(p.parameterText(effGetParamDisplay, 0), "0.500");
    EXPECT_EQ(p.parameterText(effGetParamLabel, 0), "dB");
    EXPECT_EQ(p.parameterText(effGetParamName, 83), "Param 84");
    for (const int index : { -1, 84, -2147483647 - 1 })
    {
        EXPECT_EQ(p.parameterText(effGetParamName, index), "") << index;
        EXPECT_EQ(p.parameterText(effGetParamDisplay, index), "") << index;
        EXPECT_EQ(p.dispatch(effCanBeAutomated, index), 0) << index;
        p.setParameter(index, 1.0f);
        EXPECT_EQ(p.getParameter(index), 0.0f) << index;
    }
    EXPECT_EQ(p.dispatch(effCanBeAutomated, 0), 1);
    EXPECT_EQ(p.dispatch(effGetParamName, 0, 0, nullptr), 0);
    EXPECT_EQ(testmodule::reportValue(p, "refused"), "0"); // no bad index reached the processor
}

TEST(ModuleDispatcher, ProgramsRefuseIndexesOutOfRange)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    auto& p = *instance;
    char name[64] = {};
    EXPECT_EQ(p.dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "Default");
    for (const int index : { -1, 1, 1000 })
    {
        EXPECT_EQ(p.dispatch(effGetProgramNameIndexed, index, 0, name), 0);
        p.dispatch(effSetProgram, 0, index);
    }
    EXPECT_TRUE(testmodule::reportLines(p, "program").empty());
    p.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(testmodule::reportLines(p, "program").size(), 1u);
    EXPECT_EQ(p.dispatch(effGetProgram), 0);
    p.dispatch(effSetProgramName, 0, 0, const_cast<char*>("Kit with a rather long name, longer than 24"));
    p.dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Kit with a rather long n");
    p.dispatch(effSetProgramName, 0, 0, nullptr);
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
    EXPECT_EQ(p.dispatch(effGetOutputProperties, 12, 0, &pin), 0);
    EXPECT_EQ(p.dispatch(effGetOutputProperties, -1, 0, &pin), 0);
    EXPECT_EQ(p.dispatch(effGetOutputProperties, 0, 0, nullptr), 0);
    EXPECT_EQ(p.dispatch(effGetInputProperties, 0, 0, &pin), 0);

    MidiKeyName key {};
    key.thisKeyNumber = 36;
    EXPECT_EQ(p.dispatch(effGetMidiKeyName, 0, 0, &key), 1);
    EXPECT_STREQ(key.keyName, "Bass Drum");
    key.thisKeyNumber = -5;
    EXPECT_EQ(p.dispatch(effGetMidiKeyName, 0, 0, &key), 1);
    EXPECT_STREQ(key.keyName, "");

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
    EXPECT_EQ(testmodule::reportValue(p, "arrangement"), "\"\" \"\"");
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
