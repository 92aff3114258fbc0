#include "PagesTestSupport.h"

#include "editor/drummachine/OutputsSettingsComponent.h"

#include <functional>

using OutputsPage = PageTest<OutputsSettingsComponent>;

// Each choice changes the drum machine at once; an output number outside
// 1..12 changes nothing and the chooser shows what holds.
TEST_F (OutputsPage, EachChoiceSetsItsSettingAndANumberOutsideTheOutputsNothing)
{
    using Page = OutputsSettingsComponent;
    struct Case
    {
        const char* what;
        std::function<void (Page&)> choose;
        std::function<int (DrumMachine&)> read;
        std::function<int (Page&)> shown;
        int expected;
    };
    auto hiTom = [] (DrumMachine& dm) { return dm.getDefaultOutputNumber (4); };
    auto hiTomShown = [] (Page& p) { return p.getDefaultOutputChooser (4).getSelectedId(); };
    auto trigger = [] (DrumMachine& dm) { return dm.getTriggerOutOutput(); };
    auto triggerShown = [] (Page& p) { return p.getTriggerOutputChooser().getSelectedId(); };
    const Case cases[] = {
        { "Hi Tom to 13", [] (Page& p) { p.getDefaultOutputChooser (4).setSelectedId (13, true); }, hiTom, hiTomShown, 1 },
        { "Hi Tom to 0", [] (Page& p) { p.getDefaultOutputChooser (4).setSelectedId (0, true); }, hiTom, hiTomShown, 1 },
        { "Hi Tom to 7", [] (Page& p) { p.getDefaultOutputChooser (4).setSelectedId (7, true); }, hiTom, hiTomShown, 7 },
        { "trigger to 13", [] (Page& p) { p.getTriggerOutputChooser().setSelectedId (13, true); }, trigger, triggerShown, 12 },
        { "trigger to 5", [] (Page& p) { p.getTriggerOutputChooser().setSelectedId (5, true); }, trigger, triggerShown, 5 },
        { "mono outputs", [] (Page& p) { p.getOutputsTypeGroup().setSelectedIndex (1, true); },
          [] (DrumMachine& dm) { return dm.getDefaultOutputCharacteristics(); },
          [] (Page& p) { return p.getOutputsTypeGroup().getSelectedIndex(); }, DrumMachine::monoOutputs },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        c.choose (*page);
        EXPECT_EQ (c.read (*product), c.expected);
        EXPECT_EQ (c.shown (*page), c.expected);
    }
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
