// The dispatcher base on its own, with a fake host callback: what reaches the
// virtual operations, and what the host-callback wrappers make of the answers.
#include "host/AudioEffectX.h"

#include <gtest/gtest.h>

using namespace vst;
using host::AudioEffect;
using host::AudioEffectX;

namespace
{
VstIntPtr hostAnswer = 0;
VstInt32 lastHostOpcode = -1;

VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    lastHostOpcode = opcode;
    return hostAnswer;
}

struct CountingEffect : AudioEffectX
{
    CountingEffect(audioMasterCallback host, int* deletions) : AudioEffectX(host, 2, 4), deleted(deletions) {}
    ~CountingEffect() override { ++*deleted; }
    void setParameter(VstInt32 index, float value) override { lastSet = { index, value }; }
    float getParameter(VstInt32 index) override { return static_cast<float>(index) / 10.0f; }
    void setProgram(VstInt32 program) override { programs.push_back(program); }
    void close() override { closed = true; }
    std::pair<VstInt32, float> lastSet { -1, 0.0f };
    std::vector<VstInt32> programs;
    bool closed = false;
    int* deleted;
};
} // namespace

TEST(AudioEffect, RecordCallbacksReachTheObjectAndCloseDeletesIt)
{
    int deletions = 0;
    auto* effect = new CountingEffect(fakeHost, &deletions);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->uniqueID, fourCharCode("NoEf"));
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsCanReplacing);

    record->setParameter(record, 3, 0.5f);
    EXPECT_EQ(effect->lastSet, std::make_pair(3, 0.5f));
    record->setParameter(record, 4, 0.5f); // past the end
    record->setParameter(record, -1, 0.5f);
    EXPECT_EQ(effect->lastSet, std::make_pair(3, 0.5f));
    EXPECT_FLOAT_EQ(record->getParameter(record, 2), 0.2f);
    EXPECT_EQ(record->getParameter(record, -1), 0.0f);

    record->dispatcher(record, effSetProgram, 0, 1, nullptr, 0.0f);
    record->dispatcher(record, effSetProgram, 0, 2, nullptr, 0.0f);
    record->dispatcher(record, effSetProgram, 0, -1, nullptr, 0.0f);
    EXPECT_EQ(effect->programs, std::vector<VstInt32> { 1 });

    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(deletions, 1);
}

TEST(AudioEffect, CallbacksWithoutOurRecordDoNothing)
{
    AEffect foreign {};
    EXPECT_EQ(AudioEffect::fromRecord(nullptr), nullptr);
    EXPECT_EQ(AudioEffect::fromRecord(&foreign), nullptr);
}

TEST(AudioEffect, HostCallbackWrappers)
{
    int deletions = 0;
    {
        CountingEffect effect(fakeHost, &deletions);
        hostAnswer = 0;
        EXPECT_EQ(effect.getMasterVersion(), 1); // a host that answers 0 still counts as version 1
        hostAnswer = 2400;
        EXPECT_EQ(effect.getMasterVersion(), 2400);
        hostAnswer = 0;
        EXPECT_TRUE(effect.isOutputConnected(3)); // the host answers 0 for a connected pin
        hostAnswer = 1;
        EXPECT_FALSE(effect.isInputConnected(0));

        effect.setSampleRate(22050.0f);
        hostAnswer = 0;
        EXPECT_EQ(effect.updateSampleRate(), 22050.0); // no answer keeps the stored rate
        hostAnswer = 96000;
        EXPECT_EQ(effect.updateSampleRate(), 96000.0);
        EXPECT_EQ(lastHostOpcode, audioMasterGetSampleRate);
        hostAnswer = -5;
        EXPECT_EQ(effect.updateBlockSize(), 1024);
        hostAnswer = 256;
        EXPECT_EQ(effect.updateBlockSize(), 256);
        hostAnswer = 1;
        EXPECT_TRUE(effect.canHostDo("sizeWindow"));
        EXPECT_EQ(lastHostOpcode, audioMasterCanDo);
    }
    {
        CountingEffect alone(nullptr, &deletions);
        EXPECT_EQ(alone.getMasterVersion(), 1);
        EXPECT_TRUE(alone.isInputConnected(0));
        EXPECT_EQ(alone.getTimeInfo(kVstTimeInfoRequest), nullptr);
        EXPECT_FALSE(alone.sendVstEventsToHost(nullptr));
    }
    EXPECT_EQ(deletions, 2);
}

TEST(AudioEffect, TextOpcodesWithoutABufferAreIgnored)
{
    int deletions = 0;
    CountingEffect effect(fakeHost, &deletions);
    for (const VstInt32 opcode : { effGetProgramName, effSetProgramName, effGetParamLabel, effGetParamDisplay,
                                   effGetParamName, effGetChunk, effGetEffectName, effGetVendorString,
                                   effGetProductString, effCanDo, effGetMidiKeyName, effGetOutputProperties,
                                   effGetInputProperties, effGetProgramNameIndexed })
        EXPECT_EQ(effect.dispatcher(opcode, 0, 0, nullptr, 0.0f), 0) << opcode;
}
