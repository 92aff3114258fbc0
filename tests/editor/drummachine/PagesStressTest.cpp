// The pages switch the sequencer and the trigger-out on the message thread
// while a host's audio thread renders blocks through the binding, with notes
// coming in and pads echoing out. Run under the sanitizer build, it shows
// that what the pages hand to the audio side never races a block.
#include "tests/drummachine/processor/DrumMachineTestSupport.h"
#include "tests/host/VstEventList.h"

#include "drummachine/product/Pulsetta.h"
#include "editor/drummachine/OutputsSettingsComponent.h"
#include "editor/drummachine/SequencerSettingsComponent.h"
#include "host/JuceVSTWrapper.h"
#include "support/MessageLoop.h"

#include <atomic>
#include <thread>

namespace
{
constexpr int blockSize = 256; // frames

vst::VstIntPtr fakeHost (vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    switch (opcode)
    {
        case vst::audioMasterVersion: return vst::kVstVersion;
        case vst::audioMasterGetSampleRate: return 48000;
        case vst::audioMasterGetBlockSize: return blockSize;
        default: return 0;
    }
}
} // namespace

using PagesStress = DrumMachineTest;

TEST_F (PagesStress, PagesSwitchTheSequencerAndTriggerOutWhileTheHostRenders)
{
    auto* made = dynamic_cast<HostedProcessor*> (BasePlugin::startUp (std::make_unique<Pulsetta>()));
    ASSERT_NE (made, nullptr);
    auto& product = dynamic_cast<Pulsetta&> (*made);
    host::JuceVSTWrapper binding (fakeHost, std::unique_ptr<HostedProcessor> (made));
    binding.dispatcher (vst::effOpen, 0, 0, nullptr, 0.0f);
    binding.dispatcher (vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    binding.dispatcher (vst::effSetBlockSize, 0, blockSize, nullptr, 0.0f);
    binding.dispatcher (vst::effMainsChanged, 0, 1, nullptr, 0.0f);

    SequencerSettingsComponent sequencerPage (product);
    OutputsSettingsComponent outputsPage (product);
    juce::Component editor;
    editor.setSize (620, 420);
    for (juce::Component* page : { (juce::Component*) &sequencerPage, (juce::Component*) &outputsPage })
    {
        editor.addAndMakeVisible (page);
        page->setBounds (editor.getLocalBounds());
    }

    // Each block brings a note, a drum key or a pattern key by turns.
    std::vector<host_tests::EventList> notes (24);
    std::vector<vst::VstEvents*> noteEvents;
    for (int i = 0; i < (int) notes.size(); ++i)
    {
        notes[(size_t) i].addShort ((i * 37) % blockSize, 0x90, (unsigned char) (30 + i), 100);
        noteEvents.push_back (notes[(size_t) i].build());
    }

    std::atomic<bool> done { false };
    std::atomic<long> blocks { 0 };
    std::thread audio ([&] {
        std::vector<std::vector<float>> channels ((size_t) product.getNumHostOutputChannels(), std::vector<float> (blockSize));
        std::vector<float*> outputs;
        for (auto& channel : channels)
            outputs.push_back (channel.data());
        for (long i = 0; ! done.load(); ++i)
        {
            binding.dispatcher (vst::effProcessEvents, 0, 0, noteEvents[(size_t) i % noteEvents.size()], 0.0f);
            binding.processReplacing (nullptr, outputs.data(), blockSize);
            blocks = i + 1;
        }
    });

    auto& sequencerBox = sequencerPage.getCurrentBox (SequencerSettingsComponent::internalSequencerSwitch);
    for (int round = 0; round < 1500; ++round)
    {
        sequencerBox.setToggleState (! sequencerBox.getToggleState(), juce::sendNotification);
        outputsPage.getTriggerSourceChooser().setSelectedId (round % 4 == 0 ? OutputsSettingsComponent::noTriggerSource : round % 12, true);
        outputsPage.getTriggerOutputChooser().setSelectedId (1 + round % 12, true);
        product.queuePadTrigger (round % 11, 1.0f);
        if (round % 40 == 0)
        {
            product.requestStart();
            testing_support::runPendingMessages();
        }

        // The next change lands on another block.
        const long seen = blocks.load();
        while (blocks.load() == seen)
            std::this_thread::yield();
    }

    done = true;
    audio.join();
    testing_support::runPendingMessages();
    EXPECT_EQ (product.isInternalSequencerOn(), sequencerBox.getToggleState());
    EXPECT_EQ (product.getTriggerOutInstrument(), 1499 % 12);
    EXPECT_EQ (product.getTriggerOutOutput(), 1 + 1499 % 12);
    EXPECT_GE (blocks.load(), 1500);
}
