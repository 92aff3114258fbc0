// A block rendered by the product module neither allocates nor posts a
// message, whatever the session does around it: notes on the drum map's keys,
// controllers mapped to parameters by the user's controller map, program
// changes, all-notes-off, the host's transport starting and stopping with the
// internal sequencer on, blocks longer than announced, and a parameter set
// from another thread meanwhile. Checked on a processing thread of its own
// (the host's UI thread idling at the same time) and on the thread that made
// the instance, as an offline host rendering on its UI thread does.
//
// Only the module's work is counted: the host callback below pauses both
// counts for whatever the module asks of the host (time info, automation,
// process level, events to the host: every opcode comes through it).
#include "platform/vst/Vst.h"
#include "tools/PluginModule.h"

#include "support/AllocationCounter.h"
#include "support/TemporarySettingsHome.h"
#include "VstEventList.h"
#include "WriteCounter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

using testing_support::AllocationCounter;
using testing_support::AllocationCountingPaused;
using host_tests::EventList;
using host_tests::WriteCounter;
using host_tests::WriteCountingPaused;

using namespace vst;

namespace
{
constexpr int announcedFrames = 256;
constexpr double sampleRate = 44100.0; // Hz
constexpr int numBlocks = 400;
constexpr int mappedController = 7;     // mapped to "Bass Drum Level", host parameter 0
constexpr int automatedParameter = 1;   // "Snare Drum Level", set by another thread
VstTimeInfo timeInfo {};

// The host's side; called from inside the module, so nothing counted here is the module's.
VstIntPtr host (vst::AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
    const AllocationCountingPaused allocationsPaused;
    const WriteCountingPaused writesPaused;
    VstIntPtr answer = 0;
    switch (opcode)
    {
    case audioMasterVersion: answer = kVstVersion; break;
    case audioMasterGetSampleRate: answer = static_cast<VstIntPtr> (sampleRate); break;
    case audioMasterGetBlockSize: answer = announcedFrames; break;
    case audioMasterGetCurrentProcessLevel: answer = 2; break;
    case audioMasterGetTime: answer = reinterpret_cast<VstIntPtr> (&timeInfo); break;
    case audioMasterProcessEvents: answer = ptr != nullptr ? 1 : 0; break;
    default: break;
    }
    return answer;
}

// The MIDI of block number `block`: drum-map notes, the mapped controller,
// now and then a program change, an all-notes-off, a lowest-C note.
int fillBlock (EventList& events, int block)
{
    const auto key = static_cast<unsigned char> (35 + block % 17); // the default drum map's keys
    events.addShort (0, 0x99, key, 100);
    events.addShort (60, 0x89, key, 0);
    const auto controllerValue = static_cast<unsigned char> ((block * 13) % 128);
    events.addShort (5, 0xB9, mappedController, controllerValue);
    events.addShort (9, 0xB0, 1 + block % 6, controllerValue); // unmapped ones on another channel
    if (block % 50 == 7)
        events.addShort (20, 0xC9, static_cast<unsigned char> (block / 50 % 8), 0);
    if (block % 100 == 30)
        events.addShort (30, 0x99, 12, 100);
    if (block % 100 == 60)
        events.addShort (30, 0x89, 12, 0);
    if (block % 40 == 25)
        events.addShort (40, 0xB9, 123, 0); // all notes off
    return controllerValue;
}

class ProcessingThreadQuiet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (WriteCounter::isInterposed()) << "write() is not this executable's: see CMakeLists.txt";
        writeUserSettings();

        std::string error;
        module = clihost::PluginModule::load (PULSETTA_PRODUCT_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
        effect = module->entry() (host);
        ASSERT_NE (effect, nullptr);
        dispatch (effOpen);
        dispatch (effSetSampleRate, 0, 0, nullptr, static_cast<float> (sampleRate));
        dispatch (effSetBlockSize, 0, announcedFrames);
        dispatch (effMainsChanged, 0, 1);
        outputs.assign (static_cast<size_t> (effect->numOutputs), std::vector<float> (3 * announcedFrames, 0.0f));
        for (auto& channel : outputs)
            outputPointers.push_back (channel.data());

        blocks.resize (numBlocks);
        for (int block = 0; block < numBlocks; ++block)
            lastControllerValue = fillBlock (blocks[(size_t) block], block);
        for (auto& block : blocks)
            blockEvents.push_back (block.build());

        timeInfo = {};
        timeInfo.sampleRate = sampleRate;
        timeInfo.tempo = 120.0;
        timeInfo.timeSigNumerator = 4;
        timeInfo.timeSigDenominator = 4;
    }

    void TearDown() override
    {
        if (effect != nullptr)
        {
            dispatch (effMainsChanged, 0, 0);
            dispatch (effClose);
        }
        module.reset();
    }

    // The user's settings name a controller map of their own.
    void writeUserSettings()
    {
        const auto settingsFolder = settingsHome.folder / "Kyxworks" / "Pulsetta";
        std::filesystem::create_directories (settingsFolder);
        const auto mapFile = settingsHome.folder / "mine.xrccmap";
        std::ofstream (mapFile) << "<MidiControlMap name=\"Pulsetta\">"
                                << "<assign CC=\"" << mappedController << "\" param=\"Bass Drum Level\"/>"
                                << "</MidiControlMap>\n";
        std::ofstream (settingsFolder / "Pulsetta.ini")
            << "<UserSettings application=\"Pulsetta\">"
            << "<MidiControlMap default=\"yes\" file=\"" << mapFile.string() << "\"/>"
            << "</UserSettings>\n";
    }

    VstIntPtr dispatch (VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher (effect, opcode, index, value, ptr, opt);
    }

    // Renders every block on the calling thread, counting only inside the
    // blocks, the thread's very first one included (a module's lazily made
    // thread-local storage would show there); `between` runs after each
    // block, uncounted (a host's idle).
    template <typename Between>
    void renderCounted (Between&& between)
    {
        AllocationCounter allocations;
        WriteCounter writes;
        for (int block = 0; block < numBlocks; ++block)
        {
            {
                const AllocationCountingPaused allocationsPaused;
                const WriteCountingPaused writesPaused;
                // The transport plays for 50 blocks, stops for 50; the song position follows the samples.
                const bool playing = block / 50 % 2 == 1;
                timeInfo.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid
                               | (playing ? kVstTransportPlaying : 0) | (block % 50 == 0 ? kVstTransportChanged : 0);
                timeInfo.samplePos = static_cast<double> (block) * announcedFrames;
                timeInfo.ppqPos = timeInfo.samplePos / sampleRate * timeInfo.tempo / 60.0;
            }
            // Announced size, shorter, and longer than announced (rendered in slices).
            const int frames = block % 3 == 0 ? announcedFrames : block % 3 == 1 ? 100 : 3 * announcedFrames;
            dispatch (effProcessEvents, 0, 0, blockEvents[(size_t) block]);
            effect->processReplacing (effect, nullptr, outputPointers.data(), frames);
            {
                const AllocationCountingPaused allocationsPaused;
                const WriteCountingPaused writesPaused;
                between (block);
            }
        }
        allocations.stop();
        writes.stop();
        allocationsCounted = allocations.count();
        writesCounted = writes.count();
    }

    // Another thread of the host moves a parameter until told to stop.
    std::thread startAutomation()
    {
        return std::thread ([this] {
            for (int step = 0; ! renderingDone.load(); ++step)
            {
                effect->setParameter (effect, automatedParameter, static_cast<float> (step % 100) / 100.0f);
                std::this_thread::yield();
            }
        });
    }

    void expectQuietAndPlayed()
    {
        EXPECT_EQ (allocationsCounted, 0) << "the module allocated while rendering";
        EXPECT_EQ (writesCounted, 0) << "the module posted a message (or wrote a file) while rendering";
        bool sounded = false;
        for (const auto& channel : outputs)
            for (const float sample : channel)
                sounded = sounded || sample != 0.0f;
        EXPECT_TRUE (sounded);
        // The controller map was in force: the mapped parameter holds the last value sent.
        EXPECT_NEAR (effect->getParameter (effect, 0), static_cast<float> (lastControllerValue) / 127.0f, 1.0e-3f);
    }

    testing_support::TemporarySettingsHome settingsHome { "pulsetta-quiet-" };
    std::unique_ptr<clihost::PluginModule> module;
    vst::AEffect* effect = nullptr;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> outputPointers;
    std::vector<EventList> blocks;
    std::vector<VstEvents*> blockEvents;
    int lastControllerValue = 0;
    std::atomic<bool> renderingDone { false };
    long allocationsCounted = -1;
    long writesCounted = -1;
};
} // namespace

TEST_F (ProcessingThreadQuiet, OnAProcessingThreadOfItsOwn)
{
    std::thread automation = startAutomation();
    std::thread processing ([this] {
        renderCounted ([] (int) {});
        renderingDone = true;
    });
    // Meanwhile the UI thread idles, which runs the module's messages and its poll.
    while (! renderingDone.load())
    {
        dispatch (effEditIdle);
        std::this_thread::yield();
    }
    processing.join();
    automation.join();
    expectQuietAndPlayed();
}

TEST_F (ProcessingThreadQuiet, OnTheThreadThatMadeTheInstance)
{
    std::thread automation = startAutomation();
    // An offline host rendering on its UI thread, idling between blocks.
    renderCounted ([this] (int block) {
        if (block % 4 == 0)
            dispatch (effEditIdle);
    });
    renderingDone = true;
    automation.join();
    expectQuietAndPlayed();
}
