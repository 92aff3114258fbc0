#include "PagesTestSupport.h"

#include "editor/drummachine/OutputsSettingsComponent.h"

using OutputsPage = PageTest<OutputsSettingsComponent>;

// Each choice changes the drum machine at once; an output number outside
// 1..12 changes nothing and the chooser shows what holds.
TEST_F (OutputsPage, EachChoiceSetsItsSettingAndANumberOutsideTheOutputsNothing)
{
    const struct
    {
        bool trigger; // the trigger's output, else the hi tom's default one
        int id, expected;
    } cases[] = { { false, 13, 1 }, { false, 0, 1 }, { false, 7, 7 }, { true, 13, 12 }, { true, 5, 5 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id);
        auto& chooser = c.trigger ? page->getTriggerOutputChooser() : page->getDefaultOutputChooser (4);
        chooser.setSelectedId (c.id, true);
        EXPECT_EQ (c.trigger ? product->getTriggerOutOutput() : product->getDefaultOutputNumber (4), c.expected);
        EXPECT_EQ (chooser.getSelectedId(), c.expected);
    }

    page->getOutputsTypeGroup().setSelectedIndex (1, true);
    EXPECT_EQ (product->getDefaultOutputCharacteristics(), DrumMachine::monoOutputs);
    EXPECT_EQ (product->getOutputCharacteristics(), DrumMachine::stereoOutputs); // this instance keeps its outputs
}

TEST_F (OutputsPage, SetFromCurrentAssignationsCopiesAllElevenInOneStep)
{
    for (int i = 0; i < DrumMachine::numInstruments; ++i)
        product->setOutputNumber (i, 12 - i);

    click (page->getSetFromCurrentButton());

    for (int i = 0; i < DrumMachine::numInstruments; ++i)
    {
        EXPECT_EQ (product->getDefaultOutputNumber (i), 12 - i);
        EXPECT_EQ (page->getDefaultOutputChooser (i).getSelectedId(), 12 - i);
    }
}

// The pulse of the chosen source comes out of the chosen output (stereo
// pair 12: channels 22 and 23); " - None - " silences it and keeps the
// instrument for when it comes back.
TEST_F (OutputsPage, TheSourceSwitchesThePulseAndNoneKeepsTheInstrument)
{
    prepare (*product);
    auto snareHitGivesAPulse = [this]
    {
        product->queuePadTrigger (1, 1.0f);
        run (*product, 4096);
        return ! isSilent (audio, 22) && ! isSilent (audio, 23);
    };
    page->getTriggerOutputChooser().setSelectedId (12, true);

    page->getTriggerSourceChooser().setSelectedId (1, true);
    EXPECT_TRUE (product->isTriggerOutEnabled());
    EXPECT_TRUE (snareHitGivesAPulse());

    page->getTriggerSourceChooser().setSelectedId (OutputsSettingsComponent::noTriggerSource, true);
    EXPECT_FALSE (product->isTriggerOutEnabled());
    EXPECT_EQ (product->getTriggerOutInstrument(), 1);
    EXPECT_FALSE (snareHitGivesAPulse());
}

TEST_F (OutputsPage, ShowsARestoredState)
{
    product->setTriggerOut (true, 6, 3);
    juce::MemoryBlock song;
    product->getStateInformation (song);
    product->setTriggerOut (false, 0, 12);
    page->updateFromProcessor();

    product->setStateInformation (song.getData(), (int) song.getSize());
    testing_support::runPendingMessages();

    EXPECT_EQ (page->getTriggerSourceChooser().getSelectedId(), 6);
    EXPECT_EQ (page->getTriggerOutputChooser().getSelectedId(), 3);
}
