// Audio and MIDI through the module: sample offsets, MIDI back, suspension,
// aliased and missing buffers, blocks longer than announced, bypass, idle.
#include "TestModule.h"

#include "tools/Player.h"

#include <atomic>
#include <thread>

using namespace vst;
using clihost::MidiEventIn;
using testmodule::expectedSample;
using testmodule::Outputs;
using testmodule::reportLines;

namespace
{
clihost::Script script(const std::string& text)
{
    clihost::Script parsed;
    std::string error;
    EXPECT_TRUE(clihost::Script::parse(text, 48000.0, parsed, error)) << error;
    return parsed;
}

clihost::PlaySettings playSettings(int blockSize, int64_t lengthFrames)
{
    clihost::PlaySettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = blockSize;
    settings.lengthFrames = lengthFrames;
    return settings;
}
} // namespace

TEST(ModuleAudio, MidiReachesTheProcessorAtItsFrameAcrossBlocksAndComesBackAfterItsBlock)
{
    auto module = testmodule::load();
    auto instance = testmodule::create(*module);
    // Notes on the first and last frame of a block, on a block boundary, and equal positions in order.
    const auto rendering = clihost::play(*instance, script("at 0 note 1 36 100\nat 511 note 1 38 90\n"
                                                           "at 512 note 10 40 80\nat 700 midi F0 7D 01 02 F7\n"
                                                           "at 1000 cc 1 1 5\nat 1000 off 1 36\n"
                                                           "at 2047 note 1 42 1\n"),
                                         playSettings(512, 2048));
    EXPECT_EQ(reportLines(*instance, "midi"),
              (std::vector<std::string> { "midi 0 90 24 64", "midi 511 90 26 5a", "midi 512 99 28 50",
                                          "midi 700 f0 7d 1 2 f7", "midi 1000 b0 1 5", "midi 1000 80 24 0",
                                          "midi 2047 90 2a 1" }));
    for (int channel = 0; channel < 12; ++channel)
        for (long long frame : { 0LL, 511LL, 512LL, 1999LL, 2047LL })
            EXPECT_EQ(rendering.outputs[static_cast<size_t>(channel)][static_cast<size_t>(frame)],
                      expectedSample(channel, frame));

    // The processor echoes note-ons a key higher, and sysex as it came.
    ASSERT_EQ(rendering.midi.size(), 5u);
    std::vector<std::pair<int64_t, int>> frames;
    for (const auto& sent : rendering.midi)
        frames.emplace_back(sent.frame, sent.deltaFrames);
    EXPECT_EQ(frames, (std::vector<std::pair<int64_t, int>> { { 0, 0 }, { 511, 511 }, { 512, 0 }, { 700, 188 },
                                                               { 2047, 511 } }));
    EXPECT_EQ(rendering.midi[2].type, kVstMidiType);
    EXPECT_EQ(rendering.midi[2].byteSize, 32);
    EXPECT_EQ(rendering.midi[2].bytes, (std::vector<uint8_t> { 0x99, 41, 80, 0 }));
    EXPECT_EQ(rendering.midi[3].type, kVstSysExType);
    EXPECT_EQ(rendering.midi[3].byteSize, 48);
    EXPECT_EQ(rendering.midi[3].bytes, (std::vector<uint8_t> { 0xF0, 0x7D, 1, 2, 0xF7 }));
    EXPECT_EQ(instance->hostCalls[audioMasterProcessEvents], 3); // only blocks that had something to send
}

TEST(ModuleAudio, NullAndBrokenEventsAreSkipped)
{
    testmodule::Resumed instance(128);
    VstMidiEvent good { kVstMidiType, sizeof(VstMidiEvent), 5, 0, 0, 0, { char(0x90), 50, 60, 0 }, 0, 0, 0, 0 };
    char bytes[3] = { char(0xF0), 1, char(0xF7) };
    VstMidiSysexEvent noDump { kVstSysExType, sizeof(VstMidiSysexEvent), 0, 0, 10, 0, nullptr, 0 };
    VstMidiSysexEvent negativeSize { kVstSysExType, sizeof(VstMidiSysexEvent), 0, 0, -3, 0, bytes, 0 };
    VstEvent unknown {};
    unknown.type = 99;
    struct
    {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[5];
    } list { 5, 0, { nullptr, reinterpret_cast<VstEvent*>(&noDump), reinterpret_cast<VstEvent*>(&negativeSize), &unknown,
                     reinterpret_cast<VstEvent*>(&good) } };
    EXPECT_EQ(instance->dispatch(effProcessEvents, 0, 0, &list), 1);
    Outputs out(128);
    instance->process(nullptr, out.pointers.data(), 128);
    EXPECT_EQ(reportLines(*instance, "midi"), (std::vector<std::string> { "midi 5 90 32 3c" }));
}

TEST(ModuleAudio, SilenceWhileSuspendedAndLeftoverMidiStillGoesOut)
{
    testmodule::Resumed instance;
    instance->setParameter(83, 1.0f); // the recording processor suspends itself
    instance->sendEvents({ MidiEventIn { 3, { 0x90, 36, 100 } } });
    Outputs out(64);
    instance->process(nullptr, out.pointers.data(), 64);
    EXPECT_TRUE(out.silent());
    EXPECT_TRUE(reportLines(*instance, "block").empty());
    ASSERT_EQ(instance->sentMidi.size(), 1u);
    EXPECT_EQ(instance->sentMidi[0].deltaFrames, 3);

    instance->setParameter(83, 0.0f);
    instance->process(nullptr, out.pointers.data(), 64);
    EXPECT_EQ(out.storage[2][10], expectedSample(2, 10));
}

TEST(ModuleAudio, ABlockLongerThanAnnouncedWithAliasedAndMissingOutputsIsRenderedInSlicesWithItsMidi)
{
    testmodule::Resumed instance(100);
    constexpr int frames = 1050; // ten and a half times the announced block
    Outputs out(frames);
    // The host hands the same buffer for outputs 2, 6 and 8 (the later channel wins), and none for output 5.
    out.pointers[5] = out.pointers[1];
    out.pointers[7] = out.pointers[1];
    out.pointers[4] = nullptr;
    instance->sendEvents({ MidiEventIn { 0, { 0x90, 1, 1 } }, MidiEventIn { 150, { 0x90, 2, 2 } },
                           MidiEventIn { 1049, { 0x90, 3, 3 } }, MidiEventIn { 1200, { 0x90, 4, 4 } } });
    instance->process(nullptr, out.pointers.data(), frames);
    for (int frame = 0; frame < frames; ++frame)
        for (const auto& [output, channel] : { std::pair { 0, 0 }, { 1, 7 }, { 3, 3 }, { 11, 11 } })
            ASSERT_EQ(out.storage[static_cast<size_t>(output)][static_cast<size_t>(frame)],
                      expectedSample(channel, frame))
                << "output " << output << " frame " << frame;
    EXPECT_EQ(out.storage[5][0], -7.0f); // not handed to the plug-in at all
    const auto blocks = reportLines(*instance, "block");
    ASSERT_EQ(blocks.size(), 11u);
    EXPECT_EQ(blocks.front(), "block 100 channels 12");
    EXPECT_EQ(blocks.back(), "block 50 channels 12");
    // An event past the block's end stays with the last slice, where the processor sees it.
    EXPECT_EQ(reportLines(*instance, "midi"), (std::vector<std::string> { "midi 0 90 1 1", "midi 150 90 2 2",
                                                                          "midi 1049 90 3 3", "midi 1200 90 4 4" }));
    std::vector<int> echoed;
    for (const auto& sent : instance->sentMidi)
        echoed.push_back(sent.deltaFrames);
    EXPECT_EQ(echoed, (std::vector<int> { 0, 150, 1049, 1200 }));

    instance->process(nullptr, nullptr, 32); // no outputs at all
    EXPECT_EQ(reportLines(*instance, "block").size(), 12u);
}

TEST(ModuleAudio, AHostThatSkipsResumeFindsTheProcessorPreparedAtOpen)
{
    auto module = testmodule::load();
    clihost::HostSettings settings;
    settings.sampleRate = 96000.0;
    settings.blockSize = 64;
    settings.processLevel = 4; // offline
    auto instance = testmodule::create(*module, settings);
    // Prepared on the UI thread at open, and again when the announced block size changes.
    instance->dispatch(effSetBlockSize, 0, 64); // unchanged: nothing to do
    instance->dispatch(effSetBlockSize, 0, 32);
    EXPECT_EQ(reportLines(*instance, "prepared"), (std::vector<std::string> { "prepared 96000 64", "prepared 96000 32" }));
    EXPECT_EQ(testmodule::reportValue(*instance, "nonrealtime"), "1");

    Outputs out(64);
    instance->process(nullptr, out.pointers.data(), 64);
    EXPECT_EQ(out.storage[0][63], expectedSample(0, 63));
    EXPECT_EQ(reportLines(*instance, "prepared").size(), 2u); // the audio thread prepares nothing

    // After a suspend the host must resume: until then blocks are silent and events go nowhere.
    instance->suspend();
    instance->sendEvents({ MidiEventIn { 3, { 0x90, 36, 100 } } });
    Outputs after(64);
    instance->process(nullptr, after.pointers.data(), 64);
    EXPECT_TRUE(after.silent());
    EXPECT_EQ(reportLines(*instance, "block").size(), 2u); // the 64 frames before, in two slices of 32
    EXPECT_TRUE(instance->sentMidi.empty());
    instance->dispatch(effSetBlockSize, 0, 128); // announced while suspended: prepared by the next resume
    EXPECT_EQ(reportLines(*instance, "prepared").size(), 2u);
}

TEST(ModuleAudio, SuspendAndResumeWhileTheAudioThreadProcessesNeitherHangsNorMixesBuffers)
{
    // Run under the sanitizer build too: nothing may read freed memory. Both threads run a bounded count.
    testmodule::Resumed instance;
    std::atomic<bool> audioDone { false };
    std::atomic<int> blocksDone { 0 };
    std::thread audio([&] {
        Outputs out(200);
        for (int block = 0; block < 3000; ++block)
        {
            instance->sendEvents({ MidiEventIn { 5, { 0x90, 40, 90 } } });
            // Longer than prepared every other block, so the sliced path races the suspend too.
            const int frames = block % 2 == 0 ? 200 : 64;
            for (auto& channel : out.storage)
                channel.assign(channel.size(), -7.0f);
            instance->process(nullptr, out.pointers.data(), frames);
            ASSERT_NE(out.storage[0][0], -7.0f) << "a block left the host's output untouched";
            ++blocksDone;
        }
        audioDone = true;
    });
    for (int cycles = 0; cycles < 300 || (!audioDone && blocksDone < 100 && cycles < 100000); ++cycles)
    {
        instance->suspend();
        instance->resume(44100.0, cycles % 2 == 0 ? 64 : 100);
    }
    audio.join();
    EXPECT_EQ(blocksDone, 3000);
    EXPECT_LE(instance->sentMidi.size(), 3000u); // at most one echo per block, none from a silent one

    // Under load every racing block may have met a suspended binding; once the
    // host has resumed for good, blocks render again.
    Outputs out(200);
    instance->sendEvents({ MidiEventIn { 5, { 0x90, 40, 90 } } });
    instance->process(nullptr, out.pointers.data(), 100);
    EXPECT_FALSE(out.storage[0][0] == 0.0f && out.storage[0][99] == 0.0f) << "the binding stayed silent after resuming";
}

TEST(ModuleAudio, ThousandsOfEventsInOneBlockStopAtTheBlocksRoomAndOverlongSysexIsDropped)
{
    testmodule::Resumed instance(512);
    std::vector<MidiEventIn> events;
    std::vector<uint8_t> smallDump { 0xF0, 0x7D, 0x10, 0x20, 0xF7 };
    std::vector<uint8_t> bigDump(100000, 0x11);
    bigDump.front() = 0xF0;
    bigDump.back() = 0xF7;
    events.push_back({ 0, smallDump });
    events.push_back({ 1, bigDump });
    for (int i = 0; i < 10000; ++i)
        events.push_back({ 2 + i % 500, { 0x90, static_cast<uint8_t>(i % 128), 100 } });
    instance->sendEvents(events);
    Outputs out(512);
    instance->process(nullptr, out.pointers.data(), 512);

    const auto seen = reportLines(*instance, "midi");
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "midi 0 f0 7d 10 20 f7");
    // The first 8192 events (the small dump and 8191 notes) reach the processor; the rest and the
    // 100000-byte dump are dropped.
    EXPECT_EQ(seen.size(), 8192u);
    for (const auto& line : seen)
        ASSERT_LT(line.size(), 40u) << "the big dump reached the processor";
    // The processor's echoes all go back: the outgoing list has room for them.
    ASSERT_EQ(instance->sentMidi.size(), 8192u);
    EXPECT_EQ(instance->sentMidi.front().type, kVstSysExType);
    EXPECT_EQ(instance->sentMidi.front().bytes, smallDump);

    // The next block has its whole room again.
    instance->sendEvents({ MidiEventIn { 7, { 0x90, 36, 100 } } });
    instance->process(nullptr, out.pointers.data(), 512);
    EXPECT_EQ(reportLines(*instance, "midi").back(), "midi 519 90 24 64");
}

TEST(ModuleAudio, BypassClearsTheOutputsAndCallsTheBypassedBlock)
{
    testmodule::Resumed instance;
    EXPECT_EQ(instance->dispatch(effSetBypass, 0, 1), 1);
    Outputs out(64);
    instance->process(nullptr, out.pointers.data(), 64);
    EXPECT_EQ(testmodule::reportValue(*instance, "bypassed"), "64 0");
    EXPECT_EQ(out.storage[11][0], 0.0f);
    instance->dispatch(effSetBypass, 0, 0);
    instance->process(nullptr, out.pointers.data(), 64);
    EXPECT_EQ(out.storage[11][0], expectedSample(11, 64));
}

TEST(ModuleAudio, ControllerChangesFromTheProcessorReachTheHostAsAutomation)
{
    testmodule::Resumed instance;
    instance->sendEvents({ MidiEventIn { 0, { 0xB0, 7, 127 } } });
    Outputs out(64);
    instance->process(nullptr, out.pointers.data(), 64);
    ASSERT_EQ(instance->parameterReports.size(), 3u);
    EXPECT_EQ(instance->parameterReports[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(instance->parameterReports[1].opcode, audioMasterAutomate);
    EXPECT_EQ(instance->parameterReports[1].index, 0);
    EXPECT_FLOAT_EQ(instance->parameterReports[1].value, 1.0f);
    EXPECT_EQ(instance->parameterReports[2].opcode, audioMasterEndEdit);
}

TEST(ModuleAudio, IdleCallsRunTheMessageQueue)
{
    testmodule::Resumed instance; // the processor posts a deferred update when prepared
    EXPECT_EQ(testmodule::reportValue(*instance, "async"), "0");
    instance->idle();
    EXPECT_EQ(testmodule::reportValue(*instance, "async"), "1");
    instance->resume(44100.0, 64);
    instance->dispatch(effIdle);
    EXPECT_EQ(testmodule::reportValue(*instance, "async"), "2");

    // A renamed program reaches the host at once; the pin change it implies waits for the idle call.
    instance->dispatch(effSetProgramName, 0, 0, const_cast<char*>("Renamed"));
    EXPECT_EQ(instance->hostCalls[audioMasterUpdateDisplay], 1);
    EXPECT_EQ(instance->hostCalls[audioMasterIOChanged], 0);
    instance->idle();
    EXPECT_EQ(instance->hostCalls[audioMasterIOChanged], 1);
}

TEST(ModuleAudio, HostCallsFromTheUiThreadWhileTheAudioThreadProcesses)
{
    // Run under the sanitizer build to be meaningful: nothing may crash, leak or read freed memory.
    testmodule::Resumed instance(128);
    const auto state = instance->getChunk();
    std::atomic<bool> done { false };
    std::atomic<int> uiRounds { 0 };
    int blocks = 0;
    std::thread audio([&] {
        Outputs out(300);
        // At least 400 blocks, and on until the UI thread has really overlapped
        // with them: under load either thread can finish before the other starts.
        for (int block = 0; block < 400 || (uiRounds < 20 && block < 400000); ++block)
        {
            instance->sendEvents({ MidiEventIn { block % 128, { 0x90, 36, 100 } } });
            instance->process(nullptr, out.pointers.data(), block % 3 == 0 ? 300 : 128, block * 128LL);
            blocks = block + 1;
        }
        done = true;
    });
    while (!done)
    {
        const int round = uiRounds;
        instance->setParameter(round % 80, 0.5f);
        instance->getParameter(round % 80);
        instance->parameterText(effGetParamDisplay, round % 80);
        instance->setChunk(state);
        void* kept = nullptr;
        const auto size = instance->dispatch(effGetChunk, 0, 0, &kept);
        instance->dispatch(effSetChunk, 0, size, kept);
        instance->idle();
        ++uiRounds;
    }
    audio.join();
    EXPECT_GE(uiRounds, 20);
    EXPECT_EQ(instance->sentMidi.size(), static_cast<size_t>(blocks)); // one echo per block's note
}
