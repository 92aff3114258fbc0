// The record layouts themselves are pinned by static_assert in the headers;
// these cases check the values a host compares against.
#include "platform/vst/Vst.h"

#include <gtest/gtest.h>

using namespace vst;

TEST(VstDefinitions, FourCharacterCodesArePackedBigEndian)
{
    EXPECT_EQ(kEffectMagic, 0x56737450);
    EXPECT_EQ(fourCharCode("Kx4P"), 0x4B783450);
    EXPECT_EQ(fourCharCode("NvEf"), 0x4E764566);
    EXPECT_EQ(fourCharCode("NoEf"), 0x4E6F4566);
}

TEST(VstDefinitions, FlagAndOpcodeValuesMatchTheFormat)
{
    EXPECT_EQ(effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth, 0x131);
    EXPECT_EQ(effFlagsNoSoundInStop, 0x200);
    EXPECT_EQ(effFlagsCanDoubleReplacing, 0x1000);
    EXPECT_EQ(effGetNumMidiOutputChannels, 79);
    EXPECT_EQ(effSetSpeakerArrangement, 42);
    EXPECT_EQ(audioMasterEndEdit, 44);
    EXPECT_EQ(kVstTimeInfoRequest, kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid
                                       | kVstTimeSigValid | kVstSmpteValid | kVstClockValid);
}
