#include "PagesTestSupport.h"

#include "editor/drummachine/SequencerSettingsComponent.h"

#include <functional>

using SequencerPage = PageTest<SequencerSettingsComponent>;
using Switch = SequencerSettingsComponent::Switch;

namespace
{
// The eight switches, current then default, in panel order.
std::vector<bool> switchesOf (DrumMachine& dm)
{
    const auto d = dm.getSequencerDefaults();
    return { dm.isInternalSequencerOn(), dm.isInternalSyncOn(), dm.isHostMode(), dm.isNoteOffMode(),
             d.intSeq, d.intSync, d.hostMode, d.noteOff };
}
} // namespace

// A click flips its switch at once and the box shows it. The sequencer's own
// boxes come last: they disable the others.
TEST_F (SequencerPage, EachBoxFlipsItsSwitch)
{
    for (const int slot : { 1, 2, 3, 0, 5, 6, 7, 4 })
    {
        SCOPED_TRACE (slot);
        auto& box = slot < 4 ? page->getCurrentBox ((Switch) slot) : page->getDefaultBox ((Switch) (slot - 4));
        const bool before = switchesOf (*product)[(size_t) slot];
        click (box);
        EXPECT_EQ (switchesOf (*product)[(size_t) slot], ! before);
        EXPECT_EQ (box.getToggleState(), ! before);
    }

    page->getPlayDetectionGroup().setSelectedIndex (1, true);
    EXPECT_EQ (product->getHostPlayDetection(), DrumMachine::byLowestCNoteOn);
}

TEST_F (SequencerPage, WithTheSequencerOffItsSwitchesAreDisabledAndClicksChangeNothing)
{
    click (page->getCurrentBox (SequencerSettingsComponent::internalSequencerSwitch));
    click (page->getDefaultBox (SequencerSettingsComponent::internalSequencerSwitch));
    const auto switches = switchesOf (*product);
    ASSERT_FALSE (switches[0]);
    ASSERT_FALSE (switches[4]);

    for (int i = SequencerSettingsComponent::internalClockSwitch; i < SequencerSettingsComponent::numSwitches; ++i)
    {
        for (auto* box : { &page->getCurrentBox ((Switch) i), &page->getDefaultBox ((Switch) i) })
        {
            SCOPED_TRACE (box->getButtonText());
            EXPECT_FALSE (box->isEnabled());
            const bool shown = box->getToggleState();
            click (*box);
            EXPECT_EQ (switchesOf (*product), switches);
            EXPECT_EQ (box->getToggleState(), shown);
        }
    }
}

// The front panel's toggles reach the boxes through the state parameters.
TEST_F (SequencerPage, FollowsTheFrontPanel)
{
    auto& sequencer = page->getCurrentBox (SequencerSettingsComponent::internalSequencerSwitch);
    auto& hostMode = page->getCurrentBox (SequencerSettingsComponent::hostModeSwitch);

    product->handleEvent (3000); // "Toggle Internal Sequencer"
    testing_support::runPendingMessages();
    EXPECT_FALSE (sequencer.getToggleState());
    EXPECT_FALSE (hostMode.isEnabled());

    product->handleEvent (3000);
    product->handleEvent (3002); // "Toggle Host Mode"
    testing_support::runPendingMessages();
    EXPECT_TRUE (sequencer.getToggleState());
    EXPECT_TRUE (hostMode.isEnabled());
    EXPECT_TRUE (hostMode.getToggleState());
}

// Switching the sequencer off releases the notes it echoed, at the first
// sample of the next block (never from the page, while a block may run).
TEST_F (SequencerPage, SwitchingTheSequencerOffReleasesItsEchoedNotesAtTheNextBlock)
{
    prepare (*product);
    product->queuePadTrigger (0, 1.0f); // the bass drum, echoed on its keys 35 and 36
    ASSERT_EQ (run (*product, 256), (std::vector<EchoNote> { { 0, 0x90, 35, 127 }, { 0, 0x90, 36, 127 } }));

    click (page->getCurrentBox (SequencerSettingsComponent::internalSequencerSwitch));
    EXPECT_EQ (run (*product, 256), (std::vector<EchoNote> { { 0, 0x80, 35, 0 }, { 0, 0x80, 36, 0 } }));
}
